// Music and effects through the real OpenAL Soft, its mix captured by the
// wave writer backend into a file the test then listens to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "audio/audio_device.h"
#include "audio/audio_test_support.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "audio/wav_reader.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

using namespace audio_test;

namespace {

constexpr double kRate = 44100.0;

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// The left channel of the captured mix.
struct Capture {
  std::vector<double> samples;

  double Seconds(std::size_t index) const { return index / kRate; }

  // 10 ms windows loud enough to be the test's tones (half scale at the
  // source), as [start, end) sample ranges; ranges less than mergeSeconds
  // apart count as one, so a moment's underrun on a busy machine does not
  // split a tone in two.
  std::vector<std::pair<std::size_t, std::size_t>> LoudSpans(double mergeSeconds = 0) const {
    constexpr std::size_t kWindow = 441;
    const auto merge = static_cast<std::size_t>(mergeSeconds * kRate);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t at = 0; at + kWindow <= samples.size(); at += kWindow) {
      double energy = 0;
      for (std::size_t i = at; i < at + kWindow; ++i) energy += samples[i] * samples[i];
      if (std::sqrt(energy / kWindow) < 0.05) continue;
      if (!spans.empty() && at <= spans.back().second + merge) {
        spans.back().second = at + kWindow;
      } else {
        spans.push_back({at, at + kWindow});
      }
    }
    return spans;
  }

  double LoudSeconds() const {
    double total = 0;
    for (const auto& span : LoudSpans()) total += Seconds(span.second - span.first);
    return total;
  }

  // The tone's frequency from its zero crossings in [start, end).
  double Frequency(std::size_t start, std::size_t end) const {
    int crossings = 0;
    for (std::size_t i = start + 1; i < end && i < samples.size(); ++i) {
      crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    }
    return crossings / 2.0 / Seconds(end - start);
  }

  // The median of the frequencies of the 0.1 s windows in [start, end), which
  // a click at a window's edge does not move.
  double MedianFrequency(std::size_t start, std::size_t end) const {
    std::vector<double> found;
    for (std::size_t at = start; at + 4410 <= end; at += 4410) found.push_back(Frequency(at, at + 4410));
    if (found.empty()) return 0;
    std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
    return found[found.size() / 2];
  }

  // Goertzel power of one frequency in [start, end).
  double Power(double frequency, std::size_t start, std::size_t end) const {
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / kRate);
    double previous = 0, before = 0;
    for (std::size_t i = start; i < end; ++i) {
      const double current = samples[i] + coefficient * previous - before;
      before = previous;
      previous = current;
    }
    return (previous * previous + before * before - coefficient * previous * before) / (end - start);
  }
};

class OpenAlCaptureTest : public testing::Test {
 protected:
  OpenAlCaptureTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    StartConsoleLog();
    StartTimers();
    Settings.soundEnabled = true;
  }
  ~OpenAlCaptureTest() override {
    StopAudio();
    StopTimers();
    StopConsoleLog();
    StopAssetDirectory();
    unsetenv("ALSOFT_CONF");
    Settings = SettingsRecord{};
  }

  // OpenAL Soft reads its configuration when the library is loaded, which
  // StartAudio does. The sample type is a general option: under [wave] the
  // writer would keep its float samples.
  bool StartCapture() {
    return StartWith("[general]\ndrivers=wave\nsample-type=int16\ndither=false\n[wave]\nfile=" +
                     (dir / "mix.wav").string() + "\n");
  }
  bool StartSilent() { return StartWith("[general]\ndrivers=null\n"); }

  Capture StopAndListen() {
    StopAudio();  // the writer completes the file when its device closes
    const std::string bytes = dir.ReadFile("mix.wav");
    WavSound wav;
    Capture capture;
    if (!ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav)) {
      ADD_FAILURE() << "the mix is not a WAV file";
      return capture;
    }
    EXPECT_EQ(wav.format, AL_FORMAT_STEREO16);
    EXPECT_EQ(wav.frequency, 44100);
    for (std::size_t i = 0; i + 3 < wav.sampleBytes; i += 4) {
      const auto left = static_cast<int16_t>(wav.samples[i] | wav.samples[i + 1] << 8);
      capture.samples.push_back(left / 32768.0);
    }
    return capture;
  }

  std::unique_ptr<MusicStream> OpenTone(const OggTone& tone) {
    EXPECT_TRUE(WriteOggTone(dir / "music.ogg", tone));
    auto stream = std::make_unique<MusicStream>();
    EXPECT_TRUE(stream->Open("music.ogg"));
    return stream;
  }

  TempDir dir;

 private:
  bool StartWith(const std::string& config) {
    dir.WriteFile("alsoft.conf", config);
    setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
    return StartAudio();
  }
};

OggTone Tone(double seconds, double switchSeconds = 1e9) {
  OggTone tone;
  tone.seconds = seconds;
  tone.switchSeconds = switchSeconds;
  return tone;
}

TEST_F(OpenAlCaptureTest, ALoopingStreamSoundsUntilStoppedAndStopsPromptly) {
  ASSERT_TRUE(StartCapture());
  EXPECT_NE(dir.ReadFile("conlog.txt").find("loading library: libopenal.so.1... Success!\n"),
            std::string::npos);
  auto stream = OpenTone(Tone(0.8));
  const int threadsBefore = ThreadCount();
  stream->Play(true);
  Sleep(2.0);  // more than twice the stream's length
  const auto start = std::chrono::steady_clock::now();
  stream->Stop();
  EXPECT_LT(SecondsSince(start), 0.5);
  EXPECT_EQ(ThreadCount(), threadsBefore);
  stream.reset();

  const Capture capture = StopAndListen();
  EXPECT_NEAR(capture.LoudSeconds(), 2.0, 0.25);
  const auto spans = capture.LoudSpans();
  ASSERT_FALSE(spans.empty());
  EXPECT_NEAR(capture.MedianFrequency(spans.front().first, spans.back().second), 440.0, 10.0);
}

TEST_F(OpenAlCaptureTest, AStreamPlayedOnceLosesItsLastChunks) {
  ASSERT_TRUE(StartCapture());
  auto stream = OpenTone(Tone(1.5));
  stream->Play(false);
  Sleep(2.0);
  stream->Stop();
  stream.reset();
  // Chunks of 0.36 s: the third refill finds the end at about 1.09 s and
  // the source stops there, with the stream's rest still queued.
  EXPECT_NEAR(StopAndListen().LoudSeconds(), 1.09, 0.15);
}

TEST_F(OpenAlCaptureTest, PlayingAgainStartsFromTheBeginning) {
  ASSERT_TRUE(StartCapture());
  auto stream = OpenTone(Tone(3.0, 0.4));  // 440 Hz, then 880 Hz after 0.4 s
  stream->Play(true);
  Sleep(1.0);
  stream->Stop();
  Sleep(0.3);
  stream->Play(true);
  // As long as the first play, so a slow machine still leaves a long stretch
  // of the second tone to measure.
  Sleep(1.0);
  stream->Stop();
  stream.reset();

  const Capture capture = StopAndListen();
  const auto spans = capture.LoudSpans(0.15);  // the plays are 0.3 s apart
  ASSERT_EQ(spans.size(), 2u);
  const std::size_t tenth = 4410;
  for (const auto& span : spans) {
    EXPECT_NEAR(capture.MedianFrequency(span.first, span.first + 4 * tenth), 440.0, 10.0);
    EXPECT_NEAR(capture.MedianFrequency(span.first + 4 * tenth, span.second), 880.0, 10.0);
  }
}

TEST_F(OpenAlCaptureTest, TwoEffectsSoundAtOnce) {
  ASSERT_TRUE(StartCapture());
  std::string low, high;
  low = MonoWav16(Tone16(440, 44100, 1.0), 44100);
  // The second as 8-bit stereo: unsigned samples around 128.
  std::string stereo8;
  for (int i = 0; i < 44100; ++i) {
    const auto value = static_cast<char>(128 + std::lround(60 * std::sin(2 * M_PI * 1000.0 * i / 44100)));
    stereo8 += {value, value};
  }
  high = RiffWave(FmtChunk(2, 8, 44100) + Chunk("data", stereo8));
  dir.WriteFile("low.wav", low);
  dir.WriteFile("high.wav", high);
  {
    SoundEffect first, second;
    ASSERT_TRUE(first.Load("low.wav") && first.loaded());
    ASSERT_TRUE(second.Load("high.wav") && second.loaded());
    first.Play(false);
    second.Play(false);
    Sleep(0.6);
  }
  const Capture capture = StopAndListen();
  const auto spans = capture.LoudSpans();
  ASSERT_FALSE(spans.empty());
  const std::size_t from = spans.front().first + 4410, to = from + 8820;
  ASSERT_LT(to, spans.front().second);
  const double quiet = capture.Power(700, from, to);
  EXPECT_GT(capture.Power(440, from, to), 100 * quiet);
  EXPECT_GT(capture.Power(1000, from, to), 100 * quiet);
}

// Every source and buffer OpenAL handed out, seen through the table.
std::mutex namesGuard;
std::vector<ALuint> sourceNames, bufferNames;
LPALGENSOURCES realGenSources;
LPALGENBUFFERS realGenBuffers;

void AL_APIENTRY SpyGenSources(ALsizei count, ALuint* names) {
  realGenSources(count, names);
  std::lock_guard<std::mutex> hold(namesGuard);
  sourceNames.insert(sourceNames.end(), names, names + count);
}

void AL_APIENTRY SpyGenBuffers(ALsizei count, ALuint* names) {
  realGenBuffers(count, names);
  std::lock_guard<std::mutex> hold(namesGuard);
  bufferNames.insert(bufferNames.end(), names, names + count);
}

TEST_F(OpenAlCaptureTest, TwoHundredPlayStopCyclesLeaveNothingBehind) {
  ASSERT_TRUE(StartSilent());
  realGenSources = alTable.alGenSources;
  realGenBuffers = alTable.alGenBuffers;
  alTable.alGenSources = SpyGenSources;
  alTable.alGenBuffers = SpyGenBuffers;
  auto stream = OpenTone(Tone(1.0));
  const int threadsBefore = ThreadCount();

  for (int cycle = 0; cycle < 200; ++cycle) {
    stream->Play(cycle % 2 == 0);
    Sleep((cycle % 7) * 0.003);  // stop at every stage of the thread's start
    stream->Stop();
    ASSERT_FALSE(stream->HasThread());
  }

  EXPECT_EQ(ThreadCount(), threadsBefore);
  std::lock_guard<std::mutex> hold(namesGuard);
  EXPECT_EQ(sourceNames.size(), 200u);
  EXPECT_EQ(bufferNames.size(), 400u);
  for (ALuint name : sourceNames) EXPECT_EQ(alTable.alIsSource(name), AL_FALSE) << name;
  for (ALuint name : bufferNames) EXPECT_EQ(alTable.alIsBuffer(name), AL_FALSE) << name;
  std::vector<int32_t> timers;
  for (int i = 0; i < kTimerCount; ++i) timers.push_back(AcquireTimer());
  EXPECT_EQ(std::count(timers.begin(), timers.end(), -1), 0) << "a stop kept its timer";
  for (int32_t timer : timers) ReleaseTimer(timer);
}

}  // namespace
