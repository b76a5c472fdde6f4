#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tests/assets/little_endian.h"
#include "tools/assetgen/audio/effects.h"
#include "tools/assetgen/audio/instruments.h"
#include "tools/assetgen/audio/sequencer.h"
#include "tools/assetgen/audio/songs.h"
#include "tools/assetgen/audio/sound_effects.h"
#include "tools/assetgen/audio/synth.h"
#include "tools/assetgen/audio/vorbis_file.h"
#include "tools/assetgen/audio/wav_file.h"

namespace synth {
namespace {

TEST(WavFile, WritesCanonicalLittleEndianPcm) {
  const std::string bytes = EncodeWav16({1, -2, 0x1234, -32768}, 2, 44100);
  ASSERT_EQ(bytes.size(), 44u + 8u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(U32At(bytes, 16), 16u);
  EXPECT_EQ(U16At(bytes, 20), 1u);  // PCM
  EXPECT_EQ(U16At(bytes, 22), 2u);
  EXPECT_EQ(U32At(bytes, 24), 44100u);
  EXPECT_EQ(U32At(bytes, 28), 44100u * 4);
  EXPECT_EQ(U16At(bytes, 32), 4u);
  EXPECT_EQ(U16At(bytes, 34), 16u);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(U32At(bytes, 40), 8u);
  EXPECT_EQ(static_cast<int16_t>(U16At(bytes, 46)), -2);
  EXPECT_EQ(U16At(bytes, 48), 0x1234u);
  EXPECT_EQ(static_cast<int16_t>(U16At(bytes, 50)), -32768);
}

TEST(WavFile, SamplesRoundAndClampToSixteenBits) {
  EXPECT_EQ(ToPcm16(0.0f), 0);
  EXPECT_EQ(ToPcm16(1.0f), 32767);
  EXPECT_EQ(ToPcm16(-1.0f), -32767);
  EXPECT_EQ(ToPcm16(3.0f), 32767);
  EXPECT_EQ(ToPcm16(-3.0f), -32768);
  EXPECT_EQ(ToPcm16(0.5f / 32767.0f + 1e-7f), 1);
}

TEST(Synth, FastSineFollowsTheLibraryOneEverywhere) {
  for (double cycles = -3.0; cycles <= 3.0; cycles += 0.001) {
    ASSERT_NEAR(SineOfCycles(cycles), std::sin(kTwoPi * cycles), 1e-6) << cycles;
  }
  EXPECT_NEAR(SineOfCycles(1000.25), 1.0, 1e-6);
}

// Largest sample-to-sample step inside a looped signal, ignoring the seam.
float LargestStep(const std::vector<float>& samples) {
  float largest = 0.0f;
  for (size_t i = 1; i < samples.size(); ++i)
    largest = std::max(largest, std::fabs(samples[i] - samples[i - 1]));
  return largest;
}

TEST(SoundEffects, ThrustLoopsWithoutAJumpAndLastsOneRestartPeriod) {
  const std::vector<float> thrust = RenderThrustLoop();
  ASSERT_EQ(thrust.size(), static_cast<size_t>(kSampleRate / 2));
  const float seam = std::fabs(thrust.front() - thrust.back());
  EXPECT_LE(seam, LargestStep(thrust));
  EXPECT_GT(Peak(thrust), 0.5f);
}

TEST(SoundEffects, OneShotsStartAndEndSilentAtTheCommonPeak) {
  const float peak = static_cast<float>(DecibelsToGain(-1.0));
  for (const std::vector<float>& sound : {RenderLaserShot(), RenderExplosion()}) {
    EXPECT_NEAR(Peak(sound), peak, 1e-4f);
    EXPECT_LT(std::fabs(sound.front()), 1e-3f);
    EXPECT_LT(std::fabs(sound.back()), 1e-3f);
  }
}

TEST(SoundEffects, EveryRenderGivesTheSameSamples) {
  EXPECT_EQ(RenderLaserShot(), RenderLaserShot());
  EXPECT_EQ(RenderThrustLoop(), RenderThrustLoop());
  EXPECT_EQ(RenderExplosion(), RenderExplosion());
}

TEST(Notation, ReadsNoteNamesAndRejectsOthers) {
  EXPECT_EQ(ParseNoteName("C4"), 60);
  EXPECT_EQ(ParseNoteName("A4"), 69);
  EXPECT_EQ(ParseNoteName("F#3"), 54);
  EXPECT_EQ(ParseNoteName("Bb5"), 82);
  EXPECT_EQ(ParseNoteName("Cb4"), 59);
  EXPECT_EQ(ParseNoteName("B#3"), 60);
  EXPECT_EQ(ParseNoteName("C-1"), 0);
  for (const char* bad : {"", "H4", "C", "C#", "C4x", "c4", "C-2", "G#9", "C123"}) {
    EXPECT_EQ(ParseNoteName(bad), -1) << bad;
  }
}

TEST(Notation, ReadsChordSymbols) {
  EXPECT_EQ(ChordPitchClasses("Am"), (std::vector<int>{9, 0, 4}));
  EXPECT_EQ(ChordPitchClasses("Bbmaj7"), (std::vector<int>{10, 2, 5, 9}));
  EXPECT_EQ(ChordPitchClasses("Asus4"), (std::vector<int>{9, 2, 4}));
  EXPECT_EQ(ChordPitchClasses("G"), (std::vector<int>{7, 11, 2}));
  EXPECT_TRUE(ChordPitchClasses("Amaj9").empty());
  EXPECT_TRUE(ChordPitchClasses("m7").empty());
}

TEST(Notation, MelodyHoldsRestsAndBarLines) {
  Song song;
  Track& track = song.AddTrack(Instrument::Lead, {});
  ASSERT_TRUE(AddMelody(song, track, 1, "C4 . . - |E4 .|- G4", 0.5f, 12));
  ASSERT_EQ(track.notes.size(), 3u);
  EXPECT_EQ(track.notes[0].step, 16);
  EXPECT_EQ(track.notes[0].length, 3);
  EXPECT_EQ(track.notes[0].pitch, 72);
  EXPECT_EQ(track.notes[1].step, 20);
  EXPECT_EQ(track.notes[1].length, 2);
  EXPECT_EQ(track.notes[2].step, 23);
  EXPECT_TRUE(song.valid);

  EXPECT_FALSE(AddMelody(song, track, 0, "C4 X4", 0.5f));
  EXPECT_FALSE(song.valid);
}

TEST(Notation, ChordsBassAndArpeggioFollowTheProgression) {
  Song song;
  Track& pad = song.AddTrack(Instrument::Pad, {});
  ASSERT_TRUE(AddChords(song, pad, 2, "Am G", 55, 1.0f));
  ASSERT_EQ(pad.notes.size(), 6u);
  EXPECT_EQ(pad.notes[0].step, 32);
  EXPECT_EQ(pad.notes[0].length, 16);
  std::vector<int> firstChord;
  for (int i = 0; i < 3; ++i) firstChord.push_back(pad.notes[i].pitch);
  EXPECT_EQ(firstChord, (std::vector<int>{57, 60, 64}));  // A3 C4 E4, within G3..F#4

  Track& bass = song.AddTrack(Instrument::AcidBass, {});
  ASSERT_TRUE(AddBassLine(song, bass, 0, "Am", "x.-o-f----------", 28, 1.0f));
  ASSERT_EQ(bass.notes.size(), 3u);
  EXPECT_EQ(bass.notes[0].pitch, 33);
  EXPECT_EQ(bass.notes[0].length, 2);
  EXPECT_EQ(bass.notes[1].pitch, 45);
  EXPECT_EQ(bass.notes[2].pitch, 40);

  Track& arpeggio = song.AddTrack(Instrument::Pluck, {});
  ASSERT_TRUE(AddArpeggio(song, arpeggio, 0, "C", "0123------------", 60, 1.0f));
  ASSERT_EQ(arpeggio.notes.size(), 4u);
  EXPECT_EQ(arpeggio.notes[3].pitch, 72);  // past the triad: the root an octave up
  EXPECT_TRUE(song.valid);

  EXPECT_FALSE(AddBassLine(song, bass, 0, "Am", "x---", 28, 1.0f));
  EXPECT_FALSE(AddChords(song, pad, 0, "Am Q7", 55, 1.0f));
}

TEST(Compositions, AreValidLoopsOfAtLeastAMinute) {
  for (const Song& song : {ComposeMenuTheme(), ComposeUpbeatTech()}) {
    EXPECT_TRUE(song.valid);
    EXPECT_TRUE(song.TempoFitsGrid());
    EXPECT_GE(song.Frames(), 60u * kSampleRate);
    size_t notes = 0;
    for (const Track& track : song.tracks) {
      for (const Note& note : track.notes) {
        EXPECT_GE(note.step, 0);
        EXPECT_LT(note.step, song.Steps());
        EXPECT_GE(note.length, 1);
      }
      notes += track.notes.size();
    }
    EXPECT_GT(notes, 500u);
  }
}

TEST(Effects, EchoesAndReverbFromTheEndSoundAtTheStart) {
  StereoBuffer impulse(20000);
  impulse.left[19990] = 1.0f;
  const StereoBuffer echoes = PingPongDelay(impulse, 100, 0.5f);
  EXPECT_GT(std::fabs(echoes.left[90]), 0.1f);     // first echo, 10 frames past the end
  EXPECT_GT(std::fabs(echoes.right[190]), 0.01f);  // and its bounce to the other side

  const StereoBuffer room = Reverb(impulse, 0.84f, 0.3f);
  float early = 0.0f;
  for (size_t i = 0; i < 5000; ++i)
    early = std::max(early, std::fabs(room.left[i]) + std::fabs(room.right[i]));
  EXPECT_GT(early, 1e-4f);
}

Song ShortSong(int bpm) {
  Song song;
  song.bpm = bpm;
  song.bars = 2;
  Track& pad = song.AddTrack(Instrument::Pad, {.reverbSend = 0.3f});
  AddMelody(song, pad, 1, "- - - - - - - - - - - - - - C4 .", 1.0f);
  Track& kick = song.AddTrack(Instrument::Kick, {.delaySend = 0.2f});
  AddDrumPattern(song, kick, 0, 1, "----x-----------");
  return song;
}

TEST(RenderSong, NotesRunningPastTheEndContinueAtTheStart) {
  const Song song = ShortSong(126);
  const StereoBuffer loop = RenderSong(song, 0.5f);
  ASSERT_EQ(loop.Frames(), song.Frames());
  EXPECT_NEAR(std::max(Peak(loop.left), Peak(loop.right)), 0.5f, 1e-5f);
  // The last two sixteenths hold a pad note whose release rings on into the
  // first beat, where nothing else plays.
  float start = 0.0f;
  for (size_t i = 0; i < 1000; ++i) start = std::max(start, std::fabs(loop.left[i]));
  EXPECT_GT(start, 1e-3f);
  EXPECT_LE(std::fabs(loop.left.front() - loop.left.back()), LargestStep(loop.left));
}

TEST(RenderSong, RefusesTemposOffTheSampleGridAndInvalidSongs) {
  EXPECT_EQ(RenderSong(ShortSong(128), 0.5f).Frames(), 0u);
  Song broken = ShortSong(126);
  AddMelody(broken, broken.tracks[0], 0, "Z9", 1.0f);
  EXPECT_EQ(RenderSong(broken, 0.5f).Frames(), 0u);
}

TEST(RenderSong, GivesTheSameSamplesEveryTime) {
  const StereoBuffer first = RenderSong(ShortSong(126), 0.8f);
  const StereoBuffer second = RenderSong(ShortSong(126), 0.8f);
  EXPECT_EQ(first.left, second.left);
  EXPECT_EQ(first.right, second.right);
}

// libvorbisfile reading from a string.
struct MemoryFile {
  const std::string* bytes;
  size_t position = 0;
};

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
  MemoryFile& file = *static_cast<MemoryFile*>(source);
  const size_t wanted = size * count;
  const size_t available = std::min(wanted, file.bytes->size() - file.position);
  std::memcpy(out, file.bytes->data() + file.position, available);
  file.position += available;
  return size ? available / size : 0;
}

TEST(VorbisFile, EncodesTheExactLengthWithANominalBitrateAndFixedBytes) {
  const size_t frames = 3 * kSampleRate + 123;
  StereoBuffer tone(frames);
  Oscillator oscillator;
  for (size_t i = 0; i < frames; ++i) tone.left[i] = tone.right[i] = 0.5f * oscillator.Sine(440.0);

  std::string first;
  std::string second;
  ASSERT_TRUE(EncodeVorbis(tone, 1234, 0.4f, "Test", first));
  ASSERT_TRUE(EncodeVorbis(tone, 1234, 0.4f, "Test", second));
  EXPECT_EQ(first, second);

  MemoryFile file{&first};
  OggVorbis_File decoder;
  const ov_callbacks callbacks{ReadMemory, nullptr, nullptr, nullptr};
  ASSERT_EQ(ov_open_callbacks(&file, &decoder, nullptr, 0, callbacks), 0);
  const vorbis_info* info = ov_info(&decoder, -1);
  EXPECT_EQ(info->channels, 2);
  EXPECT_EQ(info->rate, kSampleRate);
  EXPECT_GT(info->bitrate_nominal, 0);
  EXPECT_EQ(ov_serialnumber(&decoder, -1), 1234);
  size_t decoded = 0;
  char buffer[8192];
  int section = 0;
  long got = 0;
  while ((got = ov_read(&decoder, buffer, sizeof buffer, 0, 2, 1, &section)) > 0)
    decoded += static_cast<size_t>(got);
  EXPECT_EQ(decoded, frames * 4);
  ov_clear(&decoder);
}

}  // namespace
}  // namespace synth
