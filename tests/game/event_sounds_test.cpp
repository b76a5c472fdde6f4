// What the game world plays as things happen in it, told apart by the buffer
// each play attaches (the event sounds load into buffers 1001 onwards in
// EventSound order; the ship's files are absent here).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio_test_support.h"
#include "audio/game_sounds.h"
#include "game/game_test_support.h"
#include "game/power_ups.h"
#include "platform/asset_directory.h"
#include "resources/settings.h"
#include "support/recording_al.h"
#include "support/temp_dir.h"

using namespace game_test;

namespace {

class EventSoundsTest : public GameWorld {
 protected:
  EventSoundsTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings.soundEnabled = true;
    for (const char* file : kEventSoundFiles) {
      dir.WriteFile(file, audio_test::MonoWav16(audio_test::Tone16(300, 22050, 0.05)));
    }
    LoadAllSounds(nullptr);
    objectList->ResetClock();
    al.ClearCalls();
  }
  ~EventSoundsTest() override {
    ReleaseAllSounds();
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }

  // The sounds played since the last call, in order.
  std::vector<EventSound> Played() {
    std::vector<EventSound> sounds;
    const std::string marker = ", AL_BUFFER, ";
    for (const std::string& call : al.CallsTo("alSourcei")) {
      const auto at = call.find(marker);
      if (at == std::string::npos) continue;
      sounds.push_back(static_cast<EventSound>(std::stoi(call.substr(at + marker.size())) - 1001));
    }
    al.ClearCalls();
    return sounds;
  }

  TempDir dir;
  RecordingAl al;
};

using Sounds = std::vector<EventSound>;

TEST_F(EventSoundsTest, BreaksPickUpsAndTheShieldRunningOutAreHeardWhereTheyHappen) {
  Ship* ship = SpawnShip();
  Add(new LargeAsteroid(0, {}, {-20, 10, kPlayPlaneZ}));
  Add(new TestShot(-20, 10));
  Step(0.01);
  // The first points of a game bring a life, and its jingle (centred).
  const std::vector<std::string> placed = al.CallsTo("alSource3f");
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0], "alSource3f(1, AL_POSITION, 0, 0, -1)");
  EXPECT_EQ(placed[1].rfind("alSource3f(2, AL_POSITION, -0.27", 0), 0u) << placed[1];
  EXPECT_EQ(Played(), (Sounds{EventSound::ExtraLife, EventSound::BreakLarge}));

  Add(new MediumAsteroid(0, {}, {20, -10, kPlayPlaneZ}));
  Add(new TestShot(20, -10));
  Step(0.01);
  EXPECT_EQ(Played(), (Sounds{EventSound::BreakMedium}));
  Add(new SmallAsteroid(0, {}, {20, 15, kPlayPlaneZ}));
  Add(new TestShot(20, 15));
  Step(0.01);
  EXPECT_EQ(Played(), (Sounds{EventSound::BreakSmall}));
  objectList->KillAllExcept(ObjectKind::Ship);  // the pieces would drift into the ship
  objectList->RemoveDead();

  // The start shield runs out unheard; a picked-up one is heard going.
  Step(6);
  EXPECT_TRUE(ship->IsVulnerable());
  EXPECT_EQ(Played(), Sounds{});
  Add(MakePowerUp(ObjectKind::InvulnPowerUp, ship->x, ship->y, PowerUp::kLifetime));
  Step(0.01);
  EXPECT_EQ(Played(), (Sounds{EventSound::PickUpShield}));
  Add(MakePowerUp(ObjectKind::StarburstPowerUp, ship->x, ship->y, PowerUp::kLifetime));
  Step(0.01);
  EXPECT_EQ(Played(), (Sounds{EventSound::PickUpStarburst}));
  Step(9.9);
  Step(0.2);
  EXPECT_EQ(Played(), (Sounds{EventSound::PowerUpRunsOut}));

  PowerUpSpawner spawner;
  Step(31);
  spawner.Step(gameTimer);
  EXPECT_EQ(Played(), (Sounds{EventSound::PowerUpAppear}));

  Settings.soundEnabled = false;
  Add(new LargeAsteroid(0, {}, {-20, -20, kPlayPlaneZ}));
  Add(new TestShot(-20, -20));
  Step(0.01);
  EXPECT_TRUE(al.Calls().empty()) << "sound is off";
}

TEST_F(EventSoundsTest, TheFinalAsteroidClangsAt44HitsAndCollapsesAtThe45th) {
  auto* final = Add(new FinalAsteroid(0, {}, {0, 0, kPlayPlaneZ}));
  TestShot shot(25, 3);
  for (int hit = 0; hit < FinalAsteroid::kHitsToDestroy; ++hit) final->OnHit(shot);
  Sounds expected(44, EventSound::FinalHit);
  expected.push_back(EventSound::FinalCollapse);
  EXPECT_EQ(Played(), expected);
  final->OnHit(shot);  // one more bullet in the same frame adds nothing
  EXPECT_EQ(Played(), Sounds{});
}

}  // namespace
