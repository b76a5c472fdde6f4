#pragma once
#include "tools/assetgen/raster/canvas.h"

// Whole-picture filters. Each returns a new picture and leaves its input as
// it was.
namespace raster {

// Gaussian-like blur (three box passes of the given radius in pixels);
// edges repeat the border pixel.
Field Blur(const Field& field, int radius);
Canvas Blur(const Canvas& canvas, int radius);

// Unit normal of a height field (heights in pixels times strength) in the
// picture's own axes: x right, y down the rows, z out of the picture.
struct Normal {
  float x, y, z;
};
Normal SurfaceNormal(const Field& height, int x, int y, float strength);

// Tangent-space normal map of a height field (heights in pixels times
// strength): R = +s (right), G = +t (up the picture, as the game's bottom-up
// textures see it), B = out of the surface; encoded as n * 0.5 + 0.5, opaque.
Canvas NormalMap(const Field& height, float strength);

}  // namespace raster
