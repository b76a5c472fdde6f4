#pragma once
#include <cstdint>

#include "resources/bitmap_font.h"

// The strip along the bottom of the play screen: lives, level and score as
// text, two display boxes holding the power-up icon and the shield bar. It
// reads the player record (playerRecord) and its ship. Main thread, GL
// context current; font: the gameplay loop's class 2 font (80 × 60 cells).

// "Lives:%d", "Level:%d" and "Score:%d" at cells (1, 1), (10, 1) and
// (20, 1) in colour (0.77, 0.77, 0.99); the level summary shows it too.
void PrintStatusLine(const BitmapFont& font, int32_t level);

// One HUD step, after the objects are drawn. shieldRef: the loop's shield
// reference in ms, kept between frames: the first shield value seen while
// the ship is shielded, 0 again once it is vulnerable. The bar's height is
// shield / shieldRef of the box, so a refill taken while still shielded
// draws it taller than the box until it has run down.
void DrawHud(const BitmapFont& font, int32_t level, float* shieldRef);
