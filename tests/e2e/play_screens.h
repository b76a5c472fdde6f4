#pragma once
// How the end-to-end tests tell the screens of a game from a screenshot.
#include "game_run.h"

namespace e2e {

// "Level: N" in yellow at the top left of the level intro.
inline bool IsLevelIntro(const Shot& shot) {
  return shot.Count(28, 10, 200, 36, [](Rgb c) { return c.r > 140 && c.g > 140 && c.b < 90; }) > 20;
}
// The HUD's lines at the foot of the play screen.
inline bool ShowsHud(const Shot& shot) {
  return shot.Count(5, 458, 240, 476, [](Rgb c) { return c.r > 120 && c.g > 120 && c.b > 120; }) >
         40;
}
inline bool IsGameplay(const Shot& shot) { return !IsLevelIntro(shot) && ShowsHud(shot); }
// The game-over picture is mostly deep red.
inline bool IsGameOver(const Shot& shot) {
  return shot.Count(0, 80, 640, 200, [](Rgb c) { return c.r > 150 && c.g < 110 && c.b < 110; }) >
         3000;
}
// Pixels that changed clearly outside the ship's place and the HUD.
inline int MovedPixels(const Shot& a, const Shot& b) {
  return a.Changed(b, 0, 0, kWidth, 450) - a.Changed(b, 280, 200, 360, 280);
}

}  // namespace e2e
