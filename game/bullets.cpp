#include "game/bullets.h"

#include <cmath>

#include "game/game_random.h"
#include "game/object_drawing.h"
#include "game/object_list.h"
#include "platform/gl_table.h"

namespace {

constexpr int32_t kBurstCount = 8;
constexpr float kBurstSpacing = 45;       // degrees
constexpr float kBurstLifetime = 0.1f;    // seconds

struct StreakVertex {
  float x, y;
  float u, v;
  float alpha;
};

// From the head edge back to the tail, fading out. The tail's last corner
// takes texture coordinates (0, 0), not (1, 1): kept, the streak has always
// looked this way. The burst square has the same corner.
constexpr StreakVertex kStreak[6] = {{-0.3f, 0, 0, 0, 1},  {0.3f, 0, 1, 0, 1},
                                     {-0.3f, -4, 0, 1, 0}, {-0.3f, -4, 0, 1, 0},
                                     {0.3f, 0, 1, 0, 1},   {0.3f, -4, 0, 0, 0}};

constexpr QuadVertex kBurstSquare[6] = {{-0.3f, 0.3f, 0, 0},  {0.3f, 0.3f, 1, 0},
                                        {-0.3f, -0.3f, 0, 1}, {-0.3f, -0.3f, 0, 1},
                                        {0.3f, 0.3f, 1, 0},   {0.3f, -0.3f, 0, 0}};

}  // namespace

BulletBase::BulletBase(float headingX, float headingY, float carrierX, float carrierY, float x,
                       float y, float angle, float lifetime)
    : dirX(headingX),
      dirY(headingY),
      velX(kSpeed * headingX + carrierX),
      velY(kSpeed * headingY + carrierY),
      angle(angle),
      lifetime(lifetime) {
  kind = ObjectKind::Bullet;
  group = CollisionGroup::MeetsAsteroids;
  this->x = x;
  this->y = y;
  z = kPlayPlaneZ;
  shape = CollisionShape::SingleCircle(kRadius, x, y);
  shape->angle = angle;
}

void BulletBase::Update(float dt) {
  if (state == ObjectState::Hit) {
    state = ObjectState::Dead;
    return;
  }
  Drift(velX, velY, dt, angle);
  elapsed += dt;
  if (elapsed >= lifetime) state = ObjectState::Dead;
}

void BulletBase::OnHit(GameObject&) { state = ObjectState::Hit; }

void Bullet::Draw() {
  BeginObjectDraw(x, y, z, angle);
  BindTexture(TextureSlot::Bullet);
  gl.glBegin(GL_TRIANGLES);
  for (const StreakVertex& vertex : kStreak) {
    gl.glColor4f(0.66f, 0.66f, 0.66f, vertex.alpha);
    gl.glTexCoord2f(vertex.u, vertex.v);
    gl.glVertex3f(vertex.x, vertex.y, z);
  }
  gl.glEnd();
  gl.glDisable(GL_TEXTURE_2D);
}

void StarburstBullet::Update(float dt) {
  Bullet::Update(dt);
  if (state == ObjectState::Dead && objectList) {
    objectList->Add(new BurstSpawner(x, y, BurstSpawner::kDelay));
  }
}

void BurstBullet::Draw() {
  BeginObjectDraw(x, y, z, angle);
  BindTexture(TextureSlot::Bullet);
  DrawTriangles(kBurstSquare, z);
  gl.glDisable(GL_TEXTURE_2D);
}

BurstSpawner::BurstSpawner(float x, float y, float delay) : delay(delay) {
  kind = ObjectKind::Bullet;
  this->x = x;
  this->y = y;
  z = kPlayPlaneZ;
  shape = CollisionShape::Empty();
  shape->x = x;
  shape->y = y;
}

void BurstSpawner::Update(float dt) {
  // The one place the game's logic reads the wall clock.
  GameSrand(WallClockSeconds());
  const int32_t r = GameRand();
  elapsed += dt;
  if (elapsed < delay) return;
  if (objectList) {
    for (int32_t i = 0; i < kBurstCount; ++i) {
      float burstAngle = static_cast<float>(i) * kBurstSpacing + static_cast<float>(r % 360);
      if (burstAngle >= 360) burstAngle -= 360;
      const float radians = burstAngle * kDegreesToRadians;
      const float headingX = -std::sin(radians);
      const float headingY = std::cos(radians);
      // The heading doubles as the carrier velocity: 71 units/s in all.
      objectList->Add(
          new BurstBullet(headingX, headingY, headingX, headingY, x, y, burstAngle, kBurstLifetime));
    }
  }
  state = ObjectState::Dead;
}

GameObject* MakeBullet(float headingX, float headingY, float carrierX, float carrierY, float x,
                       float y, float angle, float lifetime) {
  return new Bullet(headingX, headingY, carrierX, carrierY, x, y, angle, lifetime);
}

GameObject* MakeStarburstBullet(float headingX, float headingY, float carrierX, float carrierY,
                                float x, float y, float angle, float lifetime) {
  return new StarburstBullet(headingX, headingY, carrierX, carrierY, x, y, angle, lifetime);
}
