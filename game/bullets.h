#pragma once
#include <cstdint>

#include "game/game_object.h"

// The shots the ship fires and the starburst's burst. Every shot is
// ObjectKind::Bullet, group MeetsAsteroids (it meets asteroids only), with
// one circle of radius 0.6; it flies straight at 70 units/s plus the
// velocity of what fired it, wraps, and goes Dead when its lifetime is flown. A shot that hits marks itself Hit: the
// asteroid does the scoring. Main thread only.

// The flight shared by every shot; it draws nothing itself.
class BulletBase : public GameObject {
 public:
  static constexpr float kRadius = 0.6f;
  static constexpr float kSpeed = 70;  // units/s along the heading

  // heading: unit heading; carrier: velocity added to 70 × heading; (x, y):
  // the starting point; angle: heading angle in degrees, for drawing;
  // lifetime: flight time in seconds.
  BulletBase(float headingX, float headingY, float carrierX, float carrierY, float x, float y,
             float angle, float lifetime);
  // Hit turns Dead without moving; otherwise moves, wraps and ages.
  void Update(float dt) override;
  void OnHit(GameObject& other) override;

  float dirX;
  float dirY;
  float velX;
  float velY;
  float angle;  // degrees
  float speed = kSpeed;
  float lifetime = 0.75f;  // seconds; every shot sets its own
  float elapsed = 0;       // seconds flown
};

// The plain shot (also long range and spread): a fading streak behind it.
class Bullet : public BulletBase {
 public:
  using BulletBase::BulletBase;
  void Draw() override;
};

// A streak that leaves a BurstSpawner where it ends: at the end of its flight,
// or one update after a hit, at the place of the hit.
class StarburstBullet : public Bullet {
 public:
  using Bullet::Bullet;
  void Update(float dt) override;
};

// One of the eight short shots of a burst: a small bright square.
class BurstBullet : public BulletBase {
 public:
  using BulletBase::BulletBase;
  void Draw() override;
};

// Waits delay seconds at (x, y), then sends out eight BurstBullets 45
// degrees apart at 71 units/s for 0.1 s each, the first at a random angle,
// and goes Dead. Kind 9, group 0 and a shape without circles: it never
// collides. Every update re-seeds the game's random generator from the wall
// clock (WallClockSeconds) before drawing the angle, so bursts within one
// second of each other share their angles.
class BurstSpawner : public GameObject {
 public:
  static constexpr float kDelay = 0.2f;  // seconds from the starburst's end

  BurstSpawner(float x, float y, float delay);
  void Update(float dt) override;

  float delay;
  float elapsed = 0;
};

// What Ship::Fire calls: each makes one Active shot as above and hands it to
// the caller, who adds it to the object list.
GameObject* MakeBullet(float headingX, float headingY, float carrierX, float carrierY, float x,
                       float y, float angle, float lifetime);
GameObject* MakeStarburstBullet(float headingX, float headingY, float carrierX, float carrierY,
                                float x, float y, float angle, float lifetime);
