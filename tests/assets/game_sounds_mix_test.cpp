// The generated event sounds played by the real gameplay loop through the
// real OpenAL Soft, whose wave writer records the mix for the test to
// listen to. The game runs in real time here (each frame sleeps its step),
// so the sounds land in the capture where the frames put them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/game_sounds.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "audio/wav_reader.h"
#include "game/gameplay_loop.h"
#include "game/level.h"
#include "game/level_play_support.h"
#include "game/power_ups.h"
#include "platform/console_log.h"
#include "tests/assets/generated_tree.h"

using namespace level_play;

namespace {

constexpr double kRate = 44100.0;
constexpr double kFrameSeconds = 1.0 / 60;

struct StereoCapture {
  std::vector<double> left, right;

  std::size_t At(double seconds) const {
    return std::min(left.size(), static_cast<std::size_t>(seconds * kRate));
  }
  static double Db(double value) { return 20 * std::log10(std::max(value, 1e-9)); }
  double Rms(const std::vector<double>& channel, std::size_t from, std::size_t to) const {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += channel[i] * channel[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
  }
  double Peak() const {
    double peak = 0;
    for (const auto* channel : {&left, &right}) {
      for (double s : *channel) peak = std::max(peak, std::fabs(s));
    }
    return peak;
  }
  // The first sample from `from` on where either channel passes level.
  std::size_t Onset(std::size_t from, double level) const {
    for (std::size_t i = from; i < left.size(); ++i) {
      if (std::fabs(left[i]) > level || std::fabs(right[i]) > level) return i;
    }
    return left.size();
  }
  // Left over right in dB across [from, to).
  double Balance(std::size_t from, std::size_t to) const {
    return Db(Rms(left, from, to)) - Db(Rms(right, from, to));
  }
  // Goertzel power of one frequency in the sum of both channels.
  double Power(double frequency, std::size_t from, std::size_t to) const {
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / kRate);
    double previous = 0, before = 0;
    for (std::size_t i = from; i < to; ++i) {
      const double current = left[i] + right[i] + coefficient * previous - before;
      before = previous;
      previous = current;
    }
    return (previous * previous + before * before - coefficient * previous * before) /
           static_cast<double>(to - from);
  }
};

class GameSoundsMixTest : public LevelPlay {
 protected:
  GameSoundsMixTest() : LevelPlay(kFrameSeconds) {
    platform.KeepOnlyCurrentFrame(true);
    if (std::filesystem::is_directory(kGeneratedBase / "sound")) {
      std::filesystem::copy(kGeneratedBase / "sound", platform.assets / "sound",
                            std::filesystem::copy_options::recursive);
    }
    Settings.soundEnabled = true;
    StartConsoleLog();
    // No limiter: the capture must show the mix as it is, clipping and all.
    platform.assets.WriteFile("alsoft.conf",
                              "[general]\ndrivers=wave\nsample-type=int16\n"
                              "dither=false\noutput-limiter=false\n[wave]\nfile=" +
                                  (platform.assets / "mix.wav").string() + "\n");
    setenv("ALSOFT_CONF", (platform.assets / "alsoft.conf").c_str(), 1);
    started = StartAudio();
    if (started) LoadAllSounds(nullptr);
    // Past the first extra life, which the game's first points bring: its
    // jingle would play over what these tests listen to.
    playerRecord->extraLifeCount = 1;
  }
  ~GameSoundsMixTest() override {
    music.reset();
    if (started) ReleaseAllSounds();
    StopAudio();
    StopConsoleLog();
    unsetenv("ALSOFT_CONF");
  }

  // A level with nothing in it but the ship to come, on the game's clock.
  void StartEmptyLevel() {
    levelCounters.currentLevel = 1;
    level = std::make_unique<Level>(1);
    objectList->KillAllExcept(ObjectKind::Ship);
    objectList->RemoveDead();
    objectList->ResetClock();
  }

  Asteroid* AddStillAsteroid(Asteroid* asteroid) {
    asteroid->velX = asteroid->velY = 0;
    asteroid->spin = 0;
    objectList->Add(asteroid);
    return asteroid;
  }

  // Runs the real loop, calling script with each frame number and sleeping
  // a frame's step after it; Q ends the level after lastFrame.
  void PlayFrames(int lastFrame, const std::function<void(int)>& script) {
    platform.EachFrame([&](int frame) {
      platform.input.ReleaseAll();
      if (frame > lastFrame) platform.input.Hold(kKeyQ);
      script(frame);
      std::this_thread::sleep_for(std::chrono::duration<double>(kFrameSeconds));
    });
    GameplayLoop(*level, gameTimer, music.get());
    platform.EachFrame(nullptr);
  }

  StereoCapture StopAndListen() {
    music.reset();
    ReleaseAllSounds();
    StopAudio();  // the writer completes its file when the device closes
    started = false;
    const std::string bytes = platform.assets.ReadFile("mix.wav");
    WavSound wav;
    StereoCapture capture;
    if (!ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav) ||
        wav.format != AL_FORMAT_STEREO16) {
      ADD_FAILURE() << "the mix is not a 16-bit stereo WAV file";
      return capture;
    }
    for (std::size_t i = 0; i + 3 < wav.sampleBytes; i += 4) {
      capture.left.push_back(static_cast<int16_t>(wav.samples[i] | wav.samples[i + 1] << 8) /
                             32768.0);
      capture.right.push_back(static_cast<int16_t>(wav.samples[i + 2] | wav.samples[i + 3] << 8) /
                              32768.0);
    }
    return capture;
  }

  bool started = false;
  std::unique_ptr<Level> level;
  std::unique_ptr<MusicStream> music;
};

#define START_OR_SKIP()          \
  SKIP_WITHOUT_GENERATED_TREE(); \
  ASSERT_TRUE(started) << "OpenAL's wave writer did not start"

// One run of the loop: a large asteroid broken at the left edge, one in the
// middle, then a spread and a shield power-up flown into, each heard alone.
TEST_F(GameSoundsMixTest, BreaksAreHeardWhereTheyHappenAndEachPickUpByItsOwnChime) {
  START_OR_SKIP();
  StartEmptyLevel();
  Asteroid* left = AddStillAsteroid(new LargeAsteroid(0, {}, {-34, 20, kPlayPlaneZ}));
  Asteroid* middle = AddStillAsteroid(new LargeAsteroid(0, {}, {0, 20, kPlayPlaneZ}));
  PlayFrames(320, [&](int frame) {
    if (frame == 10) objectList->Add(new game_test::TestShot(left->x, left->y));
    if (frame == 100) objectList->Add(new game_test::TestShot(middle->x, middle->y));
    if (frame == 190)
      objectList->Add(MakePowerUp(ObjectKind::SpreadPowerUp, 0, 0, PowerUp::kLifetime));
    if (frame == 250)
      objectList->Add(MakePowerUp(ObjectKind::InvulnPowerUp, 0, 0, PowerUp::kLifetime));
  });
  const StereoCapture capture = StopAndListen();

  std::vector<std::size_t> onsets;
  std::size_t from = 0;
  for (double quietAfter : {1.3, 1.3, 0.8, 0.0}) {
    onsets.push_back(capture.Onset(from, 0.002));
    ASSERT_LT(onsets.back(), capture.left.size()) << "sound " << onsets.size() << " was not heard";
    from = onsets.back() + capture.At(quietAfter);
  }
  const std::size_t span = capture.At(0.4);
  // At x = -34 the sound sits 0.48 rad to the left: about 11.5 dB.
  const double leftBalance = capture.Balance(onsets[0], onsets[0] + span);
  EXPECT_GT(leftBalance, 10.0);
  EXPECT_LT(leftBalance, 13.0);
  EXPECT_NEAR(capture.Balance(onsets[1], onsets[1] + span), 0.0, 0.5);
  std::printf("large break at x = -34: left %.1f dB over right\n", leftBalance);

  // F#5 belongs to the spread chime alone, C5 to the shield's.
  constexpr double kSpreadNote = 739.99, kShieldNote = 523.25;
  const std::size_t spread = onsets[2], shield = onsets[3];
  EXPECT_GT(capture.Power(kSpreadNote, spread, spread + span),
            10 * capture.Power(kShieldNote, spread, spread + span));
  EXPECT_GT(capture.Power(kShieldNote, shield, shield + span),
            10 * capture.Power(kSpreadNote, shield, shield + span));
}

// The loudest the game can get: twenty large breaks in one frame at the
// edges while the music plays and the ship fires, thrusts and explodes, and
// every other voice taken by the loudest lead sounds at the left edge, where
// one channel takes nearly all of it.
TEST_F(GameSoundsMixTest, TwentyBreaksInOneFrameOverEverythingElseNeitherStopTheMusicNorClip) {
  START_OR_SKIP();
  music = std::make_unique<MusicStream>();
  ASSERT_TRUE(music->Open("sound/music/SS_upbeat-tech.ogg"));
  StartEmptyLevel();
  std::vector<Asteroid*> rocks;
  for (int i = 0; i < 20; ++i) {
    const float x = i % 2 == 0 ? -34.0f : 34.0f;
    rocks.push_back(
        AddStillAsteroid(new LargeAsteroid(0, {}, {x, -24.0f + 2.5f * i, kPlayPlaneZ})));
  }
  constexpr int kBreakFrame = 60;
  PlayFrames(kBreakFrame + 240, [&](int frame) {
    if (frame < kBreakFrame + 20) {
      platform.input.Hold(kKeySpace);
      platform.input.Hold(kKeyUp);
    }
    if (frame != kBreakFrame) return;
    shipSounds.explosionSound->Play(false);
    for (EventSound lead : {EventSound::FinalCollapse, EventSound::FinalHit, EventSound::ExtraLife,
                            EventSound::LevelFanfare}) {
      for (int copy = 0; copy < VoicePool::kVoicesPerSound; ++copy) PlayEventSound(lead, -35.5f);
    }
    for (Asteroid* rock : rocks) objectList->Add(new game_test::TestShot(rock->x, rock->y));
  });
  const StereoCapture capture = StopAndListen();

  ASSERT_GT(capture.left.size(), capture.At(4.9));
  const double peak = capture.Peak();
  std::printf("twenty breaks over every other source: peak %.1f dBFS\n", StereoCapture::Db(peak));
  EXPECT_LT(peak, 32767.0 / 32768.0) << "the mix reached full scale";
  // The breaks (from about 1 s), the lead sounds (up to 3.2 s long) and the
  // ship are over by then; the loop runs on to about 5 s.
  const double music = capture.Rms(capture.left, capture.At(4.5), capture.At(4.9));
  EXPECT_GT(StereoCapture::Db(music), -40.0) << "the music stopped";
}

}  // namespace
