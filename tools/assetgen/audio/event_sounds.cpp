#include "tools/assetgen/audio/event_sounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "tools/assetgen/audio/synth.h"
#include "tools/assetgen/audio/wav_file.h"

namespace synth {
namespace {

int Frames(double seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

double TimeOf(int frame) { return static_cast<double>(frame) / kSampleRate; }

// Brings the last fifth of a sound down to exactly zero, so a sound cut at
// its length never ends on a step.
double EndFade(int frame, int frames) {
  const double left = static_cast<double>(frames - 1 - frame) / (0.2 * frames);
  return std::min(1.0, left);
}

void FadeOut(std::vector<float>& out) {
  const int frames = static_cast<int>(out.size());
  for (int i = 0; i < frames; ++i) out[i] = static_cast<float>(out[i] * EndFade(i, frames));
}

// A struck bar: a sine phase-modulated at an inharmonic ratio, the
// modulation dying faster than the tone so the strike is bright and the
// ring is pure. Adds into out from startFrame.
void AddBell(std::vector<float>& out, double startSeconds, double hz, double ratio, double index,
             double decay, double level) {
  Oscillator carrier;
  Oscillator modulator;
  for (int i = Frames(startSeconds); i < static_cast<int>(out.size()); ++i) {
    const double t = TimeOf(i) - startSeconds;
    const double depth = index * std::exp(-t / (0.3 * decay));
    const double body = carrier.Sine(hz, depth * modulator.Sine(hz * ratio));
    out[i] += static_cast<float>(level * body * OnsetRamp(t, 0.002) * std::exp(-t / decay));
  }
}

// A filtered noise burst, its filter closing from openHz to closedHz.
void AddNoiseBurst(std::vector<float>& out, Random& random, double startSeconds, double openHz,
                   double closedHz, double closeTime, double decay, double level, bool bandPass) {
  Filter filter;
  for (int i = Frames(startSeconds); i < static_cast<int>(out.size()); ++i) {
    const double t = TimeOf(i) - startSeconds;
    const double cutoff = closedHz + (openHz - closedHz) * std::exp(-t / closeTime);
    const Filter::Output o = filter.Process(random.Signed(), cutoff, 0.3);
    const float x = bandPass ? o.band : o.low;
    out[i] += static_cast<float>(level * x * OnsetRamp(t, 0.001) * std::exp(-t / decay));
  }
}

// A sine thump whose pitch falls from highHz to lowHz.
void AddThump(std::vector<float>& out, double highHz, double lowHz, double fall, double decay,
              double level) {
  Oscillator boom;
  for (int i = 0; i < static_cast<int>(out.size()); ++i) {
    const double t = TimeOf(i);
    const double hz = lowHz + (highHz - lowHz) * std::exp(-t / fall);
    out[i] +=
        static_cast<float>(level * boom.Sine(hz) * OnsetRamp(t, 0.002) * std::exp(-t / decay));
  }
}

// A heavy low boom under a dark blast with a little rock debris.
std::vector<float> RenderBreakLarge(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0x1a46e5u);
  AddThump(out, 110, 32, 0.12, 0.32, 1.0);
  AddNoiseBurst(out, random, 0, 3500, 140, 0.12, 0.3, 1.6, false);
  for (int grain = 0; grain < 14; ++grain) {
    const double start = 0.03 + 0.5 * random.Unit();
    AddNoiseBurst(out, random, start, 1800 + 1500 * random.Unit(), 600, 0.02, 0.012,
                  0.5 * std::exp(-start / 0.3), true);
  }
  for (float& s : out) s = static_cast<float>(std::tanh(1.4 * s));
  FadeOut(out);
  return out;
}

// A sharp crack with a short thump behind it.
std::vector<float> RenderBreakMedium(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0x3ed1u);
  AddNoiseBurst(out, random, 0, 6000, 900, 0.03, 0.06, 2.2, true);
  AddThump(out, 180, 70, 0.04, 0.12, 0.7);
  AddNoiseBurst(out, random, 0.01, 1200, 250, 0.08, 0.15, 0.8, false);
  for (float& s : out) s = static_cast<float>(std::tanh(1.2 * s));
  FadeOut(out);
  return out;
}

// A short pop: a falling blip and a click of noise.
std::vector<float> RenderBreakSmall(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0x5a11u);
  AddThump(out, 520, 160, 0.015, 0.035, 1.0);
  AddNoiseBurst(out, random, 0, 7000, 2500, 0.01, 0.012, 1.5, true);
  FadeOut(out);
  return out;
}

// A clang on a huge metal-veined rock: inharmonic bells over a knock.
std::vector<float> RenderFinalHit(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0xf1a7u);
  AddBell(out, 0, 311, 1.414, 3.0, 0.22, 0.8);
  AddBell(out, 0, 587, 2.76, 2.0, 0.14, 0.45);
  AddBell(out, 0, 1243, 1.17, 1.5, 0.08, 0.25);
  AddThump(out, 150, 60, 0.03, 0.09, 0.8);
  AddNoiseBurst(out, random, 0, 5000, 1500, 0.01, 0.02, 1.0, true);
  FadeOut(out);
  return out;
}

// A long collapse: a sub rumble sinking away, dark noise that surges three
// times as parts give way, and a trickle of falling rubble.
std::vector<float> RenderFinalCollapse(double seconds) {
  const int frames = Frames(seconds);
  std::vector<float> out(frames, 0.0f);
  Random random(0xc011a95eu);
  Oscillator sub;
  Filter rumble;
  for (int i = 0; i < frames; ++i) {
    const double t = TimeOf(i);
    double surge = 0.0;
    for (double at : {0.0, 0.9, 1.7}) {
      if (t >= at) surge += OnsetRamp(t - at, 0.01) * std::exp(-(t - at) / 0.6);
    }
    const double cutoff = 120.0 + 1200.0 * std::exp(-t / 0.8);
    const float noise = rumble.Process(random.Signed(), cutoff, 0.2).low;
    const double hz = 22.0 + 48.0 * std::exp(-t / 1.2);
    const double subLevel = OnsetRamp(t, 0.005) * std::exp(-t / 1.4);
    out[i] = static_cast<float>(2.2 * noise * (0.25 + surge) + 0.7 * sub.Sine(hz) * subLevel);
  }
  for (int grain = 0; grain < 60; ++grain) {
    const double u = random.Unit();
    const double start = 0.1 + 2.6 * u;
    AddNoiseBurst(out, random, start, 900 + 2200 * random.Unit(), 400, 0.02, 0.015,
                  0.35 * std::exp(-start / 1.5), true);
  }
  for (float& s : out) s = static_cast<float>(std::tanh(1.3 * s));
  FadeOut(out);
  return out;
}

// A soft rising shimmer of high partials with a quick tremolo.
std::vector<float> RenderPowerUpAppear(double seconds) {
  const int frames = Frames(seconds);
  std::vector<float> out(frames, 0.0f);
  Oscillator partials[4];
  const double ratios[4] = {1.0, 1.5, 2.0, 2.52};
  for (int i = 0; i < frames; ++i) {
    const double t = TimeOf(i);
    const double base = 1100.0 + 500.0 * (t / seconds);
    const double swell = std::sin(kPi * std::min(1.0, t / seconds)) * (1.0 - std::exp(-t / 0.05));
    const double tremolo = 0.75 + 0.25 * std::sin(kTwoPi * 14.0 * t);
    double sum = 0.0;
    for (int p = 0; p < 4; ++p) sum += partials[p].Sine(base * ratios[p]) / (1.0 + p);
    out[i] = static_cast<float>(sum * swell * tremolo);
  }
  FadeOut(out);
  return out;
}

// Two or three bell notes a short step apart; each kind its own notes and
// timbre, so the player hears which one he took.
std::vector<float> RenderChime(double seconds, std::initializer_list<double> notes, double ratio,
                               double index) {
  std::vector<float> out(Frames(seconds), 0.0f);
  double start = 0.0;
  for (double note : notes) {
    AddBell(out, start, MidiToHz(note), ratio, index, 0.16, 0.6);
    start += 0.07;
  }
  FadeOut(out);
  return out;
}

std::vector<float> RenderPickUpShield(double s) { return RenderChime(s, {72, 79}, 1.0, 1.2); }
std::vector<float> RenderPickUpLongRange(double s) {
  return RenderChime(s, {76, 83, 88}, 2.0, 1.0);
}
std::vector<float> RenderPickUpSpread(double s) { return RenderChime(s, {74, 78, 81}, 3.0, 1.6); }
std::vector<float> RenderPickUpStarburst(double s) {
  return RenderChime(s, {79, 86, 91}, 3.5, 2.4);
}

// A triangle falling two octaves with a slight wobble: the power is gone.
std::vector<float> RenderPowerUpRunsOut(double seconds) {
  const int frames = Frames(seconds);
  std::vector<float> out(frames, 0.0f);
  Oscillator tone;
  Filter soften;
  for (int i = 0; i < frames; ++i) {
    const double t = TimeOf(i);
    const double hz =
        880.0 * std::pow(0.25, t / seconds) * (1.0 + 0.02 * std::sin(kTwoPi * 9.0 * t));
    const float x = soften.Process(tone.Triangle(hz), 2500.0, 0.1).low;
    out[i] = static_cast<float>(x * OnsetRamp(t, 0.005) * std::exp(-t / 0.5));
  }
  FadeOut(out);
  return out;
}

// A quick bright pulse arpeggio up two octaves, its last note held.
std::vector<float> RenderExtraLife(double seconds) {
  const int frames = Frames(seconds);
  std::vector<float> out(frames, 0.0f);
  const double notes[] = {72, 76, 79, 84, 88};
  constexpr double kStep = 0.09;
  Oscillator pulse;
  Filter tone;
  for (int i = 0; i < frames; ++i) {
    const double t = TimeOf(i);
    const int index = std::min(4, static_cast<int>(t / kStep));
    const double since = t - index * kStep;
    const double hz = MidiToHz(notes[index]);
    const double decay = index == 4 ? 0.35 : 0.06;
    const float raw = pulse.Pulse(hz, 0.25) + 0.3f * static_cast<float>(SineOfCycles(2 * hz * t));
    const float x = tone.Process(raw, 4500.0, 0.2).low;
    out[i] =
        static_cast<float>(x * OnsetRamp(since, 0.003) * (0.3 + 0.7 * std::exp(-since / decay)) *
                           (index == 4 ? std::exp(-since / 0.4) : 1.0));
  }
  FadeOut(out);
  return out;
}

// Brass-like saws: three quick pickup notes, then a held major chord.
std::vector<float> RenderLevelFanfare(double seconds) {
  const int frames = Frames(seconds);
  std::vector<float> out(frames, 0.0f);
  struct Voice {
    double start, note, gate;
  };
  const Voice voices[] = {{0.0, 67, 0.12}, {0.14, 67, 0.12}, {0.28, 67, 0.12}, {0.42, 72, 1.0},
                          {0.42, 76, 1.0}, {0.42, 79, 1.0},  {0.42, 84, 1.0}};
  for (const Voice& voice : voices) {
    Oscillator saw;
    Oscillator detuned;
    Filter brass;
    const Envelope envelope{0.01, 0.15, 0.7, 0.08};
    for (int i = Frames(voice.start); i < frames; ++i) {
      const double t = TimeOf(i) - voice.start;
      const double level = envelope.LevelAt(t, voice.gate);
      if (level <= 0.0 && t > voice.gate) break;
      const double hz = MidiToHz(voice.note);
      const float raw = saw.Saw(hz) + detuned.Saw(hz * 1.004);
      const double cutoff = 800.0 + 3000.0 * level;
      out[i] += static_cast<float>(0.3 * brass.Process(raw, cutoff, 0.2).low * level);
    }
  }
  FadeOut(out);
  return out;
}

// A soft tick: a tiny high blip.
std::vector<float> RenderMenuTick(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0x71cu);
  AddBell(out, 0, 2400, 1.0, 0.0, 0.006, 1.0);
  AddNoiseBurst(out, random, 0, 6000, 3000, 0.005, 0.004, 0.6, true);
  FadeOut(out);
  return out;
}

// A click: a firmer knock with a short tone in it.
std::vector<float> RenderMenuClick(double seconds) {
  std::vector<float> out(Frames(seconds), 0.0f);
  Random random(0xc11cu);
  AddThump(out, 1400, 700, 0.01, 0.025, 1.0);
  AddNoiseBurst(out, random, 0, 5000, 1500, 0.004, 0.006, 1.2, true);
  FadeOut(out);
  return out;
}

}  // namespace

const std::vector<EventSoundRecipe>& EventSoundRecipes() {
  // Breaks come in crowds and menu ticks with every move of the pointer:
  // they sit well below the rare events they would otherwise drown.
  static const std::vector<EventSoundRecipe> recipes = {
      {EventSound::BreakLarge, 1.10, -1, RenderBreakLarge},
      {EventSound::BreakMedium, 0.55, -2, RenderBreakMedium},
      {EventSound::BreakSmall, 0.20, -3, RenderBreakSmall},
      {EventSound::FinalHit, 0.70, -2, RenderFinalHit},
      {EventSound::FinalCollapse, 3.20, -1, RenderFinalCollapse},
      {EventSound::PowerUpAppear, 0.80, -9, RenderPowerUpAppear},
      {EventSound::PickUpShield, 0.50, -4, RenderPickUpShield},
      {EventSound::PickUpLongRange, 0.50, -4, RenderPickUpLongRange},
      {EventSound::PickUpSpread, 0.50, -4, RenderPickUpSpread},
      {EventSound::PickUpStarburst, 0.50, -4, RenderPickUpStarburst},
      {EventSound::PowerUpRunsOut, 0.65, -5, RenderPowerUpRunsOut},
      {EventSound::ExtraLife, 1.00, -3, RenderExtraLife},
      {EventSound::LevelFanfare, 1.70, -3, RenderLevelFanfare},
      {EventSound::MenuTick, 0.04, -16, RenderMenuTick},
      {EventSound::MenuClick, 0.10, -10, RenderMenuClick},
  };
  return recipes;
}

std::vector<float> RenderEventSound(const EventSoundRecipe& recipe) {
  std::vector<float> samples = recipe.render(recipe.seconds);
  NormalisePeak(samples, static_cast<float>(DecibelsToGain(recipe.peakDb)));
  return samples;
}

}  // namespace synth

bool WriteEventSounds(const std::string& baseDir) {
  using namespace synth;
  for (const EventSoundRecipe& recipe : EventSoundRecipes()) {
    const std::string path = JoinPath(baseDir, EventSoundFile(recipe.sound));
    if (!WriteMonoWav(path, RenderEventSound(recipe), kSampleRate)) return false;
  }
  return true;
}
