#include "game/level.h"

#include "game/asteroids.h"
#include "game/game_random.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/frame_timer.h"

namespace {

constexpr LevelTableRecord kLevelRows = {{
    {0, 0},  // no level 0
    {3, 1},  {4, 2},  {4, 3},  {4, 5},  {5, 7},  {5, 7},  {5, 7},  {6, 7},
    {6, 8},  {6, 10}, {7, 10}, {7, 12}, {8, 12}, {8, 13}, {8, 1},
}};

void PlaceFinalAsteroid() {
  objectList->Add(new FinalAsteroid(270, {-1.15f, -0.85f, 0}, {35, 25, kPlayPlaneZ}));
}

void PlaceLargeAsteroid(int32_t speed) {
  const AsteroidMotion motion = RandomChildMotion(speed);
  float x = static_cast<float>(GameRand() % 710 / 10) - 35.5f;
  const float y = static_cast<float>(GameRand() % 530 / 10) - 26.5f;
  // Keeps the band around the ship's start point clear.
  if (x > -7 && x < 7) x += x < 0 ? -5 : 5;
  objectList->Add(new LargeAsteroid(motion.spin, motion.velocity, {x, y, kPlayPlaneZ}));
}

}  // namespace

LevelTableRecord LevelTable = kLevelRows;
LevelCountersRecord levelCounters;

const LevelTableEntry& LevelTableRecord::operator[](int32_t level) const {
  if (level < 1) level = 1;
  if (level > kLevelCount) level = kLevelCount;
  return levels[level];
}

void FillLevelTable() { LevelTable = kLevelRows; }

Level::Level(uint16_t number) : level(number), timer(AcquireTimer()) {
  GameSrand(WallClockSeconds());
  levelCounters.scoreAtStart = playerRecord ? playerRecord->score : 0;
  levelCounters.levelScore = 0;
  if (!objectList) return;
  if (number > 14) {
    PlaceFinalAsteroid();
    return;
  }
  const LevelTableEntry& row = LevelTable[number];
  for (int32_t i = 0; i < row.largeAsteroids; ++i) PlaceLargeAsteroid(row.speed);
}

Level::~Level() {
  if (objectList) {
    objectList->KillAllExcept(ObjectKind::Ship);
    objectList->RemoveDead();
  }
  ReleaseTimer(timer);
}
