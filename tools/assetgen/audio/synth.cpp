#include "tools/assetgen/audio/synth.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace synth {

uint32_t Random::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float Random::Unit() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }

float Random::Signed() { return Unit() * 2.0f - 1.0f; }

double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double DecibelsToGain(double decibels) { return std::pow(10.0, decibels / 20.0); }

// Folded onto a quarter wave, then the Taylor series of sin u up to u^11.
double SineOfCycles(double x) {
  static constexpr double kTerms[] = {-1.0 / 39916800, 1.0 / 362880, -1.0 / 5040, 1.0 / 120, -1.0 / 6, 1.0};
  x -= std::floor(x + 0.5);  // -0.5 .. 0.5
  if (x > 0.25) x = 0.5 - x;
  if (x < -0.25) x = -0.5 - x;
  const double u = kTwoPi * x;
  double sum = 0.0;
  for (double term : kTerms) sum = sum * u * u + term;
  return u * sum;
}

namespace {

// Correction around a waveform's jump; t and dt in cycles.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Advance(double& phase, double hz) {
  const double dt = hz / kSampleRate;
  phase += dt;
  phase -= std::floor(phase);
  return dt;
}

}  // namespace

float Oscillator::Saw(double hz) {
  const double t = phase;
  const double dt = Advance(phase, hz);
  return static_cast<float>(2.0 * t - 1.0 - PolyBlep(t, dt));
}

float Oscillator::Pulse(double hz, double width) {
  const double t = phase;
  const double dt = Advance(phase, hz);
  double falling = t + 1.0 - width;
  falling -= std::floor(falling);
  const double value = (t < width ? 1.0 : -1.0) + PolyBlep(t, dt) - PolyBlep(falling, dt);
  return static_cast<float>(value);
}

float Oscillator::Sine(double hz, double modulation) {
  const double t = phase;
  Advance(phase, hz);
  return static_cast<float>(SineOfCycles(t + modulation / kTwoPi));
}

float Oscillator::Triangle(double hz) {
  const double t = phase;
  Advance(phase, hz);
  return static_cast<float>(t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t);
}

void Filter::SetUp(double cutoffHz, double resonance) {
  cutoff_ = cutoffHz;
  resonance_ = resonance;
  const double g = std::tan(kPi * std::clamp(cutoffHz, 10.0, 0.45 * kSampleRate) / kSampleRate);
  k_ = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
  a1_ = 1.0 / (1.0 + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

Filter::Output Filter::Process(float input, double cutoffHz, double resonance) {
  if (cutoffHz != cutoff_ || resonance != resonance_) SetUp(cutoffHz, resonance);
  const double v3 = input - ic2_;
  const double v1 = a1_ * ic1_ + a2_ * v3;
  const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = static_cast<float>(2.0 * v1 - ic1_);
  ic2_ = static_cast<float>(2.0 * v2 - ic2_);
  return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(input - k_ * v1 - v2)};
}

double Envelope::LevelAt(double t, double gate) const {
  if (t < 0.0) return 0.0;
  auto held = [this](double u) {
    if (u < attack) return u / attack;
    return sustain + (1.0 - sustain) * std::exp(-(u - attack) / decay);
  };
  if (t < gate) return held(t);
  const double end = ReleaseEnd(gate);
  if (t >= end) return 0.0;
  const double since = t - gate;
  return held(gate) * std::exp(-since / release) * (1.0 - since / (end - gate));
}

float Peak(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  return peak;
}

namespace {

void Scale(std::vector<float>& samples, float factor) {
  for (float& s : samples) s *= factor;
}

}  // namespace

void NormalisePeak(std::vector<float>& samples, float peak) {
  const float current = Peak(samples);
  if (current > 0.0f) Scale(samples, peak / current);
}

void NormalisePeak(StereoBuffer& buffer, float peak) {
  const float current = std::max(Peak(buffer.left), Peak(buffer.right));
  if (current <= 0.0f) return;
  Scale(buffer.left, peak / current);
  Scale(buffer.right, peak / current);
}

int16_t ToPcm16(float sample) {
  const float scaled = std::round(sample * 32767.0f);
  return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

bool WriteBinaryFile(const std::string& path, const std::string& bytes) {
  std::error_code error;
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::string JoinPath(const std::string& baseDir, const std::string& relative) {
  if (baseDir.empty()) return relative;
  return baseDir.back() == '/' ? baseDir + relative : baseDir + "/" + relative;
}

}  // namespace synth
