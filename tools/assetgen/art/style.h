#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/raster/canvas.h"
#include "tools/assetgen/raster/text.h"

// The look shared by every picture: one palette, one light, one way of
// setting text.
namespace art {

using raster::Canvas;
using raster::Clamp01;
using raster::Color;
using raster::Cover;
using raster::Field;
using raster::Hex;
using raster::kPi;
using raster::Smoothstep;
using raster::Vec2;

namespace palette {
constexpr uint32_t kSpaceDeep = 0x02030A;
constexpr uint32_t kSpaceNavy = 0x0A1030;
constexpr uint32_t kNebulaViolet = 0x5A2C8A;
constexpr uint32_t kNebulaTeal = 0x176A78;
constexpr uint32_t kHull = 0xDCE3EC;
constexpr uint32_t kHullDark = 0x4E5766;
constexpr uint32_t kAccent = 0x1FC2B4;       // teal stripes, UI borders
constexpr uint32_t kAccentDeep = 0x0E6C7E;
constexpr uint32_t kCanopy = 0x78E6FF;
constexpr uint32_t kEngine = 0xFF8A35;
constexpr uint32_t kWarning = 0xE8453C;
constexpr uint32_t kShield = 0x5CE2FF;
constexpr uint32_t kLongRange = 0x5CFF7E;
constexpr uint32_t kSpread = 0xFFAE34;
constexpr uint32_t kStarburst = 0xFF4FD8;
constexpr uint32_t kGold = 0xFFD56E;
constexpr uint32_t kGoldDeep = 0xFF8A1E;
constexpr uint32_t kPanel = 0x0C1630;
constexpr uint32_t kText = 0xCDE6FF;
constexpr uint32_t kGlow = 0x7FF0FF;
}  // namespace palette

// Baked lighting: one light from the upper left of the screen, a little in
// front, as the game draws objects at heading 0. Pictures the game maps
// upside down (asteroids, power-ups) are lit as if flipped, so they too look
// lit from the upper left.
struct Lighting {
  Field diffuse;   // Lambert term 0..1
  Field specular;  // Blinn-Phong highlight 0..1
};
// Height in pixels times strength; shownFlipped for pictures drawn upside down.
Lighting LightHeight(const Field& height, float strength, bool shownFlipped, float shininess = 24);

// Fonts from fonts-dejavu-core, opened once per run on the calling thread.
struct Fonts {
  raster::Font bold{raster::DejaVuPath("DejaVuSans-Bold.ttf")};
  raster::Font regular{raster::DejaVuPath("DejaVuSans.ttf")};
  raster::Font monoBold{raster::DejaVuPath("DejaVuSansMono-Bold.ttf")};
  bool ok() const;
};
// The shared fonts; ok() false prints which file is missing.
const Fonts& SharedFonts();

struct TextStyle {
  Color top{1, 1, 1, 1};      // fill at the top of the capitals
  Color bottom{1, 1, 1, 1};   // fill at the baseline
  Color outline{0, 0, 0, 0};
  int outlineWidth = 0;       // pixels
  Color glow{0, 0, 0, 0};
  int glowRadius = 0;         // pixels
  Color shadow{0, 0, 0, 0};
  int shadowOffset = 0;       // pixels down and to the right
};

enum class Align { kLeft, kCentre, kRight };

// Draws one line of text set at pixelSize (shrunk sideways until its ink
// fits maxWidth) with its capitals centred on y and its ink's left edge,
// centre or right edge at x (canvas pixels).
void DrawText(Canvas& canvas, const raster::Font& font, const std::string& text, float pixelSize, float x, float y,
              Align align, const TextStyle& style, float maxWidth = 1e9f, float stretch = 1, float tracking = 0);

// Breaks text into lines no wider than maxWidth when set at pixelSize
// (words longer than a line get a line of their own).
std::vector<std::string> WrapWords(const raster::Font& font, const std::string& text, float pixelSize,
                                   float maxWidth);

// Draws top over the canvas on a soft glow of its own outline.
void OverWithGlow(Canvas& canvas, const Canvas& top, Color glow, int radius);

// The title lettering: gold to orange with a dark outline and a cyan glow.
TextStyle TitleStyle(float pixelSize);

// A star field: dim dust, brighter stars and a few with glints, over what
// the canvas holds. density scales the count, brightness the light; seed
// picks the sky.
void DrawStars(Canvas& canvas, uint32_t seed, float density, float brightness = 1);
// Nebula clouds of the palette's violet and teal, strength 0..1.
void DrawNebula(Canvas& canvas, uint32_t seed, float strength);

}  // namespace art
