#pragma once
#include <cstdint>

// The sounds of what happens around the ship, one file each. The asset
// generator writes these files and the game loads them, both from this
// table, so the two never disagree about a name.
enum class EventSound : int32_t {
  BreakLarge,
  BreakMedium,
  BreakSmall,
  FinalHit,
  FinalCollapse,
  PowerUpAppear,
  PickUpShield,
  PickUpLongRange,
  PickUpSpread,
  PickUpStarburst,
  PowerUpRunsOut,
  ExtraLife,
  LevelFanfare,
  MenuTick,
  MenuClick,
};
constexpr int32_t kEventSoundCount = 15;

// Relative to the asset directory, by EventSound.
constexpr const char* kEventSoundFiles[kEventSoundCount] = {
    "sound/events/break-large.wav",      "sound/events/break-medium.wav",
    "sound/events/break-small.wav",      "sound/events/final-hit.wav",
    "sound/events/final-collapse.wav",   "sound/events/powerup-appear.wav",
    "sound/events/pickup-shield.wav",    "sound/events/pickup-longrange.wav",
    "sound/events/pickup-spread.wav",    "sound/events/pickup-starburst.wav",
    "sound/events/powerup-runs-out.wav", "sound/events/extra-life.wav",
    "sound/events/level-fanfare.wav",    "sound/events/menu-tick.wav",
    "sound/events/menu-click.wav",
};

constexpr const char* EventSoundFile(EventSound sound) {
  return kEventSoundFiles[static_cast<int32_t>(sound)];
}
