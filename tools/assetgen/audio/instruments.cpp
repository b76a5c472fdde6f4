#include "tools/assetgen/audio/instruments.h"

#include <algorithm>
#include <cmath>

namespace synth {

Sink::Sink(Buses& buses, const Mix& mix) : buses_(buses), mix_(mix) {
  // Constant-power pan, scaled so the centre passes the signal unchanged.
  const double angle = (std::clamp(mix.pan, -1.0f, 1.0f) + 1.0) * kPi / 4.0;
  leftGain_ = static_cast<float>(mix.gain * std::cos(angle) * std::sqrt(2.0));
  rightGain_ = static_cast<float>(mix.gain * std::sin(angle) * std::sqrt(2.0));
}

void Sink::Add(int64_t frame, float left, float right) {
  const int64_t size = static_cast<int64_t>(buses_.dry.Frames());
  int64_t i = frame;
  if (i < 0 || i >= size) i = (i % size + size) % size;  // rare: the division is slow
  const float duck = 1.0f - mix_.duck * buses_.kickEnvelope[i];
  const float l = left * leftGain_ * duck;
  const float r = right * rightGain_ * duck;
  buses_.dry.left[i] += l;
  buses_.dry.right[i] += r;
  buses_.delaySend.left[i] += l * mix_.delaySend;
  buses_.delaySend.right[i] += r * mix_.delaySend;
  buses_.reverbSend.left[i] += l * mix_.reverbSend;
  buses_.reverbSend.right[i] += r * mix_.reverbSend;
}

namespace {

double Semitones(double count) { return std::exp2(count / 12.0); }

// Calls voice(t, left, right) for every frame of a sound `seconds` long and
// fades the last 10 ms out, so a note cut at its end never clicks.
template <typename Voice>
void RenderStereo(const NoteEvent& note, Sink& sink, double seconds, Voice voice) {
  const int64_t frames = static_cast<int64_t>(seconds * kSampleRate);
  for (int64_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double gain = std::min(1.0, (seconds - t) / 0.01) * note.velocity;
    float left = 0.0f;
    float right = 0.0f;
    voice(t, left, right);
    sink.Add(note.startFrame + i, static_cast<float>(left * gain), static_cast<float>(right * gain));
  }
}

// The same for a voice(t) that gives one sample for both sides.
template <typename Voice>
void RenderMono(const NoteEvent& note, Sink& sink, double seconds, Voice voice) {
  RenderStereo(note, sink, seconds,
               [&](double t, float& left, float& right) { left = right = static_cast<float>(voice(t)); });
}

void Kick(const NoteEvent& note, Sink& sink, Random& random) {
  Oscillator body;
  Filter click;
  RenderMono(note, sink, 0.45, [&](double t) {
    const double hz = 48.0 + 120.0 * std::exp(-t / 0.035);
    const double beater = click.Process(random.Signed(), 3000.0, 0.0).low * std::exp(-t / 0.004);
    return std::tanh(1.8 * (body.Sine(hz) * std::exp(-t / 0.22) + 0.5 * beater));
  });
}

void Snare(const NoteEvent& note, Sink& sink, Random& random) {
  Oscillator tone;
  Filter highPass;
  Filter lowPass;
  RenderMono(note, sink, 0.32, [&](double t) {
    const double body = tone.Sine(175.0 + 80.0 * std::exp(-t / 0.015)) * std::exp(-t / 0.06);
    const float bright = highPass.Process(random.Signed(), 1400.0, 0.1).high;
    const float rattle = lowPass.Process(bright, 9000.0, 0.0).low;
    return (0.7 * body + 0.8 * rattle * std::exp(-t / 0.1)) * OnsetRamp(t);
  });
}

// Three quick noise bursts and a tail: several hands not quite together.
void Clap(const NoteEvent& note, Sink& sink, Random& random) {
  Filter band;
  RenderMono(note, sink, 0.4, [&](double t) {
    const float noise = band.Process(random.Signed(), 1250.0, 0.45).band;
    double level = 0.0;
    for (double burst : {0.0, 0.011, 0.022}) {
      if (t >= burst) level = std::max(level, std::exp(-(t - burst) / 0.005));
    }
    if (t >= 0.03) level = std::max(level, 0.8 * std::exp(-(t - 0.03) / 0.13));
    return 2.5 * noise * level * OnsetRamp(t, 0.0005);
  });
}

// Square partials at inharmonic ratios plus noise, high-passed: the metallic
// colour of a drum machine cymbal.
void Metal(const NoteEvent& note, Sink& sink, Random& random, double decay, double seconds, double cutoff) {
  static constexpr double kPartials[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
  Oscillator partials[6];
  Filter highPass;
  Filter smooth;
  RenderMono(note, sink, seconds, [&](double t) {
    float metal = 0.0f;
    for (int i = 0; i < 6; ++i) metal += partials[i].Pulse(kPartials[i] * 1.9, 0.5);
    const float high = highPass.Process(0.12f * metal + random.Signed(), cutoff, 0.2).high;
    const float soft = smooth.Process(high, 14000.0, 0.0).low;
    return soft * std::exp(-t / decay) * OnsetRamp(t, 0.0005);
  });
}

// Detuned saws and a sine sub through a resonant filter that snaps shut.
void AcidBass(const NoteEvent& note, Sink& sink) {
  const Envelope envelope{0.002, 0.12, 0.65, 0.03};
  Oscillator saw;
  Oscillator detuned;
  Oscillator sub;
  Filter filter;
  RenderMono(note, sink, envelope.ReleaseEnd(note.gateSeconds), [&](double t) {
    const float raw = saw.Saw(note.hz) + 0.6f * detuned.Saw(note.hz * 1.007);
    const float bite = filter.Process(raw, 160.0 + 2400.0 * std::exp(-t / 0.07), 0.55).low;
    const double level = envelope.LevelAt(t, note.gateSeconds);
    return std::tanh(1.4 * (0.6 * bite + 0.7 * sub.Sine(note.hz))) * level;
  });
}

void SubBass(const NoteEvent& note, Sink& sink) {
  const Envelope envelope{0.01, 0.4, 0.8, 0.12};
  Oscillator sine;
  Oscillator overtone;
  Filter filter;
  RenderMono(note, sink, envelope.ReleaseEnd(note.gateSeconds), [&](double t) {
    const float raw = sine.Sine(note.hz) + 0.3f * overtone.Triangle(note.hz * 2.0);
    return filter.Process(raw, 600.0, 0.0).low * envelope.LevelAt(t, note.gateSeconds);
  });
}

// Three detuned saws spread across the stereo field.
void Pad(const NoteEvent& note, Sink& sink, Random& random, const Envelope& envelope, double cutoff) {
  Oscillator voices[3];
  for (Oscillator& voice : voices) voice.phase = random.Unit();
  Filter leftFilter;
  Filter rightFilter;
  const double spread = Semitones(0.09);
  RenderStereo(note, sink, envelope.ReleaseEnd(note.gateSeconds), [&](double t, float& l, float& r) {
    const float low = voices[0].Saw(note.hz / spread);
    const float mid = voices[1].Saw(note.hz);
    const float high = voices[2].Saw(note.hz * spread);
    const double level = 0.3 * envelope.LevelAt(t, note.gateSeconds);
    l = static_cast<float>(leftFilter.Process(low + 0.7f * mid + 0.3f * high, cutoff, 0.1).low * level);
    r = static_cast<float>(rightFilter.Process(high + 0.7f * mid + 0.3f * low, cutoff, 0.1).low * level);
  });
}

void Pluck(const NoteEvent& note, Sink& sink) {
  const Envelope envelope{0.001, 0.15, 0.0, 0.05};
  Oscillator pulse;
  Oscillator saw;
  Filter filter;
  RenderMono(note, sink, envelope.ReleaseEnd(note.gateSeconds) + 0.15, [&](double t) {
    const float raw = pulse.Pulse(note.hz, 0.3) + 0.5f * saw.Saw(note.hz);
    const float tone = filter.Process(raw, 400.0 + 5500.0 * std::exp(-t / 0.05), 0.35).low;
    return tone * envelope.LevelAt(t, note.gateSeconds);
  });
}

// Detuned saw stack over a square an octave down, with vibrato that sets in
// once a note has been held a moment.
void Lead(const NoteEvent& note, Sink& sink) {
  const Envelope envelope{0.008, 0.25, 0.7, 0.15};
  Oscillator voices[3];
  Oscillator sub;
  Filter leftFilter;
  Filter rightFilter;
  const double spread = Semitones(0.1);
  RenderStereo(note, sink, envelope.ReleaseEnd(note.gateSeconds), [&](double t, float& l, float& r) {
    const double depth = t > 0.18 ? 0.12 * std::min(1.0, (t - 0.18) / 0.3) : 0.0;
    const double hz = note.hz * Semitones(depth * SineOfCycles(5.5 * t));
    const float low = voices[0].Saw(hz / spread);
    const float mid = voices[1].Saw(hz);
    const float high = voices[2].Saw(hz * spread);
    const float bottom = 0.3f * sub.Pulse(hz * 0.5, 0.5);
    const double cutoff = 2600.0 + 2200.0 * std::exp(-t / 0.12);
    const double level = 0.4 * envelope.LevelAt(t, note.gateSeconds);
    l = static_cast<float>(leftFilter.Process(low + 0.8f * mid + bottom, cutoff, 0.2).low * level);
    r = static_cast<float>(rightFilter.Process(high + 0.8f * mid + bottom, cutoff, 0.2).low * level);
  });
}

// Two-operator FM: a bright strike that mellows as the modulation fades.
void Bell(const NoteEvent& note, Sink& sink) {
  const Envelope envelope{0.003, 0.7, 0.2, 0.6};
  Oscillator carrier;
  Oscillator modulator;
  Oscillator shimmer;
  RenderMono(note, sink, envelope.ReleaseEnd(note.gateSeconds), [&](double t) {
    const double index = 0.4 + 2.2 * std::exp(-t / 0.25);
    const double tone = carrier.Sine(note.hz, index * modulator.Sine(note.hz * 2.0)) +
                        0.15 * shimmer.Sine(note.hz * 3.01) * std::exp(-t / 0.3);
    return 0.6 * tone * envelope.LevelAt(t, note.gateSeconds);
  });
}

}  // namespace

void PlayNote(Instrument instrument, const NoteEvent& note, Sink& sink, Random& random) {
  switch (instrument) {
    case Instrument::Kick: return Kick(note, sink, random);
    case Instrument::Snare: return Snare(note, sink, random);
    case Instrument::Clap: return Clap(note, sink, random);
    case Instrument::ClosedHat: return Metal(note, sink, random, 0.035, 0.15, 7000.0);
    case Instrument::OpenHat: return Metal(note, sink, random, 0.22, 0.6, 7000.0);
    case Instrument::Crash: return Metal(note, sink, random, 0.9, 2.5, 4500.0);
    case Instrument::AcidBass: return AcidBass(note, sink);
    case Instrument::SubBass: return SubBass(note, sink);
    case Instrument::Pad: return Pad(note, sink, random, Envelope{0.05, 0.5, 0.8, 0.3}, 2500.0);
    case Instrument::WarmPad: return Pad(note, sink, random, Envelope{0.6, 1.0, 0.85, 0.7}, 1200.0);
    case Instrument::Pluck: return Pluck(note, sink);
    case Instrument::Lead: return Lead(note, sink);
    case Instrument::Bell: return Bell(note, sink);
  }
}

}  // namespace synth
