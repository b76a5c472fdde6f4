#include "game/power_ups.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "game/bullets.h"
#include "game/game_test_support.h"
#include "support/recording_gl.h"

using namespace game_test;

namespace {

class PowerUpTest : public GameWorld {
 protected:
  // Shots fired by holding the fire key for seconds, one try every 10 ms.
  int HoldFire(double seconds) {
    int shots = 0;
    for (int frame = 0; frame < std::lround(seconds * 100); ++frame) {
      Step(0.01);
      shots += playerRecord->Fire() ? 1 : 0;
    }
    return shots;
  }
};

struct Pickup {
  int32_t kind;
  uint32_t points;
  int32_t weapon;       // the ship's powerUp afterwards
  float fireDelay;      // ms
  int shotsIn2200ms;    // holding the fire key
  size_t shotsPerFire;  // objects one shot makes
};

TEST_F(PowerUpTest, CollectingEachPowerUpScoresAndSetsTheWeaponAndItsFireRate) {
  const Pickup pickups[] = {
      {ObjectKind::LongRangePowerUp, 2500, 1, 330, 6, 1},
      {ObjectKind::SpreadPowerUp, 2500, 2, 500, 4, 3},
      {ObjectKind::StarburstPowerUp, 2500, 3, 700, 3, 1},
  };
  Ship* ship = SpawnShip();
  playerRecord->EnableControls();
  EXPECT_EQ(HoldFire(2.2), 8);  // every 250 ms without a power-up
  for (const Pickup& pickup : pickups) {
    SCOPED_TRACE(pickup.kind);
    objectList->KillAllExcept(ObjectKind::Ship);
    objectList->RemoveDead();
    const uint32_t scoreBefore = playerRecord->score;
    const uint32_t levelBefore = levelCounters.levelScore;
    PowerUp* powerUp = Add(MakePowerUp(pickup.kind, ship->x, ship->y, PowerUp::kLifetime));
    Step(0.01);
    EXPECT_EQ(powerUp->GetState(), ObjectState::Hit);
    EXPECT_EQ(playerRecord->score - scoreBefore, pickup.points);
    EXPECT_EQ(levelCounters.levelScore - levelBefore, pickup.points);
    EXPECT_EQ(ship->PowerUp(), pickup.weapon);
    EXPECT_EQ(ship->fireDelay, pickup.fireDelay);
    Step(0.01);
    EXPECT_TRUE(OfKind(pickup.kind).empty());

    ship->fireTimer = 0;
    EXPECT_EQ(HoldFire(2.2), pickup.shotsIn2200ms);
    objectList->KillAllExcept(ObjectKind::Ship);
    objectList->RemoveDead();
    ship->fireTimer = pickup.fireDelay;
    ASSERT_TRUE(playerRecord->Fire());
    EXPECT_EQ(OfKind(ObjectKind::Bullet).size(), pickup.shotsPerFire);
  }

  // The shield refill keeps the weapon and is worth 5000.
  const uint32_t scoreBefore = playerRecord->score;
  Add(MakePowerUp(ObjectKind::InvulnPowerUp, ship->x, ship->y, PowerUp::kLifetime));
  Step(0.01);
  EXPECT_EQ(playerRecord->score - scoreBefore, 5000u);
  EXPECT_EQ(ship->Shield(), 10000);
  EXPECT_EQ(ship->PowerUp(), 3);
}

TEST_F(PowerUpTest, AnyShipCollectsButShotsPassThrough) {
  Ship* ship = SpawnShip();
  ship->shield = 0;
  ship->vulnerable = true;
  PowerUp* touched = Add(MakePowerUp(ObjectKind::SpreadPowerUp, 0, 1, PowerUp::kLifetime));
  Step(0.01);
  EXPECT_EQ(touched->GetState(), ObjectState::Hit);
  EXPECT_EQ(ship->GetState(), ObjectState::Active);

  PowerUp* shotAt = Add(MakePowerUp(ObjectKind::LongRangePowerUp, 20, 0, PowerUp::kLifetime));
  GameObject* shot = Add(MakeBullet(1, 0, 0, 0, 19.5f, 0, -90, 0.4f));
  Step(0.01);
  EXPECT_EQ(shotAt->GetState(), ObjectState::Active);
  EXPECT_EQ(shot->GetState(), ObjectState::Active);
  EXPECT_EQ(levelCounters.hitCount, 0);
}

TEST_F(PowerUpTest, APowerUpLivesItsWholeLifetimeAndGoesOneUpdateAfterCollection) {
  SpreadPowerUp spread(0, 0, 7);
  spread.Update(3.5f);
  spread.Update(3.5f);
  EXPECT_EQ(spread.GetState(), ObjectState::Active);  // elapsed == lifetime
  spread.Update(0.001f);
  EXPECT_EQ(spread.GetState(), ObjectState::Dead);

  InvulnPowerUp refill(0, 0, 7);
  refill.OnHit(refill);
  EXPECT_EQ(refill.GetState(), ObjectState::Hit);
  refill.Update(0.001f);
  EXPECT_EQ(refill.GetState(), ObjectState::Dead);
}

TEST_F(PowerUpTest, WeaponsTurnOnceOverTheirLifeWhileTheRefillWobbles) {
  RecordingGl rec;
  const float lifetime = 7;
  for (float elapsed : {0.0f, 1.75f, 3.5f, 6.3f}) {
    SCOPED_TRACE(elapsed);
    LongRangePowerUp weapon(4, 5, lifetime);
    InvulnPowerUp refill(-4, 5, lifetime);
    weapon.elapsed = refill.elapsed = elapsed;
    rec.Clear();
    weapon.Draw();
    EXPECT_NEAR(rec.Last("glRotatef").Float(0), 360 * elapsed / lifetime, 1e-3);
    EXPECT_EQ(rec.Last("glTranslatef").Float(0), 4);
    refill.Draw();
    EXPECT_NEAR(rec.Last("glRotatef").Float(0), std::sin(elapsed / lifetime * 45) * 6, 1e-4);
  }
}

TEST_F(PowerUpTest, DropsComeEvery15To30SecondsAtRandomPlacesNeverTheSameTypeTwice) {
  const int32_t levelTimer = AcquireTimer();
  GameSrand(2024);
  PowerUpSpawner spawner;
  EXPECT_GE(spawner.spawnDelay, 15);
  EXPECT_LE(spawner.spawnDelay, 30);

  struct Drop {
    float time;
    const PowerUp* powerUp;
  };
  std::vector<Drop> drops;
  std::set<int32_t> kinds;
  for (int tick = 1; tick <= 6000; ++tick) {  // ten minutes in 0.1 s steps
    clock.Advance(0.1);
    UpdateTimers();
    const float before = spawner.spawnDelay;
    spawner.Step(levelTimer);
    if (objectList->Count() == static_cast<int32_t>(drops.size())) continue;
    ASSERT_EQ(objectList->Count(), static_cast<int32_t>(drops.size()) + 1);
    const auto* dropped = static_cast<const PowerUp*>(objectList->First()->object);
    const float now = TimerSeconds(levelTimer);
    const float since = drops.empty() ? now : now - drops.back().time;
    EXPECT_GE(since, before - 1e-3);
    EXPECT_LT(since, before + 0.1f);
    drops.push_back({now, dropped});
  }
  ASSERT_GE(drops.size(), 20u);
  EXPECT_GE(drops[0].time, 15 - 1e-3);
  EXPECT_LT(drops[0].time, 30.1f);
  for (size_t i = 0; i < drops.size(); ++i) {
    const PowerUp& powerUp = *drops[i].powerUp;
    kinds.insert(powerUp.GetKind());
    EXPECT_EQ(powerUp.lifetime, 7);
    EXPECT_EQ(powerUp.GetState(), ObjectState::Active);
    // On a 0.1 grid from the lower-left corner of the play area.
    const float column = (powerUp.x + 35.5f) * 10;
    const float row = (powerUp.y + 26.5f) * 10;
    EXPECT_NEAR(column, std::round(column), 1e-2);
    EXPECT_NEAR(row, std::round(row), 1e-2);
    EXPECT_TRUE(column >= 0 && column < 710 && row >= 0 && row < 530);
    if (i > 0) {
      EXPECT_NE(powerUp.GetKind(), drops[i - 1].powerUp->GetKind());
      EXPECT_GE(drops[i].time - drops[i - 1].time, 15 - 1e-3);
    }
  }
  EXPECT_EQ(kinds.size(), 4u);
  ReleaseTimer(levelTimer);
}

}  // namespace
