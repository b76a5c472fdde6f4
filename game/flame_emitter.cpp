#include "game/flame_emitter.h"

#include <cmath>

#include "game/game_random.h"
#include "game/object_drawing.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"

namespace {

// The emission clock and bank. They belong to all emitters together (the
// game has one); every new emitter starts them afresh.
struct EmissionClock {
  float prevTime = 0;
  float nowTime = 0;
  float accumulator = 0;
};
EmissionClock emission;

constexpr float kColours[4][3] = {
    {0.4f, 0.8f, 0.9f}, {0.2f, 0.7f, 0.8f}, {0.2f, 0.55f, 0.9f}, {0.66f, 0.66f, 0.88f}};

constexpr float kTwoPi = 6.2831853071795862f;

int32_t CapacityFor(int32_t rate, float lifetime) {
  const auto capacity = static_cast<int32_t>(static_cast<float>(rate) * std::ceil(lifetime)) + 1;
  return capacity > 0 ? capacity : 1;
}

}  // namespace

FlameEmitter::FlameEmitter(int32_t rate, int32_t speed, float frequency, float amplitude,
                           float lifetime)
    : timer(AcquireTimer()),
      interval(rate > 0 ? 1.0f / static_cast<float>(rate) : 0.125f),
      speed(static_cast<float>(speed)),
      amplitude(amplitude),
      frequency(frequency),
      lifetime(lifetime),
      capacity(CapacityFor(rate > 0 ? rate : 0, lifetime)),
      particles(std::make_unique<FlameParticle[]>(capacity)),
      offsets(std::make_unique<float[]>(3 * static_cast<std::size_t>(capacity))) {
  emission = EmissionClock{};
}

FlameEmitter::~FlameEmitter() { ReleaseTimer(timer); }

void FlameEmitter::Update(Vector3 position, float angle) {
  emission.prevTime = emission.nowTime;
  emission.nowTime = TimerSeconds(timer);
  dt = emission.nowTime - emission.prevTime;
  const float now = emission.nowTime;

  if (emitting) {
    // A frame either banks its step or spends the bank, never both: the
    // trail comes out at about half the nominal rate.
    if (emission.accumulator >= interval) {
      bool full = false;
      while (emission.accumulator >= interval) {
        if (!full) full = !Emit(position, angle, now, emission.accumulator);
        const float spent = emission.accumulator - interval;
        // A bank too large for float to take a step from would never run out.
        if (spent >= emission.accumulator) {
          emission.accumulator = 0;
          break;
        }
        emission.accumulator = spent;
      }
    } else {
      emission.accumulator += dt;
    }
  }

  for (int32_t i = 0; i < capacity; ++i) {
    FlameParticle& particle = particles[i];
    if (!particle.active) continue;
    const float age = now - particle.birthTime;
    if (age > lifetime) {
      particle.active = false;
      continue;
    }
    const float wave = frequency * age * kTwoPi + particle.phase * kDegreesToRadians;
    offsets[3 * i] = std::sin(wave) * amplitude * age / lifetime;
    offsets[3 * i + 1] = -speed * age;
    offsets[3 * i + 2] = kPlayPlaneZ;
    particle.alpha = 1 - age / lifetime;
  }
}

bool FlameEmitter::Emit(Vector3 position, float angle, float now, float bank) {
  int32_t slot = 0;
  while (slot < capacity && particles[slot].active) ++slot;
  if (slot == capacity) return false;
  if (slot == 0) GameSrand(0);
  FlameParticle& particle = particles[slot];
  particle.active = true;
  // Particles of one burst are spread back in time, 1.5 intervals apart.
  particle.birthTime = now - std::fabs(bank * 1.5f);
  particle.birthX = position.x;
  particle.birthY = position.y;
  particle.birthZ = position.z;
  particle.angle = angle;
  particle.phase = static_cast<float>(GameRand() % 360);
  const float* colour = kColours[GameRand() % 4];
  particle.r = colour[0];
  particle.g = colour[1];
  particle.b = colour[2];
  particle.alpha = 1;
  return true;
}

int32_t FlameEmitter::ActiveCount() const {
  int32_t count = 0;
  for (int32_t i = 0; i < capacity; ++i) count += particles[i].active ? 1 : 0;
  return count;
}

void FlameEmitter::Draw() const {
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glEnable(GL_BLEND);
  const bool lit = UseLitPath(shaderPrograms.heatProgram);
  if (lit) {
    BindOnUnit(0, TextureSlot::GlslFlame);
    BindOnUnit(1, TextureSlot::GlslFlameAlpha);
    shaderPrograms.heatProgram->Use();
    SetUniform(*shaderPrograms.heatProgram, "flame", 0);
    SetUniform(*shaderPrograms.heatProgram, "alpha", 1);
  } else {
    gl.glEnable(GL_TEXTURE_2D);
    BindFixedPathTexture(TextureSlot::Particle, TextureSlot::GlslFlame);
  }
  // Each particle keeps the place and heading of its birth. They are placed
  // here rather than by the modelview matrix so that the fixed path hands the
  // whole trail over as one batch; the lit path still needs one batch per
  // particle for its alpha uniform.
  gl.glLoadIdentity();
  const GLint alphaLocation =
      lit ? gl.glGetUniformLocationARB(shaderPrograms.heatProgram->program, "particleAlpha") : -1;
  if (!lit) gl.glBegin(GL_TRIANGLES);
  for (int32_t i = 0; i < capacity; ++i) {
    const FlameParticle& particle = particles[i];
    if (!particle.active) continue;
    if (lit) {
      gl.glUniform1fARB(alphaLocation, particle.alpha);
      gl.glBegin(GL_TRIANGLES);
    } else {
      gl.glColor4f(particle.r, particle.g, particle.b, particle.alpha);
    }
    // Small and bright at birth, large and faint at the end.
    const Vector3 offset = Offset(i);
    EmitPlacedSpriteSquare(Placement(particle.birthX, particle.birthY, particle.birthZ, particle.angle),
                           1.33f - particle.alpha, offset.z, offset.x, offset.y);
    if (lit) gl.glEnd();
  }
  if (!lit) gl.glEnd();
  // Unit 1 must not stay enabled and active: an object drawn next on the
  // fixed path binds on the active unit only.
  if (lit) EndLit(1);
}
