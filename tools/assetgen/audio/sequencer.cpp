#include "tools/assetgen/audio/sequencer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tools/assetgen/audio/effects.h"
#include "tools/assetgen/audio/instruments.h"

namespace synth {

Track& Song::AddTrack(Instrument instrument, const Mix& mix) {
  tracks.push_back(Track{instrument, mix, {}});
  return tracks.back();
}

namespace {

// Whitespace-separated tokens; bar lines "|" only help the reader.
std::vector<std::string> Tokens(std::string text) {
  std::replace(text.begin(), text.end(), '|', ' ');
  std::istringstream stream(text);
  std::vector<std::string> tokens;
  std::string token;
  while (stream >> token) tokens.push_back(token);
  return tokens;
}

// Reads a note letter with an optional '#' or 'b' at pos and advances past
// them; false when there is no letter. semitones counts from the letter's C,
// so "Cb" gives -1 and "B#" 12.
bool ParseLetter(const std::string& text, size_t& pos, int& semitones) {
  static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (pos >= text.size() || text[pos] < 'A' || text[pos] > 'G') return false;
  semitones = kLetters[text[pos++] - 'A'];
  if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b')) {
    semitones += text[pos++] == '#' ? 1 : -1;
  }
  return true;
}

bool Fail(Song& song, const std::string& what, const std::string& text) {
  std::fprintf(stderr, "assetgen: cannot read %s \"%s\"\n", what.c_str(), text.c_str());
  song.valid = false;
  return false;
}

// Lowest pitch of the given class at or above lowestPitch.
int PlaceAbove(int pitchClass, int lowestPitch) {
  return lowestPitch + ((pitchClass - lowestPitch) % 12 + 12) % 12;
}

std::vector<int> Voicing(const std::vector<int>& pitchClasses, int lowestPitch) {
  std::vector<int> pitches;
  for (int pitchClass : pitchClasses) pitches.push_back(PlaceAbove(pitchClass, lowestPitch));
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

// Walks a one-chord-per-bar progression, handing each bar's chord to
// perBar(barIndex, pitchClasses).
template <typename PerBar>
bool ForEachChord(Song& song, const std::string& progression, PerBar perBar) {
  const std::vector<std::string> symbols = Tokens(progression);
  for (size_t bar = 0; bar < symbols.size(); ++bar) {
    const std::vector<int> chord = ChordPitchClasses(symbols[bar]);
    if (chord.empty()) return Fail(song, "chord", symbols[bar]);
    if (!perBar(static_cast<int>(bar), chord)) return false;
  }
  return true;
}

// Turns one bar of a 16-character rhythm into notes: pitchFor(c) gives the
// pitch that character c starts, or -1 for a rest; '.' holds the last note.
template <typename PitchFor>
bool AddRhythmBar(Song& song, Track& track, int barStep, const std::string& rhythm16, float velocity,
                  PitchFor pitchFor) {
  if (rhythm16.size() != 16) return Fail(song, "rhythm", rhythm16);
  bool holding = false;
  for (int step = 0; step < 16; ++step) {
    const char c = rhythm16[step];
    if (c == '.') {
      if (holding) ++track.notes.back().length;
      continue;
    }
    const int pitch = pitchFor(c);
    holding = pitch >= 0;
    if (holding) track.notes.push_back(Note{barStep + step, 1, pitch, velocity});
  }
  return true;
}

void MixInto(StereoBuffer& mix, const StereoBuffer& source, float gain) {
  for (size_t i = 0; i < mix.Frames(); ++i) {
    mix.left[i] += gain * source.left[i];
    mix.right[i] += gain * source.right[i];
  }
}

}  // namespace

int ParseNoteName(const std::string& name) {
  size_t pos = 0;
  int semitones = 0;
  if (!ParseLetter(name, pos, semitones)) return -1;
  const bool negative = pos < name.size() && name[pos] == '-';
  if (negative) ++pos;
  if (pos >= name.size() || name.size() - pos > 2) return -1;
  int octave = 0;
  for (; pos < name.size(); ++pos) {
    if (name[pos] < '0' || name[pos] > '9') return -1;
    octave = octave * 10 + (name[pos] - '0');
  }
  const int midi = 12 * ((negative ? -octave : octave) + 1) + semitones;
  return midi >= 0 && midi <= 127 ? midi : -1;
}

std::vector<int> ChordPitchClasses(const std::string& symbol) {
  struct Quality {
    const char* name;
    std::vector<int> intervals;
  };
  static const Quality kQualities[] = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}}, {"sus2", {0, 2, 7}},  {"m9", {0, 3, 7, 10, 2}},
      {"add9", {0, 4, 7, 2}},  {"dim", {0, 3, 6}},
  };
  size_t pos = 0;
  int semitones = 0;
  if (!ParseLetter(symbol, pos, semitones)) return {};
  const int root = (semitones + 12) % 12;
  const std::string quality = symbol.substr(pos);
  for (const Quality& known : kQualities) {
    if (quality != known.name) continue;
    std::vector<int> pitchClasses;
    for (int interval : known.intervals) pitchClasses.push_back((root + interval) % 12);
    return pitchClasses;
  }
  return {};
}

bool AddMelody(Song& song, Track& track, int firstBar, const std::string& grid, float velocity,
               int transpose) {
  int step = firstBar * 16;
  bool holding = false;
  for (const std::string& token : Tokens(grid)) {
    if (token == ".") {
      if (holding) ++track.notes.back().length;
    } else if (token == "-") {
      holding = false;
    } else {
      const int pitch = ParseNoteName(token);
      if (pitch < 0) return Fail(song, "note", token);
      track.notes.push_back(Note{step, 1, pitch + transpose, velocity});
      holding = true;
    }
    ++step;
  }
  return true;
}

bool AddDrumPattern(Song& song, Track& track, int firstBar, int bars, const std::string& pattern16) {
  if (pattern16.size() != 16) return Fail(song, "drum pattern", pattern16);
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (int step = 0; step < 16; ++step) {
      const char c = pattern16[step];
      if (c == 'x' || c == 'o') track.notes.push_back(Note{bar * 16 + step, 1, 60, c == 'x' ? 1.0f : 0.55f});
    }
  }
  return true;
}

bool AddChords(Song& song, Track& track, int firstBar, const std::string& progression, int lowestPitch,
               float velocity) {
  return ForEachChord(song, progression, [&](int bar, const std::vector<int>& chord) {
    for (int pitch : Voicing(chord, lowestPitch)) {
      track.notes.push_back(Note{(firstBar + bar) * 16, 16, pitch, velocity});
    }
    return true;
  });
}

bool AddBassLine(Song& song, Track& track, int firstBar, const std::string& progression,
                 const std::string& rhythm16, int lowestPitch, float velocity) {
  return ForEachChord(song, progression, [&](int bar, const std::vector<int>& chord) {
    const int root = PlaceAbove(chord[0], lowestPitch);
    return AddRhythmBar(song, track, (firstBar + bar) * 16, rhythm16, velocity, [&](char c) {
      switch (c) {
        case 'x': return root;
        case 'o': return root + 12;
        case 'f': return root + 7;
        default: return -1;
      }
    });
  });
}

bool AddArpeggio(Song& song, Track& track, int firstBar, const std::string& progression,
                 const std::string& order16, int lowestPitch, float velocity) {
  return ForEachChord(song, progression, [&](int bar, const std::vector<int>& chord) {
    const std::vector<int> tones = Voicing(chord, lowestPitch);
    const int count = static_cast<int>(tones.size());
    return AddRhythmBar(song, track, (firstBar + bar) * 16, order16, velocity, [&](char c) {
      if (c < '0' || c > '9') return -1;
      const int index = c - '0';
      return tones[index % count] + 12 * (index / count);
    });
  });
}

StereoBuffer RenderSong(const Song& song, float peak) {
  if (!song.valid || !song.TempoFitsGrid() || song.bars <= 0) return StereoBuffer(0);
  const size_t frames = song.Frames();
  const int64_t framesPerStep = song.FramesPerStep();
  Buses buses(frames);

  // The kick's push on ducked tracks: a fast dip that recovers over a beat.
  for (const Track& track : song.tracks) {
    if (track.instrument != Instrument::Kick) continue;
    for (const Note& note : track.notes) {
      const int64_t length = static_cast<int64_t>(0.3 * kSampleRate);
      for (int64_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const float push = static_cast<float>(OnsetRamp(t, 0.004) * std::exp(-t / 0.1) * note.velocity);
        float& slot = buses.kickEnvelope[(note.step * framesPerStep + i) % static_cast<int64_t>(frames)];
        slot = std::max(slot, push);
      }
    }
  }

  for (size_t index = 0; index < song.tracks.size(); ++index) {
    const Track& track = song.tracks[index];
    Random random(song.seed * 7919u + static_cast<uint32_t>(index) * 104729u + 1u);
    Sink sink(buses, track.mix);
    for (const Note& note : track.notes) {
      const NoteEvent event{note.step * framesPerStep,
                            static_cast<double>(note.length * framesPerStep) / kSampleRate,
                            MidiToHz(note.pitch), note.velocity};
      PlayNote(track.instrument, event, sink, random);
    }
  }

  StereoBuffer mix = std::move(buses.dry);
  {
    const int delayFrames = song.effects.delaySteps * static_cast<int>(framesPerStep);
    const StereoBuffer echoes = PingPongDelay(buses.delaySend, delayFrames, song.effects.delayFeedback);
    MixInto(mix, echoes, 1.0f);
    MixInto(buses.reverbSend, echoes, 0.25f);
  }
  MixInto(mix, Reverb(buses.reverbSend, song.effects.reverbFeedback, song.effects.reverbDamping), 1.0f);
  NormalisePeak(mix, peak);
  return mix;
}

}  // namespace synth
