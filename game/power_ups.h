#pragma once
#include <cstdint>

#include "game/game_object.h"

// Pick-ups that appear at random places during play and live seven seconds.
// Only the ship meets them (group 1); the one that touches them, shielded or
// not, collects them: the power-up scores its points and the ship applies
// the effect (Ship::OnHit). They do not move and cannot be shot. Main
// thread only.

class PowerUp : public GameObject {
 public:
  static constexpr float kRadius = 0.95f;
  static constexpr float kLifetime = 7;  // seconds, for every dropped power-up

  // Ages it; Dead once elapsed is strictly beyond lifetime, or one update
  // after it was collected.
  void Update(float dt) override;
  // Collected: scores its points (player record and levelCounters.levelScore), goes Hit.
  void OnHit(GameObject& other) override;

  float lifetime;
  float elapsed = 0;  // seconds
  uint16_t score;

 protected:
  // kind 0..3 (ObjectKind); (x, y) on the play plane; lifetime in seconds.
  PowerUp(int32_t kind, uint16_t score, float x, float y, float lifetime);
  // The common drawing at a drawing angle in degrees, with the textures of
  // the kind (fixed path, or lit colour and normal map).
  void DrawAt(float angle) const;
};

// Shield refill to 10 s; 5000 points. Wobbles a little on the spot.
class InvulnPowerUp : public PowerUp {
 public:
  InvulnPowerUp(float x, float y, float lifetime);
  void Draw() override;
};

// The three weapons, 2500 points each; they turn once round over their life.
class WeaponPowerUp : public PowerUp {
 public:
  void Draw() override;

 protected:
  using PowerUp::PowerUp;
};

class LongRangePowerUp : public WeaponPowerUp {
 public:
  LongRangePowerUp(float x, float y, float lifetime);
};

class SpreadPowerUp : public WeaponPowerUp {
 public:
  SpreadPowerUp(float x, float y, float lifetime);
};

class StarburstPowerUp : public WeaponPowerUp {
 public:
  StarburstPowerUp(float x, float y, float lifetime);
};

// The power-up of kind 0..3 (ObjectKind::InvulnPowerUp ..
// StarburstPowerUp) at (x, y); nullptr for any other kind. The caller owns it.
PowerUp* MakePowerUp(int32_t kind, float x, float y, float lifetime);

// The gameplay loop's drops: the first 15 to 30 seconds into the level, then
// every 15 to 30 seconds, never the same type twice in a row. Made when the
// level's loop starts, which draws the first delay from the game's random
// generator at once.
class PowerUpSpawner {
 public:
  PowerUpSpawner();
  // Once per frame after drawing; levelTimer: the level's FrameTimer index.
  // When the delay has passed, drops a power-up at a random place into the
  // object list (if a game runs) and draws the next delay.
  void Step(int32_t levelTimer);

  float lastSpawn = 0;  // level-timer seconds of the last drop
  float spawnDelay;     // seconds, 15..30
  int32_t lastType = 0; // 1..4 (kind + 1) of the last drop, 0 before the first
};
