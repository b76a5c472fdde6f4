#pragma once
#include <cstdint>
#include <memory>

#include "game/flame_emitter.h"
#include "game/game_object.h"

// The player's craft (ObjectKind::Ship; its group meets asteroids and
// power-ups).
// It turns at 180 degrees/s, thrusts at 30 units/s² up to 60 units/s with no
// drag, wraps, fires by its power-up, carries a timed shield and trails the
// thrust flame. Made by PlayerRecord::SpawnShip and owned by the object
// list; the player record steers it. Main thread only.
class Ship : public GameObject {
 public:
  static constexpr float kRadius = 1.75f;
  static constexpr float kStartShield = 5000;  // ms

  // At (0, 0), or at (30, 0) while an Active final asteroid is in the list
  // and some final asteroid's centre lies within 19 units of x = 0.
  Ship();
  // Clears the player record's reference when it points here.
  ~Ship() override;

  // Level start: back to (0, 0) at rest, heading up, 5 s shield, a new
  // flame; the power-up, fire delay and bounce flag stay.
  void Reset();
  void Update(float dt) override;
  void Draw() override;
  void OnHit(GameObject& other) override;
  // Fires by the power-up when the fire delay has passed; true when a shot
  // left the ship.
  bool Fire();

  void TurnRightOn() { turningRight = true; }
  void TurnRightOff() { turningRight = false; }
  void TurnLeftOn() { turningLeft = true; }
  void TurnLeftOff() { turningLeft = false; }
  // The flame starts at once; the thrust sound with the next 500 ms tick.
  void StartThrust();
  // Stops the flame and the thrust sound at once.
  void StopThrust();

  bool IsVulnerable() const { return vulnerable; }
  float Shield() const { return shield; }
  int32_t PowerUp() const { return powerUp; }

  float angle = 0;  // degrees; 0 points up the screen
  float dirX = 0;
  float dirY = 1;
  float velX = 0;
  float velY = 0;
  float maxSpeed = 60;
  float fireDelay = 250;  // ms
  float fireTimer = 0;    // ms since the last shot
  int32_t powerUp = 0;    // 0 none, 1 long range, 2 spread, 3 starburst
  float thrustSoundTimer = 0;  // ms
  float shield = kStartShield;  // ms left
  bool shieldFromPowerUp = false;  // its running out is then heard
  std::unique_ptr<FlameEmitter> flame;
  bool bounced = false;
  bool turningRight = false;
  bool turningLeft = false;
  bool thrusting = false;
  bool vulnerable = false;
  float prevX = 0;
  float prevY = 0;

 private:
  void ApplySpeedLimit(float nx, float ny);
};

// What is left of a destroyed ship: seven pieces flying apart for duration
// seconds (ObjectKind::ShipDebris, no shape). Plays the explosion and logs a line when made.
class ShipDebris : public GameObject {
 public:
  ShipDebris(Vector3 position, float duration);
  void Update(float dt) override;
  void Draw() override;

  float duration;
  float elapsed = 0;
};
