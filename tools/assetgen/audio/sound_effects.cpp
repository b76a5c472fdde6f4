#include "tools/assetgen/audio/sound_effects.h"

#include <cmath>

#include "tools/assetgen/audio/audio_assets.h"
#include "tools/assetgen/audio/event_sounds.h"
#include "tools/assetgen/audio/synth.h"
#include "tools/assetgen/audio/wav_file.h"

namespace synth {
namespace {

const float kEffectPeak = static_cast<float>(DecibelsToGain(-1.0));
// The thrust is steady where the others are short bursts; it sits a little
// lower so held thrust does not drown the shots.
const float kThrustPeak = static_cast<float>(DecibelsToGain(-3.0));

int Frames(double seconds) { return static_cast<int>(seconds * kSampleRate); }

// Runs a filter over a periodic signal twice and keeps the second pass, so the
// filter's state at the end matches what it had at the start.
template <typename Step>
std::vector<float> FilterCircular(const std::vector<float>& input, Step step) {
  std::vector<float> output(input.size());
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < input.size(); ++i) output[i] = step(input[i]);
  }
  return output;
}

}  // namespace

// A bright pulse falling from about 2.5 kHz to 300 Hz, with a fifth above it
// for bite; short enough to finish before the next shot at the fastest rate.
std::vector<float> RenderLaserShot() {
  const int frames = Frames(0.22);
  std::vector<float> out(frames);
  Oscillator body;
  Oscillator fifth;
  Filter tone;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double hz = 300.0 + 2200.0 * std::exp(-t / 0.04);
    const double width = 0.5 - 0.3 * std::exp(-t / 0.05);
    const float raw = body.Pulse(hz, width) + 0.45f * fifth.Saw(hz * 1.5);
    const double cutoff = 1400.0 + 6000.0 * std::exp(-t / 0.05);
    const float filtered = tone.Process(raw, cutoff, 0.35).low;
    const double fade = 1.0 - static_cast<double>(i) / frames;
    out[i] = static_cast<float>(filtered * OnsetRamp(t) * std::exp(-t / 0.07) * fade);
  }
  NormalisePeak(out, kEffectPeak);
  return out;
}

// Low rumble (filtered noise) throbbing at 8 Hz over a 50 Hz hum, plus a
// little exhaust hiss. Every periodic part completes whole cycles in the
// loop and the noise is filtered circularly.
std::vector<float> RenderThrustLoop() {
  const int frames = kThrustLoopFrames;
  Random random(0x7e57a11u);
  std::vector<float> noise(frames);
  for (float& s : noise) s = random.Signed();

  Filter rumbleFilter;
  const std::vector<float> rumble =
      FilterCircular(noise, [&](float x) { return rumbleFilter.Process(x, 170.0, 0.25).low; });
  Filter hissFilter;
  const std::vector<float> hiss =
      FilterCircular(noise, [&](float x) { return hissFilter.Process(x, 900.0, 0.3).band; });

  std::vector<float> out(frames);
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double throb = 1.0 + 0.3 * std::sin(kTwoPi * 8.0 * t);
    const double hum = std::sin(kTwoPi * 50.0 * t) + 0.5 * std::sin(kTwoPi * 100.0 * t + 0.7) +
                       0.25 * std::sin(kTwoPi * 150.0 * t + 1.9);
    out[i] = static_cast<float>(3.0 * rumble[i] * throb + 0.12 * hum * throb + 0.35 * hiss[i]);
  }
  NormalisePeak(out, kThrustPeak);
  return out;
}

// A falling sub boom, a noise blast whose filter closes as it fades, and
// crackling debris grains that thin out over the tail.
std::vector<float> RenderExplosion() {
  const int frames = Frames(1.8);
  Random random(0xb00b5u);
  std::vector<float> out(frames, 0.0f);

  Oscillator boom;
  Filter blastFilter;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double boomHz = 35.0 + 70.0 * std::exp(-t / 0.15);
    const double boomLevel = OnsetRamp(t, 0.002) * std::exp(-t / 0.35);
    const double cutoff = 180.0 + 5000.0 * std::exp(-t / 0.3);
    const float blast = blastFilter.Process(random.Signed(), cutoff, 0.1).low;
    const double blastLevel = OnsetRamp(t, 0.003) * std::exp(-t / 0.5);
    out[i] = static_cast<float>(0.9 * boom.Sine(boomHz) * boomLevel + 1.4 * blast * blastLevel);
  }

  for (int grain = 0; grain < 70; ++grain) {
    const double u = random.Unit();
    const double start = 0.05 + 1.4 * u * u;
    const double length = 0.005 + 0.02 * random.Unit();
    const double centre = 900.0 + 3500.0 * random.Unit();
    const double level = 0.5 * std::exp(-start / 0.6) * (0.5 + random.Unit());
    Filter grainFilter;
    const int first = Frames(start);
    const int count = Frames(length);
    for (int j = 0; j < count && first + j < frames; ++j) {
      const double t = static_cast<double>(j) / kSampleRate;
      const float x = grainFilter.Process(random.Signed(), centre, 0.5).band;
      out[first + j] += static_cast<float>(x * level * OnsetRamp(t) * std::exp(-t / (length * 0.4)));
    }
  }

  for (int i = 0; i < frames; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / frames;
    out[i] = static_cast<float>(std::tanh(1.5 * out[i]) * fade);
  }
  NormalisePeak(out, kEffectPeak);
  return out;
}

}  // namespace synth

bool WriteSoundEffects(const std::string& baseDir) {
  using namespace synth;
  const std::string folder = JoinPath(baseDir, "sound/ship/");
  return WriteMonoWav(folder + "SS_shot-laser3.wav", RenderLaserShot(), kSampleRate) &&
         WriteMonoWav(folder + "thrust.wav", RenderThrustLoop(), kSampleRate) &&
         WriteMonoWav(folder + "SS_explosion-debris.wav", RenderExplosion(), kSampleRate) &&
         WriteEventSounds(baseDir);
}
