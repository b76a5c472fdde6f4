#pragma once
#include <vector>

#include "tools/assetgen/art/style.h"

// Pictures of the game's objects, shared by the gameplay textures and the
// menu decorations. Canvases are square, row 0 at the top.
namespace art {

// One object in its three forms: baked-lit colour for the fixed-function
// path, an unlit colour map and a normal map from the same height field for
// the shader path.
struct LitPicture {
  Canvas lit;
  Canvas albedo;
  Canvas normal;
};

// Rock variant 0 (cratered, round), 1 (long and layered) or 2 (faceted, with
// ice). shownFlipped bakes the light for the game's upside-down mapping.
LitPicture PaintRock(int variant, int size, bool shownFlipped);
// The huge final asteroid: dark, jagged, split by glowing magma.
Canvas PaintFinalAsteroid(int size);

// The player's craft pointing up the picture.
LitPicture PaintShip(int size);
// The shield bubble drawn around the ship picture (same size).
Canvas PaintShieldBubble(int size, float strength);
// Height field of the ship picture (in half sizes, as the normal map uses).
Field ShipHeight(int size);
// The seven debris pieces: the ship picture cut along jagged lines, each
// piece in its place on a picture of the ship's size, with glowing edges.
// Piece i sits where the explosion's offset for piece i carries it.
std::vector<Canvas> CutDebris(const Canvas& ship);

// Power-up kinds in the game's order: 0 shield, 1 long range, 2 spread,
// 3 starburst. Badges are drawn upright.
LitPicture PaintPowerUp(int kind, int size);

}  // namespace art
