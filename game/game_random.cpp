#include "game/game_random.h"

#include <ctime>

namespace {

uint32_t randomState = 1;

uint32_t SystemSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

uint32_t (*wallClock)() = SystemSeconds;

}  // namespace

void GameSrand(uint32_t seed) { randomState = seed; }

int32_t GameRand() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int32_t>((randomState >> 16) & 32767u);
}

uint32_t WallClockSeconds() { return wallClock(); }

void SetWallClockSource(uint32_t (*source)()) { wallClock = source ? source : SystemSeconds; }
