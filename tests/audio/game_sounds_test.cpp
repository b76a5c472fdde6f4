#include "audio/game_sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/audio_test_support.h"
#include "platform/asset_directory.h"
#include "resources/settings.h"
#include "support/recording_al.h"
#include "support/temp_dir.h"

using namespace audio_test;
using Calls = std::vector<std::string>;

namespace {

int progressSteps = 0;
void CountStep() { ++progressSteps; }

// Every event sound a short tone but the menu click, whose file is damaged;
// no ship sounds, so the pool's sources are 1 to 16.
class GameSoundsTest : public testing::Test {
 protected:
  GameSoundsTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings.soundEnabled = true;
    for (int32_t i = 0; i < kEventSoundCount; ++i) {
      dir.WriteFile(kEventSoundFiles[i], MonoWav16(Tone16(200 + 50 * i, 22050, 0.05)));
    }
    dir.WriteFile(EventSoundFile(EventSound::MenuClick), MonoWav16("").substr(0, 30));
    progressSteps = 0;
    LoadAllSounds(CountStep);
    al.ClearCalls();
  }
  ~GameSoundsTest() override {
    ReleaseAllSounds();
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }

  // The source each play started on, in order.
  std::vector<std::string> Plays() const { return al.CallsTo("alSourcePlay"); }

  TempDir dir;
  RecordingAl al;
};

TEST_F(GameSoundsTest, ACrowdOfOneSoundIsHeardThroughItsNewestThreeCopies) {
  EXPECT_EQ(progressSteps, kEventSoundCount);
  EXPECT_EQ(gameSounds.voices.size(), VoicePool::kVoiceCount);
  for (int i = 0; i < 5; ++i) PlayEventSound(EventSound::BreakSmall, 0);
  EXPECT_EQ(Plays(), (Calls{"alSourcePlay(1)", "alSourcePlay(2)", "alSourcePlay(3)",
                            "alSourcePlay(1)", "alSourcePlay(2)"}));
  PlayEventSound(EventSound::BreakMedium, 0);  // another sound takes a free voice
  EXPECT_EQ(Plays().back(), "alSourcePlay(4)");
  EXPECT_EQ(al.CallsTo("alSourcef").back(), "alSourcef(4, AL_GAIN, 0.075)");
  PlayCentredSound(EventSound::MenuClick);  // its file is damaged: silent
  EXPECT_EQ(Plays().size(), 6u);

  ReleaseAllSounds();
  EXPECT_TRUE(al.LiveSources().empty());
  EXPECT_TRUE(al.LiveBuffers().empty());
}

TEST_F(GameSoundsTest, WhenEveryVoiceIsBusyTheOldestOfTheSameOrLowerRankGivesWay) {
  const EventSound crowd[] = {EventSound::BreakLarge, EventSound::BreakMedium,
                              EventSound::BreakSmall, EventSound::PowerUpAppear,
                              EventSound::PickUpShield};
  for (EventSound sound : crowd) {
    for (int copy = 0; copy < 3; ++copy) PlayEventSound(sound, 0);
  }
  PlayEventSound(EventSound::PickUpLongRange, 0);
  Calls expected;
  for (int source = 1; source <= 16; ++source)
    expected.push_back("alSourcePlay(" + std::to_string(source) + ")");
  ASSERT_EQ(Plays(), expected);

  al.ClearCalls();
  PlayCentredSound(EventSound::MenuTick);  // everything playing outranks a tick
  EXPECT_TRUE(Plays().empty());
  PlayEventSound(EventSound::PickUpSpread, 0);  // the oldest break gives way
  PlayEventSound(EventSound::FinalHit, 0);      // and the next oldest
  EXPECT_EQ(Plays(), (Calls{"alSourcePlay(1)", "alSourcePlay(2)"}));
  // A voice taken from a playing sound is stopped before its buffer changes.
  Calls changes;
  for (const std::string& call : al.Calls()) {
    if (call.rfind("alGetSourcei", 0) != 0) changes.push_back(call);
  }
  ASSERT_GE(changes.size(), 2u);
  EXPECT_EQ(changes[0], "alSourceStop(1)");
  EXPECT_EQ(changes[1], "alSourcei(1, AL_BUFFER, 1009)");  // the spread chime

  // However many event sounds follow, none takes the final asteroid's voice.
  al.ClearCalls();
  for (int i = 0; i < 40; ++i) PlayEventSound(crowd[i % 5], 0);
  const Calls plays = Plays();
  EXPECT_EQ(plays.size(), 40u);
  EXPECT_EQ(std::count(plays.begin(), plays.end(), "alSourcePlay(2)"), 0);

  // Once the sounds have ended a tick has its pick again.
  al.SetSourceState(AL_STOPPED);
  al.ClearCalls();
  PlayCentredSound(EventSound::MenuTick);
  EXPECT_EQ(Plays(), (Calls{"alSourcePlay(1)"}));
}

TEST_F(GameSoundsTest, ThePausePausesOnlyTheVoicesPlayingAndPlaysExactlyThoseOn) {
  PlayEventSound(EventSound::BreakLarge, -30);
  PlayEventSound(EventSound::FinalCollapse, 10);
  al.ClearCalls();
  gameSounds.voices.PausePlaying();
  EXPECT_EQ(al.CallsTo("alSourcePause"), (Calls{"alSourcePause(1)", "alSourcePause(2)"}));
  gameSounds.voices.ResumePaused();
  EXPECT_EQ(Plays(), (Calls{"alSourcePlay(1)", "alSourcePlay(2)"}));
  al.ClearCalls();
  gameSounds.voices.ResumePaused();  // nothing held any more
  EXPECT_TRUE(Plays().empty());
}

TEST(SilentRun, WithoutAnAudioDeviceTheSoundsLoadAsNothingAndPlayAsNothing) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  dir.WriteFile(EventSoundFile(EventSound::ExtraLife), MonoWav16(Tone16(440, 22050, 0.05)));
  alTable = AlTable{};  // what a run without a device leaves
  Settings.soundEnabled = true;
  progressSteps = 0;
  LoadAllSounds(CountStep);
  EXPECT_EQ(progressSteps, kEventSoundCount);
  PlayCentredSound(EventSound::ExtraLife);
  ReleaseAllSounds();
  StopAssetDirectory();
  Settings = SettingsRecord{};
}

}  // namespace
