#include "game/level.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/game_test_support.h"

using namespace game_test;

namespace {

uint32_t clockSeconds = 0;
uint32_t FixedClock() { return clockSeconds; }

TEST(GameRandomTest, FollowsTheClassicRuleFromSeedOneAtStartAndAfterEverySeed) {
  GameSrand(1);
  EXPECT_EQ(GameRand(), 41);
  EXPECT_EQ(GameRand(), 18467);
  EXPECT_EQ(GameRand(), 6334);
  GameSrand(0);
  EXPECT_EQ(GameRand(), 38);
  EXPECT_EQ(GameRand(), 7719);
  EXPECT_EQ(GameRand(), 21238);
  // The state wraps mod 2^32 and values stay within 15 bits.
  GameSrand(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) {
    const int32_t value = GameRand();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
}

class LevelTest : public GameWorld {
 protected:
  LevelTest() { SetWallClockSource(FixedClock); }

  std::vector<LargeAsteroid*> Larges() const {
    std::vector<LargeAsteroid*> larges;
    for (GameObject* object : OfKind(ObjectKind::LargeAsteroid)) {
      larges.push_back(static_cast<LargeAsteroid*>(object));
    }
    return larges;
  }
};

TEST_F(LevelTest, EveryLevelPlacesItsCountOfLargeAsteroidsOutsideTheCentreBand) {
  bool sawEdgeOfBand = false;
  for (uint32_t seed = 0; seed < 40; ++seed) {
    for (uint16_t number = 1; number <= 14; ++number) {
      clockSeconds = seed * 7919;
      levelCounters.currentLevel = number;
      {
        Level level(number);
        const std::vector<LargeAsteroid*> larges = Larges();
        ASSERT_EQ(static_cast<int32_t>(larges.size()), LevelTable[number].largeAsteroids);
        const float e = static_cast<float>(LevelTable[number].speed);
        for (const LargeAsteroid* rock : larges) {
          ASSERT_GE(std::fabs(rock->x), 5.5f) << "level " << number << " seed " << seed;
          sawEdgeOfBand |= std::fabs(rock->x) == 5.5f;
          // Whole-unit grid positions inside the play area.
          EXPECT_EQ(rock->x + 35.5f, std::floor(rock->x + 35.5f));
          EXPECT_EQ(rock->y + 26.5f, std::floor(rock->y + 26.5f));
          EXPECT_GE(rock->x, -35.5f);
          EXPECT_LE(rock->x, 34.5f);
          EXPECT_GE(rock->y, -26.5f);
          EXPECT_LE(rock->y, 25.5f);
          EXPECT_EQ(rock->z, kPlayPlaneZ);
          EXPECT_GE(rock->velX, -e + 0.299f);
          EXPECT_LE(rock->velX, e + 0.291f);
          EXPECT_NE(rock->velX, 0.0f);
          EXPECT_EQ(rock->spin, std::floor(rock->spin));
          EXPECT_LE(rock->spin, 120.0f);
        }
      }
      ASSERT_EQ(objectList->Count(), 0);  // the level took its asteroids with it
    }
  }
  EXPECT_TRUE(sawEdgeOfBand);
}

TEST_F(LevelTest, TheFieldIsDrawnFromTheWallClockSecond) {
  auto field = [this](uint32_t seconds) {
    clockSeconds = seconds;
    Level level(14);
    std::vector<std::pair<float, float>> places;
    for (const LargeAsteroid* rock : Larges()) places.emplace_back(rock->x, rock->y);
    return places;
  };
  EXPECT_EQ(field(1234), field(1234));
  EXPECT_NE(field(1234), field(1235));
}

TEST_F(LevelTest, LevelFifteenStartsWithTheFinalAsteroidAloneAtTheTopRight) {
  Level level(15);
  ASSERT_EQ(objectList->Count(), 1);
  const auto* final = dynamic_cast<const FinalAsteroid*>(objectList->First()->object);
  ASSERT_NE(final, nullptr);
  EXPECT_EQ(final->x, 35.0f);
  EXPECT_EQ(final->y, 25.0f);
  EXPECT_EQ(final->z, kPlayPlaneZ);
  EXPECT_EQ(final->velX, -1.15f);
  EXPECT_EQ(final->velY, -0.85f);
  EXPECT_EQ(final->spin, 270.0f);
  EXPECT_EQ(final->variant, 0);
}

TEST_F(LevelTest, SetUpRecordsTheScoreAndTearDownKeepsOnlyTheShip) {
  playerRecord->AddScore(4000);
  levelCounters.levelScore = 99;
  Ship* ship = SpawnShip();
  const int32_t timersBefore = AcquireTimer();
  ReleaseTimer(timersBefore);
  {
    Level level(3);
    EXPECT_EQ(levelCounters.scoreAtStart, 4000u);
    EXPECT_EQ(levelCounters.levelScore, 0u);
    EXPECT_EQ(level.timer, timersBefore);
    Add(new TestShot(0, 0));
    EXPECT_EQ(objectList->Count(), 1 + 3 + 1);
  }
  EXPECT_EQ(objectList->Count(), 1);
  EXPECT_EQ(objectList->First()->object, ship);
  EXPECT_EQ(AcquireTimer(), timersBefore);  // the level gave its timer back
  ReleaseTimer(timersBefore);
}

TEST_F(LevelTest, LevelsOutsideTheTableReadTheNearestRow) {
  EXPECT_EQ(LevelTable[0].speed, 3);
  EXPECT_EQ(LevelTable[99].speed, 8);
}

using PlayerRecordTest = GameWorld;

TEST_F(PlayerRecordTest, TheFirstPointsBringALifeAndThenEveryHalfMillion) {
  EXPECT_EQ(playerRecord->lives, 3);
  playerRecord->AddScore(250);
  EXPECT_EQ(playerRecord->lives, 4);
  playerRecord->AddScore(499000);
  EXPECT_EQ(playerRecord->lives, 4);
  playerRecord->AddScore(750);  // 500000
  EXPECT_EQ(playerRecord->lives, 5);
  // One call brings one life at most, even when it passes two thresholds.
  playerRecord->AddScore(1200000);
  EXPECT_EQ(playerRecord->lives, 6);
  playerRecord->AddScore(0);  // 1700000 ≥ 1500000: the life owed comes now
  EXPECT_EQ(playerRecord->lives, 7);
  EXPECT_EQ(playerRecord->score, 1700000u);

  playerRecord->Reset();
  EXPECT_EQ(playerRecord->score, 0u);
  EXPECT_EQ(playerRecord->lives, 3);
  playerRecord->AddScore(750);
  EXPECT_EQ(playerRecord->lives, 4);
}

TEST_F(PlayerRecordTest, KeysReachTheShipOnlyWhileControlsAreOnAndLosingALifeLetsGo) {
  Ship* ship = SpawnShip();
  EXPECT_EQ(playerRecord->ship, ship);
  playerRecord->TurnLeftOn();
  playerRecord->StartThrust();
  EXPECT_FALSE(ship->turningLeft);
  EXPECT_FALSE(ship->thrusting);

  playerRecord->EnableControls();
  playerRecord->TurnLeftOn();
  playerRecord->TurnRightOn();
  playerRecord->StartThrust();
  EXPECT_TRUE(ship->turningLeft && ship->turningRight && ship->thrusting);
  EXPECT_TRUE(ship->flame->IsEmitting());

  playerRecord->LoseLife();
  EXPECT_FALSE(ship->turningLeft || ship->turningRight || ship->thrusting);
  EXPECT_FALSE(ship->flame->IsEmitting());
  EXPECT_FALSE(playerRecord->controlsEnabled);
  EXPECT_EQ(playerRecord->ship, nullptr);
  EXPECT_EQ(playerRecord->lives, 2);
  playerRecord->EnableControls();
  EXPECT_FALSE(playerRecord->Fire());
}

TEST_F(PlayerRecordTest, AShipRemovedFromTheListIsNoLongerThePlayers) {
  SpawnShip();
  objectList->KillAll();
  objectList->RemoveDead();
  EXPECT_EQ(playerRecord->ship, nullptr);
  playerRecord->EnableControls();
  playerRecord->StartThrust();  // no ship: nothing to reach
  playerRecord->ResetShip();
}

}  // namespace
