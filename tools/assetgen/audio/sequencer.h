#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "tools/assetgen/audio/synth.h"

// A small step sequencer: a song is a tempo, a number of 4/4 bars and tracks
// of notes on a sixteenth-note grid, each track played by one instrument.
// Compositions are written with the text helpers below, then rendered into a
// stereo loop in which the end runs straight on into the start.
namespace synth {

enum class Instrument {
  Kick,
  Snare,
  Clap,
  ClosedHat,
  OpenHat,
  Crash,  // drums (pitch ignored)
  AcidBass,
  SubBass,
  Pad,
  WarmPad,
  Pluck,
  Lead,
  Bell,
};

struct Note {
  int step;    // sixteenths from the start of the song
  int length;  // in sixteenths, at least 1
  int pitch;   // MIDI note number
  float velocity;
};

// How a track reaches the mix. duck is the depth (0..1) by which the kick
// pushes the track down, the pumping of dance music.
struct Mix {
  float gain = 1.0f;
  float pan = 0.0f;  // -1 left .. 1 right
  float delaySend = 0.0f;
  float reverbSend = 0.0f;
  float duck = 0.0f;
};

struct Track {
  Instrument instrument;
  Mix mix;
  std::vector<Note> notes;
};

struct Effects {
  int delaySteps = 3;  // echo time in sixteenths
  float delayFeedback = 0.35f;
  float reverbFeedback = 0.84f;  // room size, below 1
  float reverbDamping = 0.3f;
};

struct Song {
  int bpm = 120;
  int bars = 16;
  uint32_t seed = 1;
  Effects effects;
  std::deque<Track> tracks = {};  // a deque: AddTrack leaves earlier references valid
  // Cleared by a helper that met text it could not read; the song is then
  // not to be rendered.
  bool valid = true;

  int Steps() const { return bars * 16; }
  // Only tempos that give a whole number of samples per sixteenth are
  // accepted, so bars line up exactly with the loop.
  int FramesPerStep() const { return kSampleRate * 60 / (bpm * 4); }
  bool TempoFitsGrid() const { return bpm > 0 && (kSampleRate * 60) % (bpm * 4) == 0; }
  size_t Frames() const { return static_cast<size_t>(Steps()) * FramesPerStep(); }
  Track& AddTrack(Instrument instrument, const Mix& mix);
};

// Note name such as "C4", "F#3" or "Bb5" to MIDI (C4 = 60); -1 if not one.
int ParseNoteName(const std::string& name);

// Chord symbol such as "Am", "F", "G7", "Bbmaj7", "Asus4" or "Dm9" to its
// pitch classes (0 = C), root first; empty if not understood.
std::vector<int> ChordPitchClasses(const std::string& symbol);

// Each helper writes from bar firstBar (0-based) on and returns false (and
// marks the song invalid) on text it cannot read.
//
// Melody grid: one token per sixteenth, whitespace between tokens; a note
// name starts a note, "." holds the previous one, "-" is silence, "|" (bar
// line) is ignored.
bool AddMelody(Song& song, Track& track, int firstBar, const std::string& grid, float velocity,
               int transpose = 0);
// Drum pattern of 16 characters repeated for `bars` bars: 'x' full hit,
// 'o' soft hit, anything else nothing.
bool AddDrumPattern(Song& song, Track& track, int firstBar, int bars, const std::string& pattern16);
// One chord symbol per bar, held for the bar; tones voiced within
// [lowestPitch, lowestPitch + 12) so chord changes move by small steps.
bool AddChords(Song& song, Track& track, int firstBar, const std::string& progression, int lowestPitch,
               float velocity);
// Bass line over one chord per bar; rhythm16 per bar: 'x' root, 'o' root an
// octave up, 'f' fifth, '.' hold, '-' rest. Root placed in
// [lowestPitch, lowestPitch + 12).
bool AddBassLine(Song& song, Track& track, int firstBar, const std::string& progression,
                 const std::string& rhythm16, int lowestPitch, float velocity);
// Arpeggio over one chord per bar; order16 per bar: a digit picks a chord
// tone counted upwards from the voicing in [lowestPitch, lowestPitch + 12)
// (past the last tone it goes on an octave higher), '.' holds, '-' rests.
bool AddArpeggio(Song& song, Track& track, int firstBar, const std::string& progression,
                 const std::string& order16, int lowestPitch, float velocity);

// Renders every track, the echo and the reverb into one loop of
// song.Frames() frames, normalised to `peak`. Notes and effect tails that
// run past the end continue at the start. Returns an empty buffer for an
// invalid song or a tempo off the grid.
StereoBuffer RenderSong(const Song& song, float peak);

}  // namespace synth
