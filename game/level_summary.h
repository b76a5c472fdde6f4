#pragma once

#include "game/level.h"

// The screen after every cleared level but the last: the score at the start
// of the level, the points earned in it, the shooting accuracy (levelCounters.hitCount /
// shotCount) and the accuracy bonus, floor(levelCounters.levelScore × levelCounters.hitCount /
// shotCount) worked exactly, which is then counted into the player's score
// at up to 1000 points a frame. The lines appear one a second from 1 s on;
// the count starts after 5 s and the screen ends 5 s after it has finished.
// No key ends it; a quit request does. Reads and resets the level's timer; needs the player
// record. Main thread, GL context current.
void LevelSummary(const Level& level);
