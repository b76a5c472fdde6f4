#pragma once
#include <string>

#include "tools/assetgen/raster/canvas.h"

namespace icons {

// Writes the canvas as an 8-bit RGBA PNG, rows from the top as drawn.
bool WritePng(const std::string& path, const raster::Canvas& canvas);

}  // namespace icons
