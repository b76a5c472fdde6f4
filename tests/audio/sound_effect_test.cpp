#include "audio/sound_effect.h"

#include <gtest/gtest.h>

#include "audio/audio_device.h"
#include "audio/audio_test_support.h"
#include "platform/console_log.h"
#include "platform/asset_directory.h"
#include "resources/settings.h"
#include "support/recording_al.h"
#include "support/temp_dir.h"

using namespace audio_test;
using Calls = std::vector<std::string>;

namespace {

class SoundEffectTest : public testing::Test {
 protected:
  SoundEffectTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings.soundEnabled = true;
  }
  ~SoundEffectTest() override {
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }

  // A loaded 16-bit mono sound; its source is 1 and its buffer 1001.
  void LoadShot(SoundEffect& sound) {
    dir.WriteFile("shot.wav", MonoWav16(samples, 22050));
    ASSERT_TRUE(sound.Load("shot.wav"));
    ASSERT_TRUE(sound.loaded());
    al.ClearCalls();
  }

  TempDir dir;
  RecordingAl al;
  const std::string samples = Tone16(440, 22050, 0.01);
};

TEST_F(SoundEffectTest, LoadHandsTheSamplesToOneBufferOnOneRelativeSource) {
  SoundEffect sound;
  dir.WriteFile("shot.wav", MonoWav16(samples, 22050));
  ASSERT_TRUE(sound.Load("shot.wav"));
  EXPECT_TRUE(sound.loaded());
  EXPECT_EQ(al.Calls(), (Calls{
                            "alGenSources(1)",
                            "alGenBuffers(1)",
                            "alBufferData(1001, AL_FORMAT_MONO16, 440, 22050)",
                            "alSourcei(1, AL_BUFFER, 1001)",
                            "alSourcei(1, AL_SOURCE_RELATIVE, 1)",
                            "alSourcef(1, AL_PITCH, 1)",
                            "alSourcef(1, AL_GAIN, 1)",
                        }));
  const std::vector<uint8_t> held = al.BufferBytes(1001);
  EXPECT_EQ(std::string(held.begin(), held.end()), samples);
}

TEST_F(SoundEffectTest, PlayRestartsTheSourceAndSetsLoopingEachTime) {
  SoundEffect sound;
  LoadShot(sound);
  sound.Play(true);
  EXPECT_TRUE(sound.looping());
  sound.Play(false);
  EXPECT_FALSE(sound.looping());
  sound.Stop();
  EXPECT_EQ(al.Calls(), (Calls{
                            "alSourcei(1, AL_LOOPING, 1)",
                            "alSourcePlay(1)",
                            "alSourcei(1, AL_LOOPING, 0)",
                            "alSourcePlay(1)",
                            "alSourceStop(1)",
                        }));
}

TEST_F(SoundEffectTest, DestructionDeletesTheSourceBeforeTheBuffer) {
  auto* sound = new SoundEffect;
  LoadShot(*sound);
  delete sound;
  EXPECT_EQ(al.Calls(), (Calls{"alDeleteSources(1, 1)", "alDeleteBuffers(1, 1001)"}));
  EXPECT_TRUE(al.LiveSources().empty());
  EXPECT_TRUE(al.LiveBuffers().empty());
}

TEST_F(SoundEffectTest, WithSoundOffNothingReachesOpenAl) {
  auto* sound = new SoundEffect;
  LoadShot(*sound);
  sound->Play(true);  // playing when the player switches sound off
  al.ClearCalls();
  Settings.soundEnabled = false;
  sound->Play(false);
  sound->Stop();
  delete sound;
  EXPECT_TRUE(al.Calls().empty()) << "not even a stop for the sound still playing";
}

TEST_F(SoundEffectTest, MissingOrDamagedFilesStaySilent) {
  SoundEffect missing;
  EXPECT_FALSE(missing.Load("no/such.wav"));
  EXPECT_FALSE(missing.loaded());

  for (const std::string& bytes :
       {MonoWav16(samples).substr(0, 60), RiffWave(Chunk("data", samples) + FmtChunk(1, 16, 8000)),
        RiffWave(FmtChunk(1, 24, 8000) + Chunk("data", samples)), std::string()}) {
    SoundEffect damaged;
    dir.WriteFile("damaged.wav", bytes);
    EXPECT_TRUE(damaged.Load("damaged.wav")) << "the file itself opened";
    EXPECT_FALSE(damaged.loaded());
    damaged.Play(true);
    damaged.Stop();
  }
  EXPECT_TRUE(al.Calls().empty()) << "no names for a sound that never loads";
}

TEST_F(SoundEffectTest, DamageThatSparesTheSamplesStillPlaysAndLeavesOpenAlClean) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  // Half a 16-bit stereo frame too many, then a tag list cut short.
  const std::string odd = samples + "xy";
  dir.WriteFile("odd.wav",
                RiffWave(FmtChunk(2, 16, 22050) + Chunk("data", odd) + Chunk("LIST", "IN", 4000)));
  // A driver that answers the source setup with an error: the context must
  // not keep it for the music thread's next check.
  al.FailCall("alSourcef", AL_INVALID_VALUE);
  SoundEffect sound;
  ASSERT_TRUE(sound.Load("odd.wav"));
  EXPECT_TRUE(sound.loaded());
  EXPECT_EQ(al.BufferBytes(1001).size(), samples.size());
  EXPECT_TRUE(AlOk());

  SoundEffect missing, damaged;
  dir.WriteFile("damaged.wav", RiffWave(FmtChunk(1, 24, 8000) + Chunk("data", samples)));
  missing.Load("sound/none.wav");
  damaged.Load("damaged.wav");
  CloseConsoleLog();
  StopConsoleLog();
  EXPECT_EQ(dir.ReadFile("conlog.txt"),
            "Sound load failed: sound/none.wav\nSound load failed: damaged.wav\n");
}

TEST_F(SoundEffectTest, ShipSoundsLoadInSlotOrderAndReleaseToEmptySlots) {
  dir.WriteFile(kLaserShotSoundFile, MonoWav16(Tone16(900, 8000, 0.01), 8000));
  dir.WriteFile(kThrustSoundFile, MonoWav16(Tone16(100, 11025, 0.01), 11025));
  // The explosion file is missing: its slot still holds a silent sound.
  LoadShipSounds();
  ASSERT_NE(shipSounds.laserShotSound, nullptr);
  ASSERT_NE(shipSounds.thrustSound, nullptr);
  ASSERT_NE(shipSounds.explosionSound, nullptr);
  EXPECT_EQ(al.CallsTo("alBufferData"), (Calls{"alBufferData(1001, AL_FORMAT_MONO16, 160, 8000)",
                                               "alBufferData(1002, AL_FORMAT_MONO16, 220, 11025)"}));
  EXPECT_FALSE(shipSounds.explosionSound->loaded());
  // Loading again replaces the set without keeping the old names.
  LoadShipSounds();
  EXPECT_EQ(al.LiveBuffers().size(), 2u);
  EXPECT_EQ(al.LiveSources().size(), 2u);

  ReleaseShipSounds();
  EXPECT_EQ(shipSounds.laserShotSound, nullptr);
  EXPECT_EQ(shipSounds.thrustSound, nullptr);
  EXPECT_EQ(shipSounds.explosionSound, nullptr);
  EXPECT_TRUE(al.LiveSources().empty());
  EXPECT_TRUE(al.LiveBuffers().empty());
  ReleaseShipSounds();  // nothing left to release
}

}  // namespace
