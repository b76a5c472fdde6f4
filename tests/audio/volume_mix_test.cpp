// The two volume steps heard through the real OpenAL Soft, whose wave writer
// records the mix: the music, the looping thrust and a menu sound on the
// voice pool, each at a frequency of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/audio_test_support.h"
#include "audio/game_sounds.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "audio/volume.h"
#include "audio/wav_reader.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

using namespace audio_test;

namespace {

constexpr double kRate = 44100.0;
constexpr double kMusicHz = 440, kThrustHz = 1000, kMenuHz = 1500;
constexpr double kStepSeconds = 1.0;

class VolumeMixTest : public testing::Test {
 protected:
  VolumeMixTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    StartConsoleLog();
    StartTimers();
    Settings.soundEnabled = true;
  }
  ~VolumeMixTest() override {
    SetVolumeSteps(kFullVolume, kFullVolume);
    ReleaseAllSounds();
    StopAudio();
    StopTimers();
    StopConsoleLog();
    StopAssetDirectory();
    unsetenv("ALSOFT_CONF");
    Settings = SettingsRecord{};
  }

  TempDir dir;
};

// The level of one frequency in dB across [from, to) seconds (Goertzel).
double LevelDb(const std::vector<double>& samples, double frequency, double from, double to) {
  const auto start = static_cast<std::size_t>(from * kRate);
  const auto end = std::min(samples.size(), static_cast<std::size_t>(to * kRate));
  if (end <= start) return -999;
  const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / kRate);
  double previous = 0, before = 0;
  for (std::size_t i = start; i < end; ++i) {
    const double current = samples[i] + coefficient * previous - before;
    before = previous;
    previous = current;
  }
  const double power = (previous * previous + before * before - coefficient * previous * before) /
                       static_cast<double>(end - start);
  return 10 * std::log10(std::max(power, 1e-30));
}

TEST_F(VolumeMixTest, EffectsAtFiveAreSixDecibelsDownAndMusicAtZeroIsSilent) {
  dir.WriteFile(kThrustSoundFile, MonoWav16(Tone16(kThrustHz, 44100, 1.0), 44100));
  dir.WriteFile(EventSoundFile(EventSound::MenuClick),
                MonoWav16(Tone16(kMenuHz, 44100, 0.6), 44100));
  dir.WriteFile("alsoft.conf",
                "[general]\ndrivers=wave\nsample-type=int16\ndither=false\n"
                "[wave]\nfile=" +
                    (dir / "mix.wav").string() + "\n");
  setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
  ASSERT_TRUE(StartAudio());
  const auto opened = std::chrono::steady_clock::now();
  LoadAllSounds(nullptr);
  ASSERT_TRUE(WriteOggTone(dir / "music.ogg", OggTone{2, 44100, 4.0, 128000, kMusicHz}));
  auto music = std::make_unique<MusicStream>();
  ASSERT_TRUE(music->Open("music.ogg"));

  // Three steps of a second each: all at 10, effects at 5, music at 0 too.
  // The menu sound is played afresh in the first two.
  std::vector<double> stepStarts;
  auto nextStep = [&] {
    stepStarts.push_back(SecondsSince(opened));
    PlayCentredSound(EventSound::MenuClick);
  };
  music->Play(true);
  shipSounds.thrustSound->Play(true);
  nextStep();
  std::this_thread::sleep_for(std::chrono::duration<double>(kStepSeconds));
  SetVolumeSteps(kFullVolume, 5);
  nextStep();
  std::this_thread::sleep_for(std::chrono::duration<double>(kStepSeconds));
  SetVolumeSteps(0, 5);
  stepStarts.push_back(SecondsSince(opened));
  std::this_thread::sleep_for(std::chrono::duration<double>(kStepSeconds));
  music.reset();
  ReleaseAllSounds();
  StopAudio();  // the writer completes the file when its device closes
  const std::string bytes = dir.ReadFile("mix.wav");
  WavSound wav;
  ASSERT_TRUE(ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav));
  std::vector<double> mix;  // the left channel; every sound plays in the middle
  for (std::size_t i = 0; i + 3 < wav.sampleBytes; i += 4) {
    mix.push_back(static_cast<int16_t>(wav.samples[i] | wav.samples[i + 1] << 8) / 32768.0);
  }
  ASSERT_GT(mix.size(), static_cast<std::size_t>((stepStarts[2] + 0.9) * kRate));

  // Away from the changes, which land a mixing period or two late.
  auto level = [&](double frequency, int step, double from, double to) {
    return LevelDb(mix, frequency, stepStarts[step] + from, stepStarts[step] + to);
  };
  const double thrustDrop = level(kThrustHz, 1, 0.3, 0.9) - level(kThrustHz, 0, 0.3, 0.9);
  const double menuDrop = level(kMenuHz, 1, 0.15, 0.45) - level(kMenuHz, 0, 0.15, 0.45);
  std::printf("effects at 5: thrust %.2f dB, menu sound %.2f dB\n", thrustDrop, menuDrop);
  EXPECT_NEAR(thrustDrop, -6.02, 1.0);
  EXPECT_NEAR(menuDrop, -6.02, 1.0);
  EXPECT_NEAR(level(kMusicHz, 1, 0.3, 0.9), level(kMusicHz, 0, 0.3, 0.9), 1.0);

  EXPECT_LT(level(kMusicHz, 2, 0.3, 0.9), level(kMusicHz, 1, 0.3, 0.9) - 40);
  EXPECT_NEAR(level(kThrustHz, 2, 0.3, 0.9), level(kThrustHz, 1, 0.3, 0.9), 1.0);
}

}  // namespace
