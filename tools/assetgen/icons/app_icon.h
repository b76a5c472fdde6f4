#pragma once
#include <string>

#include "tools/assetgen/raster/canvas.h"

// The application icon the desktop shows in its menus and task bar: the
// player's ship climbing across a disc of night sky.
namespace icons {

// The sizes of the hicolor theme the game ships, in pixels.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256, 512};
// The file name every size shares, after the game's desktop id.
constexpr const char* kIconFileName = "net.kelpforge.StarfieldStampede.png";

// The icon drawn at size × size pixels (drawn at that size, not scaled, so
// the small ones stay sharp).
raster::Canvas PaintAppIcon(int size);

// Writes every size as OUTDIR/<n>x<n>/apps/<kIconFileName>, the layout of
// share/icons/hicolor; false (with the path on stderr) on the first failure.
bool WriteAppIcons(const std::string& outDir);

}  // namespace icons
