#pragma once
#include <cstdint>

#include "platform/controls.h"

// Internal to the platform layer: the system thread's side of Rumble().

constexpr int kNoRumble = -1;

// The latest request since the last call as a RumbleKind, or kNoRumble. A
// newer request replaces one not yet played.
int TakeRumbleRequest();

// Motor strengths 0..1 and length of each kind.
struct RumbleEffect {
  float lowFrequency;
  float highFrequency;
  uint32_t milliseconds;
};
constexpr RumbleEffect RumbleEffectOf(RumbleKind kind) {
  switch (kind) {
    case RumbleKind::ShieldHit:
      return {0.35f, 0.25f, 150};
    case RumbleKind::ShipBreakUp:
      return {1.0f, 0.8f, 500};
    case RumbleKind::FinalRockHit:
      return {0.0f, 0.3f, 60};
  }
  return {0, 0, 0};
}
