#pragma once
#include <cstdint>

#include "game/game_object.h"

// The targets: three sizes that drift, spin, wrap and split when hit, and
// the final asteroid of level 15. Group 9: they meet the ship and bullets.
// Main thread only.

// Hands out texture variants 0, 1, 2 in turn to every small, medium and
// large asteroid made; 0 at program start and never reset.
extern int32_t asteroidVariant;

// Spin (degrees/s) and velocity (units/s) of a new asteroid, drawn with
// three GameRand calls (spin, then x, then y) and bounded by a level's
// speed e (LevelTable): spin 0..120 in whole degrees, each velocity
// component -e + 0.3 .. e + 0.29 in steps of 0.01, never 0. Children of a
// split take the speed of levelCounters.currentLevel. A speed below 1 counts as 1.
struct AsteroidMotion {
  float spin;
  Vector3 velocity;
};
AsteroidMotion RandomChildMotion(int32_t speed);

class Asteroid : public GameObject {
 public:
  // Turns, moves and wraps; a Hit asteroid turns Dead instead.
  void Update(float dt) override;

  int32_t variant;  // texture 0..2; the final asteroid's count of bullet hits
  float angle = 0;  // degrees
  float spin;       // degrees/s
  float velX;
  float velY;
  float velZ;
  uint16_t score;

 protected:
  Asteroid(int32_t kind, uint16_t score, float radius, float spin, Vector3 velocity,
           Vector3 position);
  // Small, medium and large: counts a bullet hit, scores, goes Hit (the
  // children, if any, come after).
  void Destroy(const GameObject& other);
  // Small, medium and large, both drawing paths; h the quad half-size.
  void DrawVariant(float h);
};

class SmallAsteroid : public Asteroid {
 public:
  static constexpr float kRadius = 0.45f;
  SmallAsteroid(float spin, Vector3 velocity, Vector3 position);
  void Draw() override;
  void OnHit(GameObject& other) override;
};

class MediumAsteroid : public Asteroid {
 public:
  static constexpr float kRadius = 0.95f;
  MediumAsteroid(float spin, Vector3 velocity, Vector3 position);
  void Draw() override;
  // Scores and leaves five small asteroids at its centre.
  void OnHit(GameObject& other) override;
};

class LargeAsteroid : public Asteroid {
 public:
  static constexpr float kRadius = 1.95f;
  LargeAsteroid(float spin, Vector3 velocity, Vector3 position);
  void Draw() override;
  // Scores and leaves three medium asteroids at its centre.
  void OnHit(GameObject& other) override;
};

// Takes 45 bullet hits; every ninth hit throws out four large asteroids at
// the bullet's position (20 in all). Scores nothing itself; only bullets
// harm it.
class FinalAsteroid : public Asteroid {
 public:
  static constexpr float kRadius = 16.0f;
  static constexpr int32_t kHitsToDestroy = 45;
  FinalAsteroid(float spin, Vector3 velocity, Vector3 position);
  void Draw() override;
  void OnHit(GameObject& other) override;
};
