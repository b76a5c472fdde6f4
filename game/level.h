#pragma once
#include <cstdint>

// The game's progression: how each of the fifteen levels starts, the level
// being played and the counters the level summary reads. Main thread only.

constexpr int32_t kLevelCount = 15;

struct LevelTableEntry {
  int32_t speed;           // bounds each velocity component of the level's asteroids
  int32_t largeAsteroids;  // large asteroids at the start (level 15: the final asteroid instead)
};

// Indexed by level 1..15. Holds its values from program start, so nothing
// that reads it can divide by a zero speed.
struct LevelTableRecord {
  LevelTableEntry levels[kLevelCount + 1];
  // The row of a level; levels outside 1..15 read the nearest one.
  const LevelTableEntry& operator[](int32_t level) const;
};
extern LevelTableRecord LevelTable;
// Start-up: (re)writes the fifteen rows.
void FillLevelTable();

struct LevelCountersRecord {
  // The level being played, 1..15; written by the game flow, read by every
  // asteroid that is made.
  uint16_t currentLevel = 1;
  // Score counters of the current level, read by the level summary.
  uint32_t levelScore = 0;    // points from asteroids and power-ups; 0 at each Level
  uint32_t scoreAtStart = 0;  // the player's score when the Level was made
  int32_t hitCount = 0;       // asteroids destroyed by bullets; the gameplay loop zeroes it
};
extern LevelCountersRecord levelCounters;

// One level, from before its intro until after its summary.
class Level {
 public:
  // Takes a timer of its own, seeds the random generator from the wall
  // clock, records levelCounters.scoreAtStart, zeroes levelCounters.levelScore and puts the level's
  // asteroids into objectList (when a game runs): the final asteroid alone
  // for level 15 (any number above 14), else the table's count of large
  // asteroids at random places outside the band |x| < 5.5.
  explicit Level(uint16_t number);
  // Kills and removes every object but the ship; releases the timer.
  ~Level();
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  uint16_t level;
  int32_t timer;       // FrameTimer index of the level's own clock
  int32_t shotCount = 0;  // shots fired; the gameplay loop zeroes it
};
