#include "tools/assetgen/icons/app_icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/style.h"
#include "tools/assetgen/icons/png_file.h"

namespace icons {
namespace {

using namespace art;

// The sky disc fills the icon but for a margin the desktop's themes expect.
constexpr float kDiscRadius = 0.46f;
// The ship leans to the upper right, as if climbing out of the field.
constexpr float kShipTurn = kPi / 6;
constexpr float kShipScale = 0.92f;
// Below this size stars and nebula turn into noise; the ship alone reads.
constexpr int kSmallestWithStars = 48;
// Painted ship picture this many times the icon's size, then stamped down,
// so the thin stripes are averaged rather than dropped.
constexpr int kShipOversample = 2;

}  // namespace

raster::Canvas PaintAppIcon(int size) {
  const float centre = size * 0.5f;
  const float radius = size * kDiscRadius;
  const float pixel = 1.0f / size;

  Canvas sky = Canvas::FromFunction(size, size, [&](float u, float v) {
    const float d = raster::Length(Vec2{u - 0.5f, v - 0.5f});
    return raster::Mix(Hex(palette::kSpaceNavy), Hex(palette::kSpaceDeep), Smoothstep(0, kDiscRadius, d));
  });
  if (size >= kSmallestWithStars) {
    DrawNebula(sky, 7, 0.6f);
    DrawStars(sky, 11, 0.5f, 1.0f);
  }
  const Field disc = Field::FromFunction(size, size, [&](float u, float v) {
    return Cover(raster::Length(Vec2{u - 0.5f, v - 0.5f}) - kDiscRadius, 1.2f * pixel);
  });
  sky.Mask(disc);

  // A thin teal rim keeps the disc apart from dark panels.
  const Field rim = Field::FromFunction(size, size, [&](float u, float v) {
    const float d = raster::Length(Vec2{u - 0.5f, v - 0.5f});
    return Cover(std::fabs(d - kDiscRadius + 0.012f) - std::max(0.01f, 0.6f * pixel), 1.2f * pixel);
  });
  sky.Paint(rim, Hex(palette::kAccent));

  const Canvas ship = PaintShip(size * kShipOversample).lit;
  Canvas shipLayer(size, size);
  shipLayer.Stamp(ship, {centre, centre}, kShipScale / kShipOversample * (2 * radius) / size, kShipTurn);
  OverWithGlow(sky, shipLayer, Hex(palette::kGlow, 0.7f), std::max(1, size / 48));
  return sky;
}

bool WriteAppIcons(const std::string& outDir) {
  for (int size : kIconSizes) {
    const std::string folder = outDir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = folder + "/" + kIconFileName;
    if (!WritePng(path, PaintAppIcon(size))) {
      std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace icons
