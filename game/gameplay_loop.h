#pragma once
#include <cstdint>

#include "game/level.h"

class BitmapFont;
class MusicStream;

// The two phases of every level on the main thread, called by the game flow
// after it has made the Level (whose asteroids are then in objectList) and
// reset the object list's clock. Both need the game's FrameTimer index, the
// one the object list and the player record were made with. GL context
// current.

// Shows "Level: N" over the start picture for two seconds of gameTimer (the
// first frame always; a quit request ends it after that). font: the run's
// class 1 font (40 × 30 cells). Reads no keys.
void LevelIntro(const Level& level, int32_t gameTimer, const BitmapFont& font);

// Plays the level until it is cleared (true) or the game is lost or the
// player presses Q or the quit request is raised (false). Needs objectList
// and playerRecord. Makes or resets the player's ship, zeroes
// level.shotCount and levelCounters.hitCount, and plays
// music looping for the level (null: silence). At the end every object but
// the ship is gone from the list, so a surviving ship and its power-up carry
// over into the next level.
bool GameplayLoop(Level& level, int32_t gameTimer, MusicStream* music);
