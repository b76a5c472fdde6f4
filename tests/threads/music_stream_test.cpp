// The streaming thread against the recording OpenAL: what it queues, when it
// ends, and what it leaves behind.
#include "audio/music_stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include "audio/audio_test_support.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "resources/settings.h"
#include "support/recording_al.h"
#include "support/temp_dir.h"

using namespace audio_test;
using Calls = std::vector<std::string>;

namespace {

class MusicStreamTest : public testing::Test {
 protected:
  MusicStreamTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    StartTimers();
    Settings.soundEnabled = true;
  }
  ~MusicStreamTest() override {
    StopTimers();
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }

  // Writes the tone as "music.ogg" and opens a stream on it.
  std::unique_ptr<MusicStream> OpenTone(const OggTone& tone) {
    EXPECT_TRUE(WriteOggTone(dir / "music.ogg", tone));
    auto stream = std::make_unique<MusicStream>();
    EXPECT_TRUE(stream->Open("music.ogg"));
    return stream;
  }

  // The calls without the thread's polling, which depends on timing.
  Calls Steps() const {
    Calls steps;
    for (const std::string& call : al.Calls()) {
      if (call.rfind("alGetSourcei(", 0) != 0) steps.push_back(call);
    }
    return steps;
  }

  bool Released() const { return al.LiveSources().empty() && al.LiveBuffers().empty(); }

  TempDir dir;
  RecordingAl al;
};

OggTone Tone(double seconds, int channels = 2, int rate = 44100, long bitrate = 128000) {
  OggTone tone;
  tone.seconds = seconds;
  tone.channels = channels;
  tone.rate = rate;
  tone.bitrate = bitrate;
  return tone;
}

std::size_t TotalBytes(const std::vector<std::vector<uint8_t>>& chunks) {
  std::size_t total = 0;
  for (const auto& chunk : chunks) total += chunk.size();
  return total;
}

TEST_F(MusicStreamTest, QueuesTwoChunksOfHalfTheNominalBitrateAndReleasesThemOnStop) {
  struct Case {
    int channels, rate;
    long bitrate;
    std::string data;  // format, chunk bytes, rate
    std::string source, buffers[2];
  };
  for (const Case& c : {Case{2, 44100, 128000, "AL_FORMAT_STEREO16, 64000, 44100", "1", {"1001", "1002"}},
                        Case{1, 22050, 48000, "AL_FORMAT_MONO16, 24000, 22050", "2", {"1003", "1004"}}}) {
    SCOPED_TRACE(c.data);
    al.ClearCalls();
    auto stream = OpenTone(Tone(3.0, c.channels, c.rate, c.bitrate));
    EXPECT_EQ(stream->nominalBitrate(), c.bitrate);
    stream->Play(true);
    ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alSourcePlay").empty(); }));
    stream->Stop();

    const std::string& s = c.source;
    const std::string both = c.buffers[0] + ", " + c.buffers[1];
    EXPECT_EQ(Steps(), (Calls{
                           "alGenBuffers(2)",
                           "alGenSources(1)",
                           "alSourcei(" + s + ", AL_SOURCE_RELATIVE, 1)",
                           "alSourcef(" + s + ", AL_PITCH, 1)",
                           "alSourcef(" + s + ", AL_GAIN, 0.25)",
                           "alBufferData(" + c.buffers[0] + ", " + c.data + ")",
                           "alBufferData(" + c.buffers[1] + ", " + c.data + ")",
                           "alSourceQueueBuffers(" + s + ", 2, " + both + ")",
                           "alSourcePlay(" + s + ")",
                           "alSourceStop(" + s + ")",
                           "alDeleteSources(1, " + s + ")",
                           "alDeleteBuffers(2, " + both + ")",
                       }));
    EXPECT_FALSE(stream->HasThread());
    EXPECT_TRUE(Released());
  }
}

TEST_F(MusicStreamTest, StopRightAfterPlayEndsQuicklyAndLeavesNothingBehind) {
  auto stream = OpenTone(Tone(2.0));
  const int threadsBefore = ThreadCount();
  stream->Play(true);
  const auto start = std::chrono::steady_clock::now();
  stream->Stop();
  EXPECT_LT(SecondsSince(start), 0.5);
  EXPECT_FALSE(stream->HasThread());
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_TRUE(Released());
  // The wait's own frame timer went back to the table.
  std::vector<int32_t> timers;
  for (int i = 0; i < kTimerCount; ++i) timers.push_back(AcquireTimer());
  EXPECT_EQ(std::count(timers.begin(), timers.end(), -1), 0);
  for (int32_t timer : timers) ReleaseTimer(timer);
}

TEST_F(MusicStreamTest, WithSoundOffPlayStartsNothing) {
  auto stream = OpenTone(Tone(1.0));
  al.ClearCalls();
  Settings.soundEnabled = false;
  stream->Play(true);
  EXPECT_FALSE(stream->HasThread());
  const auto start = std::chrono::steady_clock::now();
  stream->Stop();
  EXPECT_LT(SecondsSince(start), 0.05);
  EXPECT_TRUE(al.Calls().empty());
}

TEST_F(MusicStreamTest, AStreamShorterThanOneChunkIsNotPlayed) {
  for (bool loop : {true, false}) {
    auto stream = OpenTone(Tone(0.2));  // a chunk holds 0.36 s
    al.ClearCalls();
    stream->Play(loop);
    ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alDeleteBuffers").empty(); }));
    EXPECT_TRUE(al.CallsTo("alSourcePlay").empty()) << "loop " << loop;
    EXPECT_EQ(al.CallsTo("alBufferData").size(), 1u);
    EXPECT_TRUE(Released());
    // The thread ended by itself, so Stop only joins it.
    const auto start = std::chrono::steady_clock::now();
    stream->Stop();
    EXPECT_LT(SecondsSince(start), 0.25);
  }
}

TEST_F(MusicStreamTest, ALoopingStreamRewindsAtItsEndAndKeepsPlaying) {
  auto stream = OpenTone(Tone(1.0));  // under three chunks
  al.SetBuffersProcessed(1);
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alBufferData").size() >= 10; }));
  EXPECT_TRUE(al.CallsTo("alSourceStop").empty());
  for (const auto& chunk : al.AllBufferData()) EXPECT_EQ(chunk.size(), 64000u);
  stream->Stop();
  EXPECT_TRUE(Released());
}

TEST_F(MusicStreamTest, AStreamPlayedOnceStopsAtItsEndAfterHandingOverEveryByte) {
  auto stream = OpenTone(Tone(1.0));
  al.SetBuffersProcessed(1);
  stream->Play(false);
  ASSERT_TRUE(WaitUntil([&] { return Released() && !al.CallsTo("alSourceStop").empty(); }));
  const auto chunks = al.AllBufferData();
  ASSERT_GE(chunks.size(), 3u);
  EXPECT_LT(chunks.back().size(), 64000u) << "the last chunk holds the rest of the stream";
  // 1 s of 16-bit stereo at 44.1 kHz, give or take the encoder's padding.
  EXPECT_NEAR(static_cast<double>(TotalBytes(chunks)), 176400.0, 4096.0);
  const auto start = std::chrono::steady_clock::now();
  stream->Stop();
  EXPECT_LT(SecondsSince(start), 0.05) << "the thread said it had finished";
}

TEST_F(MusicStreamTest, EachPlayStartsFromTheBeginning) {
  OggTone tone = Tone(2.0);
  tone.switchSeconds = 0.2;  // the first chunk differs from every later one
  auto stream = OpenTone(tone);
  al.SetBuffersProcessed(1);
  stream->Play(false);
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alBufferData").size() >= 4; }));
  stream->Stop();
  const std::size_t firstPlay = al.AllBufferData().size();
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alBufferData").size() > firstPlay; }));
  stream->Stop();
  const auto chunks = al.AllBufferData();
  EXPECT_EQ(chunks[firstPlay], chunks[0]);
  EXPECT_NE(chunks[firstPlay], chunks[2]);
}

TEST_F(MusicStreamTest, ASourceThatRanDryIsStartedAgain) {
  auto stream = OpenTone(Tone(2.0));
  al.SetBuffersProcessed(1);
  al.SetSourceState(AL_STOPPED);
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alSourcePlay").size() >= 3; }));
  stream->Stop();
}

TEST_F(MusicStreamTest, APausedStreamHoldsItsSourceAndPlaysItOnWhenResumed) {
  auto stream = OpenTone(Tone(2.0));
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alSourcePlay").size() == 1; }));
  stream->Pause();
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alSourcePause").size() == 1; }));
  EXPECT_EQ(al.CallsTo("alSourcePlay").size(), 1u);
  stream->Resume();
  ASSERT_TRUE(WaitUntil([&] { return al.CallsTo("alSourcePlay").size() == 2; }));
  EXPECT_EQ(al.CallsTo("alSourcePause").size(), 1u);
  stream->Stop();
  EXPECT_TRUE(Released());
}

TEST_F(MusicStreamTest, AnOpenAlErrorEndsTheThreadWithoutLeavingNames) {
  for (const char* failing : {"alGenSources", "alBufferData", "alSourceQueueBuffers"}) {
    SCOPED_TRACE(failing);
    RecordingAl failingAl;  // a fresh fake with only this fault
    failingAl.FailCall(failing);
    failingAl.SetBuffersProcessed(1);
    auto stream = OpenTone(Tone(2.0));
    stream->Play(true);
    ASSERT_TRUE(WaitUntil([&] { return !failingAl.CallsTo("alDeleteBuffers").empty(); }));
    EXPECT_TRUE(failingAl.LiveSources().empty());
    EXPECT_TRUE(failingAl.LiveBuffers().empty());
    const auto start = std::chrono::steady_clock::now();
    stream->Stop();
    EXPECT_LT(SecondsSince(start), 0.25) << "a thread that has ended is joined at once";
  }
}

TEST_F(MusicStreamTest, ADecodingErrorInTheFirstChunksPreventsPlayback) {
  ASSERT_TRUE(WriteOggTone(dir / "music.ogg", Tone(2.0)));
  // Damage one byte of the first audio page (the third page, after the
  // headers): its checksum fails, the page is dropped and the decoder
  // reports a hole in the stream.
  std::string bytes = dir.ReadFile("music.ogg");
  std::size_t page = 0;
  for (int i = 0; i < 2; ++i) page = bytes.find("OggS", page + 1);
  ASSERT_NE(page, std::string::npos);
  bytes[page + 100] ^= 0x55;
  dir.WriteFile("music.ogg", bytes);

  MusicStream stream;
  ASSERT_TRUE(stream.Open("music.ogg"));
  stream.Play(true);
  ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alDeleteBuffers").empty(); }));
  EXPECT_TRUE(al.CallsTo("alSourcePlay").empty());
  EXPECT_EQ(al.CallsTo("alBufferData").size(), 1u) << "the second chunk is decoded, not queued";
  EXPECT_TRUE(Released());
  const auto start = std::chrono::steady_clock::now();
  stream.Stop();
  EXPECT_LT(SecondsSince(start), 0.05);
}

TEST_F(MusicStreamTest, StreamsWithoutAUsableBitrateAreNotPlayed) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  for (long claimed : {0L, 2147483647L}) {
    OggTone tone = Tone(1.0);
    tone.claimedBitrate = claimed;
    auto stream = OpenTone(tone);
    EXPECT_EQ(stream->nominalBitrate(), claimed);
    stream->Play(true);
    EXPECT_FALSE(stream->HasThread()) << claimed;
  }
  CloseConsoleLog();
  StopConsoleLog();
  EXPECT_TRUE(al.Calls().empty());
  const std::string line = "Music has no usable bitrate, not played: music.ogg\n";
  EXPECT_EQ(dir.ReadFile("conlog.txt"), line + line);
}

TEST_F(MusicStreamTest, ChunksEndOnWholeFrames) {
  OggTone tone = Tone(2.0);
  tone.claimedBitrate = 128006;  // half of it is 64003, not a whole stereo frame
  auto stream = OpenTone(tone);
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alSourcePlay").empty(); }));
  stream->Stop();
  EXPECT_EQ(al.CallsTo("alBufferData")[0], "alBufferData(1001, AL_FORMAT_STEREO16, 64000, 44100)");
}

TEST_F(MusicStreamTest, ACutOrHalfNoiseStreamEndsOrLoopsAndStopsAtOnce) {
  ASSERT_TRUE(WriteOggTone(dir / "whole.ogg", Tone(2.0)));
  const std::string whole = dir.ReadFile("whole.ogg");
  std::string noisy = whole;
  uint32_t seed = 12345;
  for (std::size_t i = noisy.size() / 2; i < noisy.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    noisy[i] = static_cast<char>(seed >> 24);
  }
  dir.WriteFile("cut.ogg", whole.substr(0, whole.size() / 2));
  dir.WriteFile("noisy.ogg", noisy);
  for (const char* file : {"cut.ogg", "noisy.ogg"}) {
    for (bool loop : {false, true}) {
      SCOPED_TRACE(std::string(file) + (loop ? " looping" : " once"));
      RecordingAl streamAl;
      streamAl.SetBuffersProcessed(1);
      MusicStream stream;
      ASSERT_TRUE(stream.Open(file));
      stream.Play(loop);
      // Either the thread gives up by itself, or it goes on well past the
      // damage, rewinding each time it comes to the end.
      ASSERT_TRUE(WaitUntil([&] {
        return (streamAl.LiveSources().empty() && !streamAl.CallsTo("alDeleteSources").empty()) ||
               streamAl.CallsTo("alBufferData").size() >= 12;
      }));
      if (!loop) {
        EXPECT_TRUE(WaitUntil([&] { return !streamAl.CallsTo("alDeleteBuffers").empty(); }))
            << "a stream played once ends";
      }
      const auto start = std::chrono::steady_clock::now();
      stream.Stop();
      EXPECT_LT(SecondsSince(start), 0.25);
      EXPECT_TRUE(streamAl.LiveSources().empty() && streamAl.LiveBuffers().empty());
    }
  }
}

TEST_F(MusicStreamTest, OpenFailsForMissingAndForeignFilesWithALogLine) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  MusicStream missing;
  EXPECT_FALSE(missing.Open("sound/music/none.ogg"));
  dir.WriteFile("noise.ogg", MonoWav16(Tone16(440, 8000, 0.5)));
  MusicStream foreign;
  EXPECT_FALSE(foreign.Open("noise.ogg"));
  foreign.Play(true);
  EXPECT_FALSE(foreign.HasThread());
  CloseConsoleLog();
  StopConsoleLog();
  EXPECT_EQ(dir.ReadFile("conlog.txt"),
            "Music load failed: sound/music/none.ogg\nMusic load failed: noise.ogg\n");
}

TEST_F(MusicStreamTest, DestroyingAPlayingStreamStopsItsThread) {
  const int threadsBefore = ThreadCount();
  auto stream = OpenTone(Tone(2.0));
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alSourcePlay").empty(); }));
  stream.reset();
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_TRUE(Released());
}

TEST_F(MusicStreamTest, PlayWhilePlayingRestartsTheStream) {
  auto stream = OpenTone(Tone(2.0));
  stream->Play(true);
  stream->Play(true);
  ASSERT_TRUE(WaitUntil([&] { return !al.CallsTo("alSourcePlay").empty(); }));
  stream->Stop();
  EXPECT_TRUE(Released());
  EXPECT_EQ(al.CallsTo("alGenSources").size(), 2u);
}

}  // namespace
