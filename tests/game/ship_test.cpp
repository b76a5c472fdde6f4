#include "game/ship.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/sound_effect.h"
#include "game/game_test_support.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "support/temp_dir.h"

using namespace game_test;
using Events = std::vector<std::string>;

namespace {

// Stands in for a loaded sound: remembers how it was played.
class RecordingSound : public SoundEffect {
 public:
  void Play(bool loop) override { events.push_back(loop ? "loop" : "once"); }
  void Stop() override { events.push_back("stop"); }
  Events events;
};

class ShipTest : public GameWorld {
 protected:
  ShipTest() {
    shipSounds.laserShotSound = &laser;
    shipSounds.thrustSound = &thrust;
    shipSounds.explosionSound = &explosion;
  }
  ~ShipTest() override {
    shipSounds.laserShotSound = shipSounds.thrustSound = shipSounds.explosionSound = nullptr;
  }

  static float Speed(const Ship& ship) { return std::hypot(ship.velX, ship.velY); }

  // A shieldless ship at rest in the middle, nothing else in the list.
  Ship* VulnerableShip() {
    Ship* ship = SpawnShip();
    ship->shield = 0;
    ship->vulnerable = true;
    return ship;
  }

  RecordingSound laser;
  RecordingSound thrust;
  RecordingSound explosion;
};

TEST_F(ShipTest, ThrustFromRestForOneSecondGivesSpeed30AndThereIsNoDrag) {
  Ship* ship = SpawnShip();
  ship->StartThrust();
  for (int frame = 0; frame < 60; ++frame) Step(1.0 / 60);
  EXPECT_NEAR(ship->velY, 30, 1e-3);
  EXPECT_NEAR(ship->velX, 0, 1e-5);
  ship->StopThrust();
  const float velY = ship->velY;
  const float y = ship->y;
  Step(0.25);
  EXPECT_EQ(ship->velY, velY);
  EXPECT_FLOAT_EQ(ship->y, y + 0.25f * velY);
}

TEST_F(ShipTest, TheSpeedLimitRecomputesTheLargerComponentFromTheOther) {
  Ship* ship = SpawnShip();
  ship->StartThrust();
  for (int frame = 0; frame < 300; ++frame) {
    Step(1.0 / 60);
    ASSERT_LE(Speed(*ship), 60.001f);
  }
  EXPECT_NEAR(Speed(*ship), 60, 1e-3);

  // Heading right at (59, 5): x is the larger; y stays, x = √(3600 − 5²).
  ship->angle = -90;
  ship->velX = 59;
  ship->velY = 5;
  Step(0.1);
  EXPECT_NEAR(ship->velY, 5, 1e-4);
  EXPECT_NEAR(ship->velX, std::sqrt(3575.0f), 1e-3);
  // Heading left at (−59, 5): the recomputed component keeps its sign.
  ship->angle = 90;
  ship->velX = -59;
  Step(0.1);
  EXPECT_NEAR(ship->velX, -std::sqrt(3575.0f), 1e-3);
}

TEST_F(ShipTest, AStepLongEnoughToPushBothComponentsPastTheLimitStaysReal) {
  Ship* ship = SpawnShip();
  ship->angle = 45;
  ship->StartThrust();
  Step(3.0);  // 90 units/s of thrust at 45 degrees: both components near 63.6
  EXPECT_TRUE(std::isfinite(ship->velX));
  EXPECT_TRUE(std::isfinite(ship->velY));
  EXPECT_TRUE(std::isfinite(ship->x) && std::isfinite(ship->y));
  ship->StopThrust();
  Step(0.1);
  EXPECT_NEAR(Speed(*ship), 60, 1e-3);
}

TEST_F(ShipTest, TurningIs180DegreesPerSecondAndWrapsAtAFullTurn) {
  Ship* ship = SpawnShip();
  ship->TurnLeftOn();
  Step(0.5);
  EXPECT_EQ(ship->angle, 90.0f);
  EXPECT_NEAR(ship->dirX, -1, 1e-6);
  EXPECT_NEAR(ship->dirY, 0, 1e-6);
  Step(1.5);
  EXPECT_EQ(ship->angle, 0.0f);
  ship->TurnRightOn();
  Step(0.5);
  EXPECT_EQ(ship->angle, 0.0f);  // both keys cancel
  ship->TurnLeftOff();
  Step(0.5);
  EXPECT_EQ(ship->angle, -90.0f);
  EXPECT_EQ(ship->GetShape()->angle, -90.0f);
}

TEST_F(ShipTest, TheShipWrapsOnlyBeyondTheEdgeWithItsRadius) {
  Ship* ship = SpawnShip();
  ship->x = 37;
  ship->velX = 1;
  Step(0.25);
  EXPECT_EQ(ship->x, 37.25f);
  Step(0.25);
  EXPECT_EQ(ship->x, -37.25f);
  EXPECT_EQ(ship->prevX, 37.25f);
}

TEST_F(ShipTest, ANewShipStartsBesideTheFinalAsteroidWhileItBlocksTheCentre) {
  auto* final = Add(new FinalAsteroid(0, {0, 0, 0}, {18.9f, 0, kPlayPlaneZ}));
  Ship* ship = SpawnShip();
  EXPECT_EQ(ship->x, 30.0f);
  EXPECT_EQ(ship->y, 0.0f);
  EXPECT_EQ(ship->GetShape()->x, 30.0f);

  final->x = 19;  // the test is strict
  EXPECT_EQ(SpawnShip()->x, 0.0f);
  final->x = -5;
  final->SetState(ObjectState::Hit);  // no Active final asteroid left
  EXPECT_EQ(SpawnShip()->x, 0.0f);

  // A level start puts the ship in the middle whatever the final asteroid
  // does, and the power-up carries over.
  final->SetState(ObjectState::Active);
  ship->powerUp = 2;
  ship->fireDelay = 500;
  ship->shield = 0;
  ship->vulnerable = true;
  ship->velX = 7;
  ship->StartThrust();
  const FlameEmitter* oldFlame = ship->flame.get();
  ship->Reset();
  EXPECT_EQ(ship->x, 0.0f);
  EXPECT_EQ(ship->velX, 0.0f);
  EXPECT_EQ(ship->shield, 5000.0f);
  EXPECT_FALSE(ship->vulnerable);
  EXPECT_FALSE(ship->thrusting);
  EXPECT_EQ(ship->powerUp, 2);
  EXPECT_EQ(ship->fireDelay, 500.0f);
  EXPECT_NE(ship->flame.get(), oldFlame);
  EXPECT_FALSE(ship->flame->IsEmitting());
}

TEST_F(ShipTest, TheShieldRunsOutAfterFiveSecondsAndAPowerUpRefillsIt) {
  Ship* ship = SpawnShip();
  Step(4.999);
  EXPECT_FALSE(ship->IsVulnerable());
  Step(0.002);
  EXPECT_TRUE(ship->IsVulnerable());

  GameObject pickup;
  pickup.kind = ObjectKind::SpreadPowerUp;
  ship->OnHit(pickup);
  EXPECT_EQ(ship->PowerUp(), 2);
  EXPECT_EQ(ship->fireDelay, 500.0f);
  pickup.kind = ObjectKind::InvulnPowerUp;
  ship->OnHit(pickup);
  EXPECT_FALSE(ship->IsVulnerable());
  EXPECT_EQ(ship->Shield(), 10000.0f);
  EXPECT_EQ(ship->PowerUp(), 2);  // the weapon stays
  pickup.kind = ObjectKind::StarburstPowerUp;
  ship->OnHit(pickup);
  EXPECT_EQ(ship->PowerUp(), 3);
  EXPECT_EQ(ship->fireDelay, 700.0f);
}

TEST_F(ShipTest, DestructionLeavesDebrisThenTheNextShipOrTheLossAtMinusOneLife) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();

  playerRecord->AddScore(0);  // spend the life the first points bring
  playerRecord->lives = 1;
  for (int expectedLives : {0, -1}) {
    Ship* ship = VulnerableShip();
    playerRecord->EnableControls();
    playerRecord->StartThrust();
    Add(new SmallAsteroid(0, {1, 0, 0}, {1, 0, kPlayPlaneZ}));
    Step(0.01);
    EXPECT_EQ(ship->GetState(), ObjectState::Hit);
    EXPECT_EQ(playerRecord->lives, expectedLives);
    EXPECT_EQ(playerRecord->ship, nullptr);
    EXPECT_FALSE(playerRecord->controlsEnabled);
    EXPECT_EQ(thrust.events.back(), "stop");
    const std::vector<GameObject*> debris = OfKind(ObjectKind::ShipDebris);
    ASSERT_EQ(debris.size(), 1u);
    EXPECT_EQ(debris[0]->x, ship->x);

    Step(0.01);  // the ship is gone; the debris lives 0.75 s
    EXPECT_TRUE(OfKind(ObjectKind::Ship).empty());
    Step(0.72);
    EXPECT_EQ(objectList->CountActive(ObjectKind::ShipDebris), 1);
    Step(0.02);
    EXPECT_EQ(objectList->Count(), 0);
  }
  EXPECT_EQ(explosion.events, (Events{"once", "once"}));

  CloseConsoleLog();
  StopConsoleLog();
  StopAssetDirectory();
  EXPECT_EQ(dir.ReadFile("conlog.txt"), "Hello World\nHello World\n");
}

TEST_F(ShipTest, AShieldedShipBouncesOffTheFinalAsteroidOncePerPass) {
  auto* final = Add(new FinalAsteroid(0, {-1, -0.5f, 0}, {0, 0, kPlayPlaneZ}));
  Ship* ship = SpawnShip();
  ship->x = 17.9f;  // just out of reach (16 + 1.75)
  ship->velX = -10;
  Step(0.1);
  // Both orders of the pair fire: turned round, then stepped back again.
  EXPECT_FLOAT_EQ(ship->x, 17.9f);
  EXPECT_FLOAT_EQ(ship->velX, 10 - 1);
  EXPECT_FLOAT_EQ(ship->velY, -0.5f);
  EXPECT_FALSE(ship->bounced);
  EXPECT_EQ(final->variant, 0);
  EXPECT_EQ(ship->GetState(), ObjectState::Active);

  // Called alone, the calls alternate between turning and stepping back.
  ship->OnHit(*final);
  EXPECT_TRUE(ship->bounced);
  EXPECT_FLOAT_EQ(ship->velX, -10);
  ship->OnHit(*final);
  EXPECT_FALSE(ship->bounced);
  EXPECT_FLOAT_EQ(ship->velX, -10);

  ship->vulnerable = true;
  ship->OnHit(*final);
  EXPECT_EQ(ship->GetState(), ObjectState::Hit);
}

TEST_F(ShipTest, TheThrustSoundRestartsEveryHalfSecondAndStopsOnRelease) {
  Ship* ship = SpawnShip();
  ship->StartThrust();
  ship->StartThrust();  // held: nothing more
  for (int frame = 0; frame < 8; ++frame) Step(0.125);
  EXPECT_EQ(thrust.events, (Events{"loop", "loop"}));
  ship->StopThrust();
  ship->StopThrust();
  for (int frame = 0; frame < 8; ++frame) Step(0.125);
  EXPECT_EQ(thrust.events, (Events{"loop", "loop", "stop"}));
}

TEST_F(ShipTest, FireKeepsToTheFireDelayOfThePowerUp) {
  Ship* ship = SpawnShip();
  EXPECT_FALSE(ship->Fire());  // 250 ms must pass first
  int shots = 0;
  for (int frame = 0; frame < 8; ++frame) {
    Step(0.125);
    shots += ship->Fire() ? 1 : 0;
  }
  EXPECT_EQ(shots, 4);
  EXPECT_EQ(laser.events.size(), 4u);
  EXPECT_EQ(laser.events.back(), "once");
  objectList->KillAllExcept(ObjectKind::Ship);
  objectList->RemoveDead();

  ship->powerUp = 2;
  ship->fireDelay = 500;
  Step(0.5);
  EXPECT_TRUE(ship->Fire());
  EXPECT_EQ(OfKind(ObjectKind::Bullet).size(), 3u);  // one shot, three bullets
  Step(0.375);
  EXPECT_FALSE(ship->Fire());

  ship->powerUp = 4;
  Step(1);
  EXPECT_FALSE(ship->Fire());
}

}  // namespace
