#include "game/ship.h"

#include <cmath>

#include "audio/game_sounds.h"
#include "audio/sound_effect.h"
#include "game/asteroids.h"
#include "game/bullets.h"
#include "game/object_drawing.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/controls.h"
#include "platform/gl_table.h"

namespace {

constexpr float kTurnRate = 180;            // degrees/s
constexpr float kThrust = 30;               // units/s²
constexpr float kSpeedLimitSquared = 3600;  // 60², whatever maxSpeed says
constexpr float kThrustSoundPeriod = 500;   // ms
constexpr float kSpreadAngle = 12;          // degrees
constexpr float kDebrisDuration = 0.75f;    // s

std::unique_ptr<FlameEmitter> MakeShipFlame() {
  return std::make_unique<FlameEmitter>(750, 10, 4.0f, 3.0f, 0.266f);
}

// Beside the final asteroid while it sits across the middle of the field.
bool FinalAsteroidBlocksCentre() {
  if (!objectList || objectList->CountActive(ObjectKind::FinalAsteroid) == 0) return false;
  for (const ObjectNode* node = objectList->First(); node; node = node->next) {
    const GameObject& object = *node->object;
    if (object.GetKind() == ObjectKind::FinalAsteroid && object.x > -19 && object.x < 19) {
      return true;
    }
  }
  return false;
}

// The other component at the speed limit. One long step can push the kept
// component itself past the limit; the square root then has nothing to take.
float LimitedComponent(float kept) {
  return std::sqrt(std::fmax(0.0f, kSpeedLimitSquared - kept * kept));
}

float WithSignOf(float magnitude, float old) { return old < 0 ? -magnitude : magnitude; }

}  // namespace

Ship::Ship() : flame(MakeShipFlame()) {
  kind = ObjectKind::Ship;
  group = CollisionGroup::MeetsPowerUps | CollisionGroup::MeetsAsteroids;
  x = FinalAsteroidBlocksCentre() ? 30 : 0;
  z = kPlayPlaneZ;
  prevX = x;
  shape = CollisionShape::SingleCircle(kRadius, x, y);
}

Ship::~Ship() {
  if (playerRecord && playerRecord->ship == this) playerRecord->ship = nullptr;
}

void Ship::Reset() {
  x = 0;
  y = 0;
  z = kPlayPlaneZ;
  angle = 0;
  dirX = 0;
  dirY = 1;
  velX = 0;
  velY = 0;
  turningRight = turningLeft = thrusting = false;
  shield = kStartShield;
  shieldFromPowerUp = false;
  vulnerable = false;
  fireTimer = 0;
  thrustSoundTimer = 0;
  flame = MakeShipFlame();
  shape->x = x;
  shape->y = y;
  shape->angle = angle;
}

void Ship::Update(float dt) {
  if (state == ObjectState::Hit) {
    state = ObjectState::Dead;
    return;
  }
  const float ms = dt * 1000;
  fireTimer += ms;
  thrustSoundTimer += ms;
  if (shield > 0) {
    shield -= ms;
    if (shield <= 0) {
      vulnerable = true;
      if (shieldFromPowerUp) PlayEventSound(EventSound::PowerUpRunsOut, x);
      shieldFromPowerUp = false;
    }
  }

  const float turn = dt * kTurnRate;
  if (turningRight) angle -= turn;
  if (turningLeft) angle += turn;
  angle = WrapAngle(angle);

  // The loop restarts the sound every half second while thrusting.
  if (thrustSoundTimer >= kThrustSoundPeriod) {
    if (thrusting && shipSounds.thrustSound) shipSounds.thrustSound->Play(true);
    thrustSoundTimer = 0;
  }

  const float radians = angle * kDegreesToRadians;
  dirX = -std::sin(radians);
  dirY = std::cos(radians);
  const float accel = thrusting ? dt * kThrust : 0;
  ApplySpeedLimit(velX + accel * dirX, velY + accel * dirY);

  prevX = x;
  prevY = y;
  Drift(velX, velY, dt, angle);
  flame->Update({x - kRadius * dirX, y - kRadius * dirY, z}, angle);
}

void Ship::ApplySpeedLimit(float nx, float ny) {
  if (std::sqrt(nx * nx + ny * ny) <= maxSpeed) {
    velX = nx;
    velY = ny;
  } else if (std::fabs(ny) < std::fabs(nx)) {
    velX = WithSignOf(LimitedComponent(ny), velX);
    velY = ny;
  } else {
    velY = WithSignOf(LimitedComponent(nx), velY);
    velX = nx;
  }
}

void Ship::OnHit(GameObject& other) {
  switch (other.GetKind()) {
    case ObjectKind::InvulnPowerUp:
      shield = 10000;
      shieldFromPowerUp = true;
      vulnerable = false;
      break;
    case ObjectKind::LongRangePowerUp:
      powerUp = 1;
      fireDelay = 330;
      break;
    case ObjectKind::SpreadPowerUp:
      powerUp = 2;
      fireDelay = 500;
      break;
    case ObjectKind::StarburstPowerUp:
      powerUp = 3;
      fireDelay = 700;
      break;
    case ObjectKind::SmallAsteroid:
    case ObjectKind::MediumAsteroid:
    case ObjectKind::LargeAsteroid:
    case ObjectKind::FinalAsteroid:
      if (vulnerable) {
        state = ObjectState::Hit;
        if (playerRecord) playerRecord->LoseLife();
        Rumble(RumbleKind::ShipBreakUp);
      } else if (other.GetKind() != ObjectKind::FinalAsteroid) {
        Rumble(RumbleKind::ShieldHit);
      } else {
        // The pass meets this pair in both orders: the first call turns the
        // ship round, the second only steps it back again.
        x = prevX;
        y = prevY;
        if (bounced) {
          bounced = false;
        } else if (const auto* asteroid = dynamic_cast<const Asteroid*>(&other)) {
          velX = -velX + asteroid->velX;
          velY = -velY + asteroid->velY;
          bounced = true;
          Rumble(RumbleKind::ShieldHit);  // once per bounce, not per call
        }
      }
      break;
    default:
      break;
  }
  if (state == ObjectState::Hit && objectList) {
    objectList->Add(new ShipDebris({x, y, z}, kDebrisDuration));
  }
}

bool Ship::Fire() {
  const float muzzleX = x + kRadius * dirX;
  const float muzzleY = y + kRadius * dirY;
  if (powerUp > 3 || fireTimer < fireDelay) return false;
  if (objectList) {
    switch (powerUp) {
      case 0:
      case 1: {
        const float lifetime = powerUp == 1 ? 0.6f : 0.4f;
        objectList->Add(MakeBullet(dirX, dirY, velX, velY, muzzleX, muzzleY, angle, lifetime));
        break;
      }
      case 2:
        for (const float spread : {0.0f, -kSpreadAngle, kSpreadAngle}) {
          const float shotAngle = angle + spread;
          const float radians = shotAngle * kDegreesToRadians;
          objectList->Add(MakeBullet(-std::sin(radians), std::cos(radians), velX, velY, muzzleX,
                                     muzzleY, shotAngle, 0.4f));
        }
        break;
      default:
        objectList->Add(
            MakeStarburstBullet(dirX, dirY, velX, velY, muzzleX, muzzleY, angle, 0.4f));
        break;
    }
  }
  fireTimer = 0;
  if (shipSounds.laserShotSound) shipSounds.laserShotSound->Play(false);
  return true;
}

void Ship::StartThrust() {
  if (thrusting) return;
  thrusting = true;
  flame->StartEmitting();
}

void Ship::StopThrust() {
  if (!thrusting) return;
  thrusting = false;
  if (shipSounds.thrustSound) shipSounds.thrustSound->Stop();
  flame->StopEmitting();
}

void Ship::Draw() {
  flame->Draw();
  BeginObjectDraw(x, y, z, angle);
  const ShaderProgram* program =
      vulnerable ? shaderPrograms.defaultProgram : shaderPrograms.shipInvProgram;
  const bool lit = UseLitPath(program);
  if (lit) {
    BindOnUnit(0, TextureSlot::GlslShip);
    if (vulnerable) {
      BindOnUnit(1, TextureSlot::GlslShipNormal);
    } else {
      BindOnUnit(1, TextureSlot::GlslShipInvulnerableNormal);
      BindOnUnit(2, TextureSlot::GlslNoise);
    }
    BeginLit(*program, angle, kShipLight);
    if (!vulnerable) {
      SetUniform(*program, "texture2", 2);
      // The millisecond count taken as radians makes the noise flicker.
      SetUniform(*program, "noffset", std::sin(fireTimer));
    }
  } else {
    BindFixedPathTexture(vulnerable ? TextureSlot::Ship : TextureSlot::ShipInvulnerable,
                         TextureSlot::GlslShip);
  }
  DrawSpriteSquare(2, z);
  if (lit) EndLit(2);
  gl.glDisable(GL_TEXTURE_2D);
}
