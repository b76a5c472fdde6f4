#include "game/bullets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "game/game_test_support.h"

using namespace game_test;

namespace {

constexpr uint32_t kWallClock = 1234567;
uint32_t FixedWallClock() { return kWallClock; }

class BulletTest : public GameWorld {
 protected:
  BulletTest() { SetWallClockSource(FixedWallClock); }

  // The burst's starting angle: the first draw after seeding from the clock.
  static float FirstBurstAngle() {
    GameSrand(kWallClock);
    return static_cast<float>(GameRand() % 360);
  }
};

TEST_F(BulletTest, ShotsFlySeventyPlusTheCarrierForTheirLifetime) {
  Bullet plain(-1, 0, 0, 0, 0, 0, 90, 0.4f);
  for (int step = 0; step < 3; ++step) plain.Update(0.1f);
  EXPECT_EQ(plain.GetState(), ObjectState::Active);
  plain.Update(0.1f);
  EXPECT_EQ(plain.GetState(), ObjectState::Dead);
  EXPECT_NEAR(plain.x, -28, 1e-4);  // 70 × 0.4
  EXPECT_EQ(plain.GetShape()->x, plain.x);
  EXPECT_EQ(plain.GetShape()->angle, 90);

  Bullet longRange(1, 0, 0, 0, -20, 0, -90, 0.6f);
  for (int step = 0; step < 5; ++step) longRange.Update(0.1f);
  EXPECT_EQ(longRange.GetState(), ObjectState::Active);
  longRange.Update(0.1f);
  EXPECT_EQ(longRange.GetState(), ObjectState::Dead);
  EXPECT_NEAR(longRange.x, -20 + 42, 1e-4);

  // The ship's velocity adds to the shot's.
  Bullet carried(0, 1, 3, 4, 0, 0, 0, 0.4f);
  carried.Update(0.1f);
  EXPECT_NEAR(carried.x, 0.3f, 1e-5);
  EXPECT_NEAR(carried.y, 7.4f, 1e-5);
}

TEST_F(BulletTest, AShotWrapsWithItsOwnRadiusAndStopsOnceHit) {
  Bullet shot(1, 0, 0, 0, 36.1f - 0.7f, 0, -90, 0.4f);
  shot.Update(0.01f);  // onto the bound: x = 36.1 stays
  EXPECT_NEAR(shot.x, 36.1f, 1e-4);
  shot.Update(0.01f);
  EXPECT_NEAR(shot.x, -36.1f, 1e-4);

  shot.OnHit(shot);
  EXPECT_EQ(shot.GetState(), ObjectState::Hit);
  const float where = shot.x;
  shot.Update(0.1f);
  EXPECT_EQ(shot.GetState(), ObjectState::Dead);
  EXPECT_EQ(shot.x, where);
}

TEST_F(BulletTest, OneShotIsUsedUpPerAsteroid) {
  auto* asteroid = Add(new SmallAsteroid(0, {0, 0, 0}, {0, 1.5f, kPlayPlaneZ}));
  Add(MakeBullet(0, 1, 0, 0, 0, 0, 0, 0.4f));
  Add(MakeBullet(0, 1, 0, 0, 0, 0, 0, 0.4f));
  Step(1.0 / 64);
  EXPECT_EQ(asteroid->GetState(), ObjectState::Hit);
  EXPECT_EQ(levelCounters.hitCount, 1);
  EXPECT_EQ(levelCounters.levelScore, 750u);
  int active = 0, hit = 0;
  for (GameObject* shot : OfKind(ObjectKind::Bullet)) {
    active += shot->GetState() == ObjectState::Active;
    hit += shot->GetState() == ObjectState::Hit;
  }
  EXPECT_EQ(active, 1);
  EXPECT_EQ(hit, 1);
}

TEST_F(BulletTest, AStarburstThatHitsBurstsWhereItHitTwoTenthsOfASecondLater) {
  Add(new SmallAsteroid(0, {0, 0, 0}, {0, 4, kPlayPlaneZ}));
  auto* starburst = Add(MakeStarburstBullet(0, 1, 0, 0, 0, 2.5f, 0, 0.4f));
  constexpr double kStep = 1.0 / 64;
  Step(kStep);  // flies to y ≈ 3.59 and hits
  ASSERT_EQ(starburst->GetState(), ObjectState::Hit);
  const float hitX = starburst->x;
  const float hitY = starburst->y;

  Step(kStep);  // gone, and the spawner waits where it hit
  std::vector<GameObject*> shots = OfKind(ObjectKind::Bullet);
  ASSERT_EQ(shots.size(), 1u);
  auto* spawner = dynamic_cast<BurstSpawner*>(shots[0]);
  ASSERT_NE(spawner, nullptr);
  EXPECT_EQ(spawner->x, hitX);
  EXPECT_EQ(spawner->y, hitY);
  EXPECT_EQ(spawner->delay, 0.2f);
  EXPECT_EQ(spawner->GetShape()->count, 0);  // never collides

  const float start = TimerSeconds(gameTimer);
  while (OfKind(ObjectKind::Bullet).size() == 1) {
    Step(kStep);
    ASSERT_LT(TimerSeconds(gameTimer) - start, 1);
  }
  // The spawner is first updated one step after it was made.
  const float waited = TimerSeconds(gameTimer) - start;
  EXPECT_GT(waited, 0.2f - 1e-4);
  EXPECT_LT(waited, 0.2f + kStep);

  shots = OfKind(ObjectKind::Bullet);
  ASSERT_EQ(shots.size(), 8u);
  std::set<int> angles;
  for (GameObject* object : shots) {
    auto* burst = dynamic_cast<BurstBullet*>(object);
    ASSERT_NE(burst, nullptr);
    EXPECT_EQ(burst->x, hitX);
    EXPECT_EQ(burst->y, hitY);
    EXPECT_NEAR(std::hypot(burst->velX, burst->velY), 71, 1e-3);
    EXPECT_EQ(burst->lifetime, 0.1f);
    angles.insert(static_cast<int>(std::lround(burst->angle)));
  }
  const int first = static_cast<int>(FirstBurstAngle());
  std::set<int> expected;
  for (int i = 0; i < 8; ++i) expected.insert((first + 45 * i) % 360);
  EXPECT_EQ(angles, expected);

  for (int step = 0; step < 7; ++step) Step(kStep);  // 0.109 s: all flown
  EXPECT_TRUE(OfKind(ObjectKind::Bullet).empty());
}

TEST_F(BulletTest, AStarburstBurstsAtTheEndOfItsFlightAndTheBurstReachesSevenUnits) {
  // One burst shot heads along FirstBurstAngle(), another the opposite way: a
  // small asteroid 7 units out along the first is in reach, one 11 units out
  // along the second is not.
  const float radians = FirstBurstAngle() * kDegreesToRadians;
  const float dirX = -std::sin(radians);
  const float dirY = std::cos(radians);
  auto* near = Add(new SmallAsteroid(0, {0, 0, 0}, {7 * dirX, 7 * dirY, kPlayPlaneZ}));
  auto* far = Add(new SmallAsteroid(0, {0, 0, 0}, {-11 * dirX, -11 * dirY, kPlayPlaneZ}));

  // Fired from (0, -28) straight up, it ends its 28 units near the centre.
  Add(MakeStarburstBullet(0, 1, 0, 0, 0, -28, 0, 0.4f));
  for (int step = 0; step < 60 && near->GetState() == ObjectState::Active; ++step) Step(1.0 / 64);
  EXPECT_NE(near->GetState(), ObjectState::Active);
  EXPECT_EQ(levelCounters.hitCount, 1);
  for (int step = 0; step < 16; ++step) Step(1.0 / 64);
  EXPECT_EQ(far->GetState(), ObjectState::Active);
}

TEST_F(BulletTest, TheBurstSpawnerReseedsFromTheWallClockOnEveryUpdate) {
  GameSrand(kWallClock);
  GameRand();
  const int32_t secondDraw = GameRand();
  BurstSpawner spawner(0, 0, 0.2f);
  for (uint32_t seed : {99u, 5u}) {
    GameSrand(seed);
    spawner.Update(0.01f);
    EXPECT_EQ(GameRand(), secondDraw);
  }
  EXPECT_EQ(spawner.GetState(), ObjectState::Active);  // still waiting
}

}  // namespace
