#include "game/power_ups.h"

#include <cmath>

#include "audio/game_sounds.h"
#include "game/game_random.h"
#include "game/level.h"
#include "game/object_drawing.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"

namespace {

constexpr uint16_t kInvulnScore = 5000;
constexpr uint16_t kWeaponScore = 2500;

// By kind 0..3, so the player hears which one he took.
constexpr EventSound kPickUpSounds[4] = {EventSound::PickUpShield, EventSound::PickUpLongRange,
                                         EventSound::PickUpSpread, EventSound::PickUpStarburst};

struct PowerUpTextures {
  TextureSlot fixed;
  TextureSlot lit;
  TextureSlot litNormal;
};

// By kind, InvulnPowerUp .. StarburstPowerUp.
constexpr PowerUpTextures kTextures[4] = {
    {TextureSlot::PowerInvulnerable, TextureSlot::GlslPowerInvulnerable,
     TextureSlot::GlslPowerInvulnerableNormal},
    {TextureSlot::PowerLongRange, TextureSlot::GlslPowerLongRange,
     TextureSlot::GlslPowerLongRangeNormal},
    {TextureSlot::PowerSpread, TextureSlot::GlslPowerSpread, TextureSlot::GlslPowerSpreadNormal},
    {TextureSlot::PowerStarburst, TextureSlot::GlslPowerStarburst,
     TextureSlot::GlslPowerStarburstNormal},
};

float RandomSpawnDelay() { return static_cast<float>(GameRand() % 16 + 15); }

}  // namespace

PowerUp::PowerUp(int32_t kind, uint16_t score, float x, float y, float lifetime)
    : lifetime(lifetime), score(score) {
  this->kind = kind;
  group = CollisionGroup::MeetsShip;
  this->x = x;
  this->y = y;
  z = kPlayPlaneZ;
  shape = CollisionShape::SingleCircle(kRadius, x, y);
}

void PowerUp::Update(float dt) {
  elapsed += dt;
  if (elapsed > lifetime) state = ObjectState::Dead;
  if (state == ObjectState::Hit) state = ObjectState::Dead;
}

void PowerUp::OnHit(GameObject&) {
  if (playerRecord) playerRecord->AddScore(score);
  levelCounters.levelScore += score;
  state = ObjectState::Hit;
  if (kind >= 0 && kind < 4) PlayEventSound(kPickUpSounds[kind], x);
}

void PowerUp::DrawAt(float angle) const {
  const PowerUpTextures& textures = kTextures[kind];
  BeginObjectDraw(x, y, z, angle);
  const bool lit = UseLitPath(shaderPrograms.defaultProgram);
  if (lit) {
    BindOnUnit(0, textures.lit);
    BindOnUnit(1, textures.litNormal);
    BeginLit(*shaderPrograms.defaultProgram, angle, kShipLight);
  } else {
    BindTexture(textures.fixed);
  }
  DrawObjectSquare(1, z);
  if (lit) EndLit(2);
  gl.glDisable(GL_TEXTURE_2D);
}

InvulnPowerUp::InvulnPowerUp(float x, float y, float lifetime)
    : PowerUp(ObjectKind::InvulnPowerUp, kInvulnScore, x, y, lifetime) {}

// The sine of elapsed / lifetime × 45 taken in radians: a small, quick wobble.
void InvulnPowerUp::Draw() { DrawAt(std::sin(elapsed / lifetime * 45) * 6); }

void WeaponPowerUp::Draw() { DrawAt(360 * elapsed / lifetime); }

LongRangePowerUp::LongRangePowerUp(float x, float y, float lifetime)
    : WeaponPowerUp(ObjectKind::LongRangePowerUp, kWeaponScore, x, y, lifetime) {}

SpreadPowerUp::SpreadPowerUp(float x, float y, float lifetime)
    : WeaponPowerUp(ObjectKind::SpreadPowerUp, kWeaponScore, x, y, lifetime) {}

StarburstPowerUp::StarburstPowerUp(float x, float y, float lifetime)
    : WeaponPowerUp(ObjectKind::StarburstPowerUp, kWeaponScore, x, y, lifetime) {}

PowerUp* MakePowerUp(int32_t kind, float x, float y, float lifetime) {
  switch (kind) {
    case ObjectKind::InvulnPowerUp: return new InvulnPowerUp(x, y, lifetime);
    case ObjectKind::LongRangePowerUp: return new LongRangePowerUp(x, y, lifetime);
    case ObjectKind::SpreadPowerUp: return new SpreadPowerUp(x, y, lifetime);
    case ObjectKind::StarburstPowerUp: return new StarburstPowerUp(x, y, lifetime);
    default: return nullptr;
  }
}

PowerUpSpawner::PowerUpSpawner() : spawnDelay(RandomSpawnDelay()) {}

void PowerUpSpawner::Step(int32_t levelTimer) {
  if (TimerSeconds(levelTimer) - lastSpawn < spawnDelay) return;
  if (objectList) {
    const float x = static_cast<float>(GameRand() % 710 / 10) - 35.5f;
    const float y = static_cast<float>(GameRand() % 530 / 10) - 26.5f;
    int32_t type = GameRand() % 4 + 1;
    if (type == lastType) type = type + 1 > 4 ? 1 : type + 1;
    lastType = type;
    objectList->Add(MakePowerUp(type - 1, x, y, PowerUp::kLifetime));
    PlayEventSound(EventSound::PowerUpAppear, x);
  }
  lastSpawn = TimerSeconds(levelTimer);
  spawnDelay = RandomSpawnDelay();
}
