#pragma once
#include <cstdint>

// The player's two volume steps, 0 (silent) .. 10 (the gains of
// mix_levels.h as they stand). A step scales the amplitude linearly. Takes
// effect at once: the playing music and looping sounds follow, and every
// sound started afterwards plays at the new level (event sounds already
// playing finish at the level they started with). Main thread, not while
// the loader runs.
void SetVolumeSteps(int32_t musicStep, int32_t effectsStep);

// The factor of each (1 at step 10, 0 at step 0); steps outside 0..10 are
// held to the nearest end.
float MusicVolumeScale();
float EffectsVolumeScale();
