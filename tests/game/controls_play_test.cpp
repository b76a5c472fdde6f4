// The player's own keys in play, and the rumbles play asks for.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/asteroids.h"
#include "game/gameplay_loop.h"
#include "game/level_play_support.h"
#include "platform/rumble_queue.h"

using namespace level_play;

namespace {

class ControlsPlayTest : public LevelPlay {
 protected:
  ~ControlsPlayTest() override { Settings.bindings = kDefaultBindings; }
};

TEST_F(ControlsPlayTest, ReboundKeysFirePauseAndGiveUpWhileTheOldOnesDoNothing) {
  Settings.bindings.keys[kActionFire] = kKeyLeftControl;
  Settings.bindings.keys[kActionGiveUp] = kKeyX;
  Settings.bindings.keys[kActionPause] = kKeyF1;
  Settings.bindings.padButtons[kActionPause] = kPadY;
  levelCounters.currentLevel = 1;
  Level level(1);
  objectList->ResetClock();
  int32_t shotsBySpace = -1;
  platform.EachFrame([&](int frame) {
    if (playerRecord->ship) playerRecord->ship->shield = 5000;
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      if (auto* asteroid = dynamic_cast<Asteroid*>(node->object)) asteroid->x = asteroid->y = 30;
    }
    platform.input.ReleaseAll();
    if (frame <= 60) {
      for (int old : {kKeySpace, kKeyP, kKeyQ}) platform.input.Hold(old);
    }
    if (frame == 61) shotsBySpace = level.shotCount;
    if (frame > 61 && frame <= 120) platform.input.Hold(kKeyLeftControl);
    if (frame == 130) platform.input.Hold(kKeyF1);     // pauses
    if (frame == 140) platform.input.Hold(kKeyPause);  // goes on
    if (frame == 150) platform.input.Hold(kKeyPause);  // pauses again
    if (frame == 160) platform.input.Hold(kKeyX);      // gives up
    if (frame > 200) platform.input.Hold(kKeyQ);       // a failing run still ends
  });
  EXPECT_FALSE(GameplayLoop(level, gameTimer, nullptr));
  EXPECT_EQ(shotsBySpace, 0);
  EXPECT_GE(level.shotCount, 3);  // a shot every 250 ms for a second
  // The pause reads its keys after each frame: the press of frame 160 ends it.
  EXPECT_EQ(platform.frames(), 160);

  // Paused for frames 131 to 140 and 151 to 160, naming the bound keys; P
  // paused nothing while it was held.
  int pausedFrames = 0;
  for (int frame = 1; frame <= platform.frames(); ++frame) {
    const auto texts = TextsOf(frame);
    const auto paused = std::find(texts.begin(), texts.end(), "PAUSED");
    if (paused == texts.end()) continue;
    ++pausedFrames;
    ASSERT_EQ(texts.end() - paused, 3);
    EXPECT_EQ(paused[1], "F1 or Y: go on");
    EXPECT_EQ(paused[2], "X or BACK held: give up");
  }
  EXPECT_EQ(pausedFrames, 20);
}

TEST_F(ControlsPlayTest, ShieldHitsTheShipBreakingUpAndHitsOnTheFinalRockRumble) {
  TakeRumbleRequest();
  Ship* ship = SpawnShip();
  Add(new SmallAsteroid(0, {}, {ship->x, ship->y, kPlayPlaneZ}));
  Step(0.01);
  EXPECT_EQ(TakeRumbleRequest(), static_cast<int>(RumbleKind::ShieldHit));

  ship->shield = 0;
  ship->vulnerable = true;
  Add(new SmallAsteroid(0, {}, {ship->x, ship->y, kPlayPlaneZ}));
  Step(0.01);
  EXPECT_EQ(TakeRumbleRequest(), static_cast<int>(RumbleKind::ShipBreakUp));

  Asteroid* rock = Add(new FinalAsteroid(0, {}, {-20, 0, kPlayPlaneZ}));  // clear of the debris
  Add(new game_test::TestShot(rock->x + 10, rock->y));
  Step(0.01);
  EXPECT_EQ(TakeRumbleRequest(), static_cast<int>(RumbleKind::FinalRockHit));
  Step(0.01);
  EXPECT_EQ(TakeRumbleRequest(), kNoRumble);
}

}  // namespace
