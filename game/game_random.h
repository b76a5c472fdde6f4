#pragma once
#include <cstdint>

// The game's random generator: the classic linear congruential rule
// state = state × 214013 + 2531011 (mod 2^32), value = (state >> 16) & 32767.
// The state is 1 at program start. Game code re-seeds it at fixed points
// (each level, the gameplay loop, the burst spawner, the flame), so the
// sequences it draws are part of how the game plays. Our own pair, never the
// C library's. Main thread only.

void GameSrand(uint32_t seed);
// 0..32767.
int32_t GameRand();

// The wall-clock time in whole seconds that the game seeds from. Tests may
// replace the source; nullptr restores the system clock. Main thread.
uint32_t WallClockSeconds();
void SetWallClockSource(uint32_t (*source)());
