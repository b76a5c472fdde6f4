#include "game/asteroids.h"

#include "audio/game_sounds.h"
#include "game/game_random.h"
#include "game/level.h"
#include "game/object_drawing.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/controls.h"
#include "platform/gl_table.h"

int32_t asteroidVariant = 0;

namespace {

constexpr uint16_t kAsteroidGroup = CollisionGroup::MeetsShip | CollisionGroup::MeetsBullets;

int32_t NextVariant() {
  const int32_t variant = asteroidVariant;
  asteroidVariant = (asteroidVariant + 1) % 3;
  return variant;
}

float RandomComponent(int32_t speed) {
  // Worked in double as written: a draw of -30 then gives exactly 0, which
  // is replaced, so no asteroid stands still along an axis.
  const double value = (GameRand() % (speed * 200) - speed * 100) * 0.01 + 0.3;
  return value == 0 ? 0.3f : static_cast<float>(value);
}

// Children of the next smaller size at the parent's centre, with the speed
// of the level being played.
template <typename Child>
void SpawnChildren(int32_t count, Vector3 at) {
  if (!objectList) return;
  const int32_t speed = LevelTable[levelCounters.currentLevel].speed;
  for (int32_t i = 0; i < count; ++i) {
    const AsteroidMotion motion = RandomChildMotion(speed);
    objectList->Add(new Child(motion.spin, motion.velocity, at));
  }
}

constexpr TextureSlot kFixedTextures[3] = {TextureSlot::Asteroid0, TextureSlot::Asteroid1,
                                           TextureSlot::Asteroid2};
constexpr TextureSlot kLitTextures[3] = {TextureSlot::GlslAsteroid0, TextureSlot::GlslAsteroid1,
                                         TextureSlot::GlslAsteroid2};
constexpr TextureSlot kLitNormals[3] = {TextureSlot::GlslAsteroid0Normal,
                                        TextureSlot::GlslAsteroid1Normal,
                                        TextureSlot::GlslAsteroid2Normal};

}  // namespace

AsteroidMotion RandomChildMotion(int32_t speed) {
  if (speed < 1) speed = 1;
  AsteroidMotion motion;
  motion.spin = static_cast<float>(GameRand() % 1201 / 10);
  motion.velocity.x = RandomComponent(speed);
  motion.velocity.y = RandomComponent(speed);
  motion.velocity.z = 0;
  return motion;
}

Asteroid::Asteroid(int32_t kind, uint16_t score, float radius, float spin, Vector3 velocity,
                   Vector3 position)
    : variant(kind == ObjectKind::FinalAsteroid ? 0 : NextVariant()),
      spin(spin),
      velX(velocity.x),
      velY(velocity.y),
      velZ(velocity.z),
      score(score) {
  this->kind = kind;
  group = kAsteroidGroup;
  x = position.x;
  y = position.y;
  z = position.z;
  shape = CollisionShape::SingleCircle(radius, x, y);
}

void Asteroid::Update(float dt) {
  if (state == ObjectState::Hit) {
    state = ObjectState::Dead;
    return;
  }
  angle = WrapAngle(angle + spin * dt);
  Drift(velX, velY, dt, angle);
}

void Asteroid::Destroy(const GameObject& other) {
  if (other.GetKind() == ObjectKind::Bullet) ++levelCounters.hitCount;
  AwardPoints(score);
  state = ObjectState::Hit;
}

void Asteroid::DrawVariant(float h) {
  BeginObjectDraw(x, y, z, angle);
  const bool lit = UseLitPath(shaderPrograms.defaultProgram);
  if (lit) {
    BindOnUnit(1, kLitNormals[variant]);
    BindOnUnit(0, kLitTextures[variant]);
    BeginLit(*shaderPrograms.defaultProgram, angle, kAsteroidLight);
  } else {
    BindTexture(kFixedTextures[variant]);
  }
  DrawObjectSquare(h, z);
  if (lit) EndLit(1);
  gl.glDisable(GL_TEXTURE_2D);
}

SmallAsteroid::SmallAsteroid(float spin, Vector3 velocity, Vector3 position)
    : Asteroid(ObjectKind::SmallAsteroid, 750, kRadius, spin, velocity, position) {}

void SmallAsteroid::Draw() { DrawVariant(0.5f); }

void SmallAsteroid::OnHit(GameObject& other) {
  Destroy(other);
  PlayEventSound(EventSound::BreakSmall, x);
}

MediumAsteroid::MediumAsteroid(float spin, Vector3 velocity, Vector3 position)
    : Asteroid(ObjectKind::MediumAsteroid, 500, kRadius, spin, velocity, position) {}

void MediumAsteroid::Draw() { DrawVariant(1); }

void MediumAsteroid::OnHit(GameObject& other) {
  Destroy(other);
  PlayEventSound(EventSound::BreakMedium, x);
  SpawnChildren<SmallAsteroid>(5, GetPosition());
}

LargeAsteroid::LargeAsteroid(float spin, Vector3 velocity, Vector3 position)
    : Asteroid(ObjectKind::LargeAsteroid, 250, kRadius, spin, velocity, position) {}

void LargeAsteroid::Draw() { DrawVariant(2); }

void LargeAsteroid::OnHit(GameObject& other) {
  Destroy(other);
  PlayEventSound(EventSound::BreakLarge, x);
  SpawnChildren<MediumAsteroid>(3, GetPosition());
}

FinalAsteroid::FinalAsteroid(float spin, Vector3 velocity, Vector3 position)
    : Asteroid(ObjectKind::FinalAsteroid, 0, kRadius, spin, velocity, position) {}

void FinalAsteroid::Draw() {
  // It has no lit variant: both paths draw the plain texture.
  BeginObjectDraw(x, y, z, angle);
  BindTexture(TextureSlot::FinalAsteroid);
  DrawObjectSquare(16, z);
  gl.glDisable(GL_TEXTURE_2D);
}

void FinalAsteroid::OnHit(GameObject& other) {
  if (other.GetKind() != ObjectKind::Bullet) return;
  ++variant;
  Rumble(RumbleKind::FinalRockHit);
  if (variant == kHitsToDestroy) {
    ++levelCounters.hitCount;
    state = ObjectState::Hit;
  }
  // Heard where the bullet struck: the rock itself spans most of the field.
  if (variant < kHitsToDestroy) PlayEventSound(EventSound::FinalHit, other.x);
  if (variant == kHitsToDestroy) PlayEventSound(EventSound::FinalCollapse, other.x);
  // The 45th hit releases its four as well: twenty large asteroids in all.
  if (variant > 0 && variant % 9 == 0) SpawnChildren<LargeAsteroid>(4, other.GetPosition());
}
