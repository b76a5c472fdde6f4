#pragma once
#include <cstdint>
#include <memory>

#include "game/game_object.h"

// The ship's thrust flame: particles born at the ship's tail that drift
// backwards along the heading they were born with, wobble sideways more as
// they age, grow and fade out. Every emitting frame either banks its time
// step or spends the bank, so a steady frame rate emits about half the
// nominal rate. Reusing particle slot 0 re-seeds the game's random generator
// with 0. Main thread only.

struct FlameParticle {
  bool active = false;
  float birthTime = 0;  // seconds on the emitter's timer
  float birthX = 0;
  float birthY = 0;
  float birthZ = 0;
  float angle = 0;  // the ship's heading at birth, degrees
  float phase = 0;  // degrees
  float r = 0;
  float g = 0;
  float b = 0;
  float alpha = 0;
};

class FlameEmitter {
 public:
  // rate: particles per second (0: one every 0.125 s); speed: backward
  // drift in units/s; frequency (Hz) and amplitude (units) of the wobble at
  // the end of life; lifetime in seconds. Acquires a frame timer of its own
  // and allocates all particle storage, which nothing later grows. Also
  // starts the emission clock and bank that all emitters share afresh.
  FlameEmitter(int32_t rate, int32_t speed, float frequency, float amplitude, float lifetime);
  // Releases the timer.
  ~FlameEmitter();
  FlameEmitter(const FlameEmitter&) = delete;
  FlameEmitter& operator=(const FlameEmitter&) = delete;

  void StartEmitting() { emitting = true; }
  void StopEmitting() { emitting = false; }
  bool IsEmitting() const { return emitting; }

  // Once per ship update: emits at position with the heading angle
  // (degrees) while emitting, then ages every particle.
  void Update(Vector3 position, float angle);
  // Draws the living particles, with shaderPrograms.heatProgram when shaders are on.
  // Leaves the identity modelview behind.
  void Draw() const;

  int32_t ActiveCount() const;
  int32_t Capacity() const { return capacity; }
  const FlameParticle& Particle(int32_t i) const { return particles[i]; }
  // The particle's current offset from its birth place, in its own frame.
  Vector3 Offset(int32_t i) const {
    return {offsets[3 * i], offsets[3 * i + 1], offsets[3 * i + 2]};
  }

 private:
  // False when every particle is alive and the emission is lost.
  bool Emit(Vector3 position, float angle, float now, float bank);

  int32_t timer;
  float dt = 0;
  float interval;
  float speed;
  float amplitude;
  float frequency;
  float lifetime;
  bool emitting = false;
  int32_t capacity;
  std::unique_ptr<FlameParticle[]> particles;
  std::unique_ptr<float[]> offsets;  // capacity × (x, y, z)
};
