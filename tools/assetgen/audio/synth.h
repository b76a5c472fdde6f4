#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Building blocks of the generator's sound: a seeded random source,
// band-limited oscillators, a state-variable filter, envelopes and the
// buffers everything is mixed into. Nothing here reads the clock or any
// global state, so a render gives the same samples on every run.
namespace synth {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// xorshift32: a fixed sequence for a fixed seed, unlike std:: distributions
// whose output differs between library versions.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
  uint32_t Next();
  float Unit();    // [0, 1)
  float Signed();  // [-1, 1)

 private:
  uint32_t state_;
};

double MidiToHz(double note);
double DecibelsToGain(double decibels);
// sin(2 pi cycles), within 1e-7 of std::sin and several times faster; the
// synthesis spends much of its time on sines.
double SineOfCycles(double cycles);

// Phase-accumulating oscillator; phase is in cycles [0, 1). The saw and
// pulse are band-limited with polyBLEP so high notes do not alias.
struct Oscillator {
  double phase = 0.0;
  float Saw(double hz);
  float Pulse(double hz, double width);
  // modulation: phase offset in radians (phase modulation, as in FM bells).
  float Sine(double hz, double modulation = 0.0);
  float Triangle(double hz);
};

// Topology-preserving state-variable filter (trapezoidal integration): stays
// stable while its cutoff moves every sample.
struct Filter {
  struct Output {
    float low, band, high;
  };
  // resonance 0 (none) .. just under 1 (self-oscillation).
  Output Process(float input, double cutoffHz, double resonance);

 private:
  void SetUp(double cutoffHz, double resonance);
  float ic1_ = 0.0f;
  float ic2_ = 0.0f;
  // Coefficients of the last cutoff and resonance; most filters keep theirs,
  // so they are only worked out again when either changes.
  double cutoff_ = -1.0;
  double resonance_ = -1.0;
  double k_ = 0.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
};

// Attack, exponential decay to sustain while the gate is held, exponential
// release after it, faded to exactly zero at ReleaseEnd so a note never ends
// on a step. Times in seconds.
struct Envelope {
  double attack = 0.005;
  double decay = 0.1;
  double sustain = 1.0;
  double release = 0.1;
  double LevelAt(double t, double gate) const;
  double ReleaseEnd(double gate) const { return gate + 4.0 * release; }
};

// Short linear fade-in that keeps percussive onsets from clicking.
inline double OnsetRamp(double t, double seconds = 0.001) { return t >= seconds ? 1.0 : t / seconds; }

struct StereoBuffer {
  std::vector<float> left;
  std::vector<float> right;
  explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
  size_t Frames() const { return left.size(); }
};

float Peak(const std::vector<float>& samples);
// Scales so the largest magnitude becomes `peak` (linear). Silence stays.
void NormalisePeak(std::vector<float>& samples, float peak);
void NormalisePeak(StereoBuffer& buffer, float peak);

// Rounds to 16-bit, clamping anything past full scale.
int16_t ToPcm16(float sample);

// Writes bytes to path, creating missing parent folders. False on failure.
bool WriteBinaryFile(const std::string& path, const std::string& bytes);
// Joins the base folder (with or without a trailing "/") and a relative path.
std::string JoinPath(const std::string& baseDir, const std::string& relative);

}  // namespace synth
