#include "game/gameplay_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/asteroids.h"
#include "game/level_play_support.h"
#include "game/level_summary.h"
#include "game/power_ups.h"
#include "game/ship.h"
#include "platform/pause_request.h"
#include "resources/bitmap_font.h"

using namespace level_play;

namespace {

constexpr float kRadiansToDegrees = 57.29577951308232f;

// Flies the player's ship through the key snapshots, as a player would:
// turns toward the nearest asteroid (across the wrapping edges too), aiming
// where it will be when the shot arrives, fires when lined up and in reach,
// thrusts toward far ones and brakes when going too fast. Presses Q once the
// frame limit has passed, so a failing run still ends.
class Pilot {
 public:
  Pilot(NullPlatform& platform, int frameLimit) : platform_(platform), frameLimit_(frameLimit) {}

  void Fly(int frame) {
    ScriptedInput& input = platform_.input;
    input.ReleaseAll();
    if (frame > frameLimit_) input.Hold(kKeyQ);
    const Ship* ship = playerRecord->ship;
    if (!ship) return;
    const float speed = std::hypot(ship->velX, ship->velY);
    if (speed > 8) {
      const float off = TurnToward(*ship, -ship->velX, -ship->velY);
      if (std::fabs(off) < 10) input.Hold(kKeyUp);
      return;
    }
    float dx = 0, dy = 0;
    const Asteroid* target = Nearest(*ship, &dx, &dy);
    if (!target) return;
    const float radius = target->GetShape()->circles[0].radius;
    const float distance = std::hypot(dx, dy);
    const float flight = distance / 70;
    dx += (target->velX - ship->velX) * flight;
    dy += (target->velY - ship->velY) * flight;
    const float off = TurnToward(*ship, dx, dy);
    const float tolerance = std::max(1.5f, std::atan2(radius, distance) * kRadiansToDegrees);
    if (std::fabs(off) < tolerance && distance - radius < 26) input.Hold(kKeySpace);
    if (std::fabs(off) < 10 && distance - radius > 20 && speed < 5) input.Hold(kKeyUp);
  }

 private:
  // Holds the turn key toward heading (dx, dy); returns how far off it is.
  float TurnToward(const Ship& ship, float dx, float dy) {
    const float off = std::remainder(std::atan2(-dx, dy) * kRadiansToDegrees - ship.angle, 360.0f);
    if (off > 1.5f) platform_.input.Hold(kKeyLeft);
    if (off < -1.5f) platform_.input.Hold(kKeyRight);
    return off;
  }

  // The nearest Active asteroid by the gap to its edge, and the shortest way
  // to its centre, which may cross an edge of the field.
  static const Asteroid* Nearest(const Ship& ship, float* toX, float* toY) {
    const Asteroid* nearest = nullptr;
    float best = 1e9f;
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      const auto* asteroid = dynamic_cast<const Asteroid*>(node->object);
      if (!asteroid || asteroid->GetState() != ObjectState::Active) continue;
      float dx = asteroid->x - ship.x;
      float dy = asteroid->y - ship.y;
      dx -= 71 * std::round(dx / 71);
      dy -= 53 * std::round(dy / 53);
      const float gap = std::hypot(dx, dy) - asteroid->GetShape()->circles[0].radius;
      if (gap < best) {
        best = gap;
        nearest = asteroid;
        *toX = dx;
        *toY = dy;
      }
    }
    return nearest;
  }

  NullPlatform& platform_;
  int frameLimit_;
};

class GameplayLoopTest : public LevelPlay {
 protected:
  explicit GameplayLoopTest(double frameSeconds = 1.0 / 60) : LevelPlay(frameSeconds) {
    platform.KeepOnlyCurrentFrame(true);
  }

  // The flow's steps before the loop: the level's asteroids, then the clock.
  void StartLevel(uint16_t number) {
    levelCounters.currentLevel = number;
    level = std::make_unique<Level>(number);
    objectList->ResetClock();
  }
  bool Play() { return GameplayLoop(*level, gameTimer, nullptr); }

  std::unique_ptr<Level> level;
};

TEST_F(GameplayLoopTest, AScriptedPilotClearsLevelOneAndTheSummaryPaysForItsAccuracy) {
  StartLevel(1);
  Pilot pilot(platform, 60 * 60);
  platform.EachFrame([&](int frame) { pilot.Fly(frame); });
  ASSERT_TRUE(Play());
  platform.EachFrame(nullptr);

  // The large asteroid and all it broke into: 250 + 3 × 500 + 15 × 750,
  // plus any power-ups flown into.
  EXPECT_GE(levelCounters.levelScore, 13000u);
  EXPECT_EQ((levelCounters.levelScore - 13000) % 2500, 0u);
  EXPECT_GT(levelCounters.hitCount, 0);
  ASSERT_EQ(objectList->Count(), 1);  // the ship, for the next level
  EXPECT_EQ(objectList->First()->object, playerRecord->ship);
  EXPECT_FALSE(playerRecord->controlsEnabled);

  const uint32_t scoreBefore = playerRecord->score;
  const auto bonus = static_cast<uint32_t>(uint64_t{levelCounters.levelScore} *
                                           levelCounters.hitCount / level->shotCount);
  char accuracy[32];
  std::snprintf(
      accuracy, sizeof accuracy, "%.2f%%",
      100 * (static_cast<float>(levelCounters.hitCount) / static_cast<float>(level->shotCount)));
  platform.ClearTexts();
  LevelSummary(*level);
  EXPECT_EQ(playerRecord->score, scoreBefore + bonus);
  const int last = platform.frames();
  bool bonusShown = false, accuracyShown = false;
  for (const auto& printed : platform.TextsOfFrame(last)) {
    bonusShown |= printed.At(40, 30, 2) && printed.text == std::to_string(bonus);
    accuracyShown |= printed.At(40, 31, 2) && printed.text == accuracy;
  }
  EXPECT_TRUE(bonusShown);
  EXPECT_TRUE(accuracyShown) << accuracy;
}

TEST_F(GameplayLoopTest, AtLevelFifteenTheFinalAsteroidTakes45HitsAndReleases20Large) {
  StartLevel(15);
  ASSERT_EQ(objectList->CountActive(ObjectKind::FinalAsteroid), 1);
  Pilot pilot(platform, 600 * 60);
  std::set<const GameObject*> seenLarge;
  int released = 0;
  int finalHits = 0;
  bool finalDownAt45 = false;
  platform.EachFrame([&](int frame) {
    // A shield for good: this run is about the final asteroid, not survival.
    if (playerRecord->ship) playerRecord->ship->shield = 5000;
    std::set<const GameObject*> large;
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      const GameObject* object = node->object;
      if (object->GetKind() == ObjectKind::LargeAsteroid) {
        large.insert(object);
        released += seenLarge.count(object) == 0;
      } else if (object->GetKind() == ObjectKind::FinalAsteroid) {
        const auto* final = static_cast<const Asteroid*>(object);
        finalHits = final->variant;
        if (final->GetState() == ObjectState::Hit) finalDownAt45 = final->variant == 45;
        EXPECT_TRUE(final->GetState() == ObjectState::Hit || final->variant < 45);
      }
    }
    seenLarge = large;
    pilot.Fly(frame);
  });
  ASSERT_TRUE(Play());
  EXPECT_EQ(finalHits, 45);
  EXPECT_TRUE(finalDownAt45);
  EXPECT_EQ(released, 20);
  EXPECT_GE(levelCounters.levelScore, 20u * 13000);
  ASSERT_EQ(objectList->Count(), 1);
}

TEST_F(GameplayLoopTest, QEndsTheLevelAtOnceEvenDuringTheDebris) {
  StartLevel(1);
  int pressedAt = 0;
  platform.EachFrame([&](int frame) {
    Ship* ship = playerRecord->ship;
    if (frame == 5 && ship) {
      ship->shield = 0;
      ship->vulnerable = true;
      objectList->Add(new SmallAsteroid(0, {0, 0, 0}, {ship->x, ship->y, kPlayPlaneZ}));
    }
    if (frame == 20 && objectList->CountActive(ObjectKind::ShipDebris) == 1) {
      platform.input.Hold(kKeyQ);
      pressedAt = frame;
    }
  });
  EXPECT_FALSE(Play());
  ASSERT_EQ(pressedAt, 20);
  EXPECT_EQ(platform.frames(), 21);  // the snapshot after the press ends it
  EXPECT_EQ(playerRecord->lives, 3);  // the small asteroid's points brought one
  EXPECT_EQ(objectList->Count(), 0);
}

TEST_F(GameplayLoopTest, LosingTheLastShipEndsTheLevelAfterItsDebrisNotAsCleared) {
  StartLevel(1);
  objectList->KillAll();
  objectList->RemoveDead();
  objectList->Add(new SmallAsteroid(0, {0, 0, 0}, {0, 0.5f, kPlayPlaneZ}));
  playerRecord->lives = 0;
  playerRecord->extraLifeCount = 1;  // its points bring no life
  int debrisFrames = 0;
  platform.EachFrame([&](int frame) {
    if (frame == 1) {
      playerRecord->ship->shield = 0;
      playerRecord->ship->vulnerable = true;
    }
    debrisFrames += objectList->CountActive(ObjectKind::ShipDebris);
  });
  EXPECT_FALSE(Play());
  EXPECT_EQ(playerRecord->lives, -1);
  EXPECT_EQ(levelCounters.levelScore, 750u);
  EXPECT_EQ(objectList->CountActive(ObjectKind::SmallAsteroid), 0);
  // 0.75 s of debris at 60 frames a second, then the loss.
  EXPECT_NEAR(debrisFrames, 45, 1);
  EXPECT_NEAR(platform.frames(), 46, 1);
  // The ship went in the first frame; every HUD after it reads -1.
  for (int frame = 2; frame <= platform.frames(); ++frame) {
    EXPECT_NE(Find(frame, "Lives:-1"), nullptr) << "frame " << frame;
  }
}

TEST_F(GameplayLoopTest, ASurvivingShipStartsTheLevelAfreshWithItsPowerUp) {
  Ship* ship = playerRecord->SpawnShip();
  objectList->Add(ship);
  ship->powerUp = 2;
  ship->fireDelay = 500;
  ship->x = 12;
  ship->velX = 20;
  ship->shield = 0;
  ship->vulnerable = true;
  StartLevel(2);
  float shieldAtFirstFrame = 0;
  platform.EachFrame([&](int frame) {
    if (frame == 1) shieldAtFirstFrame = playerRecord->ship->Shield();
    platform.input.Hold(kKeySpace);
    if (frame == 135) platform.input.Hold(kKeyQ);  // 2.25 s
    // Keep the asteroids away; this run is about the ship.
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      if (auto* asteroid = dynamic_cast<Asteroid*>(node->object)) asteroid->x = asteroid->y = 30;
    }
  });
  EXPECT_FALSE(Play());
  EXPECT_EQ(playerRecord->ship, ship);  // carried over, not replaced
  EXPECT_EQ(ship->PowerUp(), 2);
  EXPECT_EQ(shieldAtFirstFrame, 5000);
  EXPECT_EQ(ship->velX, 0);
  EXPECT_NEAR(ship->x, 0, 1e-6);
  // Three bullets every 500 ms, counted as one shot each time.
  EXPECT_EQ(level->shotCount, 4);
  EXPECT_EQ(objectList->Count(), 1);
}

TEST_F(GameplayLoopTest, BackgroundAndObjectsAreDrawnWithoutTheDepthTestWhichTheFrameLeavesOn) {
  StartLevel(1);
  // The textures the objects of the last frame bind, in drawing order: the
  // ship its flame's and its own, an asteroid the one of its variant.
  std::vector<std::pair<int64_t, bool>> objects;  // texture name, depth test on
  platform.EachFrame([&](int frame) {
    if (frame == 2) platform.input.Hold(kKeyQ);
    objects.clear();
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      if (node->object->GetKind() == ObjectKind::Ship) {
        objects.push_back({NullPlatform::TextureName(TextureSlot::Particle), false});
        objects.push_back({NullPlatform::TextureName(TextureSlot::ShipInvulnerable), false});
      } else {
        const int32_t variant = static_cast<const Asteroid*>(node->object)->variant;
        const auto slot = static_cast<TextureSlot>(static_cast<int32_t>(TextureSlot::Asteroid0) + variant);
        objects.push_back({NullPlatform::TextureName(slot), false});
      }
    }
  });
  EXPECT_FALSE(Play());
  ASSERT_EQ(platform.frames(), 3);
  // Only the last frame is kept: follow the depth test through its calls.
  bool depthTest = true;
  std::vector<std::pair<int64_t, bool>> binds;
  for (const GlCall& call : platform.gl.Calls()) {
    if ((call.name == "glEnable" || call.name == "glDisable") && call.Int(0) == GL_DEPTH_TEST) {
      depthTest = call.name == "glEnable";
    }
    if (call.name == "glBindTexture") binds.push_back({call.Int(1), depthTest});
  }
  ASSERT_GT(binds.size(), objects.size());
  using Binds = std::vector<std::pair<int64_t, bool>>;
  EXPECT_EQ(binds[0], Binds::value_type(NullPlatform::TextureName(TextureSlot::Background), false));
  EXPECT_EQ(Binds(binds.begin() + 1, binds.begin() + 1 + static_cast<std::ptrdiff_t>(objects.size())), objects);
  EXPECT_TRUE(depthTest);
}

// One line per frame of play: the ship, the score and every power-up with
// its age, so two runs that differ in any of them differ in their traces.
std::string PlayLine() {
  char line[160];
  const Ship* ship = playerRecord->ship;
  std::snprintf(line, sizeof line, "ship %.4f %.4f %.3f %.1f score %u objects %d",
                ship ? ship->x : 0, ship ? ship->y : 0, ship ? ship->angle : 0,
                ship ? ship->Shield() : 0, playerRecord->score, objectList->Count());
  std::string text = line;
  for (const ObjectNode* node = objectList->First(); node; node = node->next) {
    if (const auto* powerUp = dynamic_cast<const PowerUp*>(node->object)) {
      std::snprintf(line, sizeof line, " power-up %d at %.1f %.1f age %.3f", powerUp->GetKind(),
                    powerUp->x, powerUp->y, powerUp->elapsed);
      text += line;
    }
  }
  return text;
}

TEST_F(GameplayLoopTest, TenSecondsOfPauseChangeNothingOfTheLevelThatFollows) {
  constexpr float kPlaySeconds = 40;
  constexpr float kPauseAt = 6;
  constexpr int kPauseFrames = 600;  // ten seconds of the fake clock
  // Plays level 6 with the pilot for kPlaySeconds of level time; with a
  // pause, P goes down at kPauseAt and again ten seconds later.
  auto run = [&](bool pause, int* pausedFrames) {
    level.reset();  // its end would clear the next level's asteroids
    delete objectList;
    objectList = new ObjectList(gameTimer);
    playerRecord->Reset();
    levelCounters = {};
    asteroidVariant = 0;
    GameSrand(1);
    StartLevel(6);                // enough asteroids to last past the first power-up drop
    platform.input.ReleaseAll();  // nothing held over from the run before
    SnapshotKeys(InputState.keys);
    Pilot pilot(platform, 1 << 30);
    std::vector<std::string> trace;
    float lastSeen = -1;
    int pressedAt = 0;
    *pausedFrames = 0;
    platform.EachFrame([&](int frame) {
      // A shield for good, so every run lasts its full time.
      if (playerRecord->ship) playerRecord->ship->shield = 5000;
      const float now = TimerSeconds(level->timer);
      if (now != lastSeen) trace.push_back(PlayLine());  // a frozen clock: paused
      *pausedFrames += now == lastSeen;
      lastSeen = now;
      pilot.Fly(frame);
      if (now > kPlaySeconds) platform.input.Hold(kKeyQ);
      if (!pause) return;
      if (pressedAt == 0 && now > kPauseAt) pressedAt = frame;
      if (pressedAt > 0 && (frame == pressedAt || frame == pressedAt + kPauseFrames)) {
        platform.input.Hold(kKeyP);
      }
    });
    Play();
    platform.EachFrame(nullptr);
    trace.push_back(PlayLine());
    return trace;
  };

  int pausedFrames = 0;
  const std::vector<std::string> straight = run(false, &pausedFrames);
  EXPECT_EQ(pausedFrames, 0);
  const uint32_t straightScore = playerRecord->score;
  const int32_t straightShots = level->shotCount;
  const int straightFrames = platform.frames();

  platform.ClearTexts();
  const std::vector<std::string> paused = run(true, &pausedFrames);
  EXPECT_EQ(platform.frames() - straightFrames, straightFrames + kPauseFrames);
  EXPECT_EQ(pausedFrames, kPauseFrames);
  for (size_t i = 0; i < std::min(straight.size(), paused.size()); ++i) {
    ASSERT_EQ(paused[i], straight[i]) << "frame " << i;
  }
  ASSERT_EQ(paused.size(), straight.size());
  EXPECT_EQ(playerRecord->score, straightScore);
  EXPECT_EQ(level->shotCount, straightShots);

  // A drop after the pause was part of what had to match.
  const size_t pauseLine = static_cast<size_t>(kPauseAt * 60);
  auto powerUps = [](const std::string& line) {
    int count = 0;
    for (size_t at = line.find("power-up"); at != std::string::npos;
         at = line.find("power-up", at + 1)) {
      ++count;
    }
    return count;
  };
  bool dropAfterPause = false;
  for (size_t i = pauseLine + 1; i < straight.size(); ++i) {
    dropAfterPause |= powerUps(straight[i]) > powerUps(straight[i - 1]);
  }
  EXPECT_TRUE(dropAfterPause);
  // What the paused frames showed.
  int pausedTexts = 0;
  for (const auto& printed : platform.Texts()) pausedTexts += printed.text == "PAUSED";
  EXPECT_EQ(pausedTexts, kPauseFrames);
}

class LevelIntroTest : public GameplayLoopTest {
 protected:
  LevelIntroTest() : GameplayLoopTest(0.02) {}
};

TEST_F(LevelIntroTest, APauseAskedForBeforeTheIntroIsDroppedAndOneDuringItIsKeptForPlay) {
  StartLevel(1);
  BitmapFont font;
  font.Init("fonts/default.tga", 1, 0);
  RequestPause();  // the focus lost in the menus
  LevelIntro(*level, gameTimer, font);
  EXPECT_FALSE(TakePauseRequest());
  const int second = platform.frames();
  platform.EachFrame([second](int frame) {
    if (frame == second + 50) RequestPause();  // the focus lost while the level number shows
  });
  LevelIntro(*level, gameTimer, font);
  platform.EachFrame(nullptr);
  EXPECT_TRUE(TakePauseRequest());
}

TEST_F(LevelIntroTest, TheLevelNumberShowsForTwoSecondsWithoutReadingKeys) {
  StartLevel(7);
  BitmapFont font;
  font.Init("fonts/default.tga", 1, 0);
  platform.KeepOnlyCurrentFrame(false);
  LevelIntro(*level, gameTimer, font);
  // 20 ms frames: the one that ends at exactly 2000 ms still goes on.
  EXPECT_EQ(platform.frames(), 101);
  EXPECT_EQ(platform.input.keySnapshots(), 0);
  const auto texts = platform.TextsOfFrame(101);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "Level: 7");
  EXPECT_TRUE(texts[0].At(2, 28, 1));
  EXPECT_FLOAT_EQ(texts[0].color[0], 0.8f);
  EXPECT_FLOAT_EQ(texts[0].color[2], 0.1f);
  size_t startPictures = 0;
  for (const GlCall& call : platform.gl.Calls("glBindTexture")) {
    startPictures += call.Int(1) == NullPlatform::TextureName(TextureSlot::Start);
  }
  EXPECT_EQ(startPictures, 101u);
}

}  // namespace
