#include "audio/wav_reader.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include "audio/audio_test_support.h"

using namespace audio_test;

namespace {

bool Read(const std::string& bytes, WavSound* sound) {
  return ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sound);
}

std::string SamplesOf(const WavSound& sound) {
  return {reinterpret_cast<const char*>(sound.samples), sound.sampleBytes};
}

TEST(WavReader, PicksTheFormatFromChannelsAndBits) {
  struct Case {
    uint16_t channels, bits;
    int32_t format;
  };
  for (const Case& c : {Case{1, 8, AL_FORMAT_MONO8}, Case{1, 16, AL_FORMAT_MONO16},
                        Case{2, 8, AL_FORMAT_STEREO8}, Case{2, 16, AL_FORMAT_STEREO16}}) {
    const std::string samples = "\x10\x20\x30\x40\x50\x60\x70\x80";
    const std::string file = RiffWave(FmtChunk(c.channels, c.bits, 11025) + Chunk("data", samples));
    WavSound sound;
    ASSERT_TRUE(Read(file, &sound))
        << c.channels << " channels, " << c.bits << " bits";
    EXPECT_EQ(sound.format, c.format);
    EXPECT_EQ(sound.frequency, 11025);
    EXPECT_EQ(SamplesOf(sound), samples);
  }
}

TEST(WavReader, SkipsChunksAndExtensionBytesItDoesNotUse) {
  const std::string samples = Tone16(440, 8000, 0.01);
  const std::string list = Chunk("LIST", "INFOISFT" + U32(6) + "gen\0\0\0");
  WavSound sound;

  const std::string withList = RiffWave(FmtChunk(1, 16, 8000) + list + Chunk("data", samples));
  ASSERT_TRUE(Read(withList, &sound));
  EXPECT_EQ(SamplesOf(sound), samples);

  // An 18-byte block: two extension bytes after the PCM fields.
  const std::string longFormat = RiffWave(FmtChunk(2, 8, 22050, U16(0)) + Chunk("data", samples));
  ASSERT_TRUE(Read(longFormat, &sound));
  EXPECT_EQ(sound.format, AL_FORMAT_STEREO8);
  EXPECT_EQ(sound.frequency, 22050);
  EXPECT_EQ(SamplesOf(sound), samples);

  // Chunks after the samples are walked over as well.
  const std::string listLast = RiffWave(FmtChunk(1, 8, 8000) + Chunk("data", "abc") + list);
  ASSERT_TRUE(Read(listLast, &sound));
  EXPECT_EQ(SamplesOf(sound), "abc");
}

TEST(WavReader, AcceptsTheExtensibleFormatTag) {
  const std::string extension = U16(22) + std::string(22, '\0');
  WavSound sound;
  ASSERT_TRUE(Read(RiffWave(FmtChunk(2, 16, 44100, extension, 0xFFFE) + Chunk("data", "abcd")), &sound));
  EXPECT_EQ(sound.format, AL_FORMAT_STEREO16);
}

TEST(WavReader, NeedsHeaderFormatAndData) {
  const std::string fmt = FmtChunk(1, 8, 8000);
  const std::string data = Chunk("data", "abcd");
  WavSound sound;
  EXPECT_FALSE(Read("", &sound));
  EXPECT_FALSE(Read(fmt + data, &sound));
  EXPECT_FALSE(Read(Chunk("RIFF", "AVI ") + fmt + data, &sound));
  EXPECT_FALSE(Read(RiffWave(fmt), &sound));
  EXPECT_FALSE(Read(RiffWave(data), &sound));
  EXPECT_FALSE(Read(RiffWave(data + fmt), &sound)) << "samples before their format";
}

TEST(WavReader, RejectsSampleFormatsItCannotPlay) {
  const std::string data = Chunk("data", "abcdefgh");
  WavSound sound;
  EXPECT_FALSE(Read(RiffWave(FmtChunk(1, 24, 8000) + data), &sound));
  EXPECT_FALSE(Read(RiffWave(FmtChunk(3, 16, 8000) + data), &sound));
  EXPECT_FALSE(Read(RiffWave(FmtChunk(0, 16, 8000) + data), &sound));
  EXPECT_FALSE(Read(RiffWave(FmtChunk(1, 8, 8000, "", 7) + data), &sound)) << "mu-law";
  EXPECT_FALSE(Read(RiffWave(FmtChunk(1, 16, 0) + data), &sound)) << "no sample rate";
}

TEST(WavReader, RejectsSizesTheBytesDoNotHold) {
  const std::string fmt = FmtChunk(1, 16, 8000);
  WavSound sound;
  EXPECT_FALSE(Read(RiffWave(fmt + Chunk("data", "abcd", 5)), &sound));
  EXPECT_FALSE(Read(RiffWave(fmt + Chunk("data", "abcd", 0xFFFFFFFF)), &sound));
  EXPECT_FALSE(Read(RiffWave(fmt + Chunk("LIST", "xy", 0x7FFFFFFF) + Chunk("data", "ab")), &sound));
  EXPECT_FALSE(Read(RiffWave(Chunk("fmt ", std::string(16, '\0'), 40) + Chunk("data", "ab")), &sound));
  // A block too short for the PCM fields, even when the rest would parse.
  const std::string shortFmt = Chunk("fmt ", U16(1) + U16(1) + U32(8000) + U32(8000) + U16(1));
  EXPECT_FALSE(Read(RiffWave(shortFmt + U16(8) + Chunk("data", "ab")), &sound));
  // Cut-off sizes and headers.
  const std::string whole = RiffWave(fmt + Chunk("data", "abcd"));
  for (std::size_t cut : {std::size_t{2}, std::size_t{6}, std::size_t{10}, whole.size() - 2}) {
    EXPECT_FALSE(Read(whole.substr(0, cut), &sound)) << "cut at " << cut;
  }
  // Damage after the samples ends the walk and keeps them, cut to whole frames.
  for (const std::string& tail : {Chunk("junk", "", 100), std::string("LIST\x10")}) {
    const std::string wave = RiffWave(FmtChunk(2, 16, 8000) + Chunk("data", "abcdefg") + tail);
    ASSERT_TRUE(Read(wave, &sound));  // the samples point into wave
    EXPECT_EQ(SamplesOf(sound), "abcd");
  }
}

TEST(WavReader, LeavesTheResultAloneOnFailure) {
  WavSound sound;
  sound.frequency = 1234;
  EXPECT_FALSE(Read(RiffWave(FmtChunk(1, 16, 8000)), &sound));
  EXPECT_EQ(sound.frequency, 1234);
  EXPECT_EQ(sound.samples, nullptr);
}

}  // namespace
