#pragma once
#include "tools/assetgen/art/style.h"

// Small effect pictures and the play field's sky.
namespace art {

// A shot's glow, bright down the middle column.
Canvas PaintBullet(int size);
// A soft white dot, tinted by the flame's colours.
Canvas PaintParticle(int size);
// The flame's colour and its shape for the heat shader.
Canvas PaintFlame(int size);
Canvas PaintFlameAlpha(int size);
// Tiling grey noise (opaque).
Canvas PaintNoise(int size);
// The HUD's frame for the power-up icon and the shield bar.
Canvas PaintDisplayBox(int size);
// Opaque deep sky with nebulae and stars.
Canvas PaintStarField(int width, int height);

}  // namespace art
