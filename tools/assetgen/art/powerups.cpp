#include <cmath>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/raster/filters.h"

namespace art {
namespace {

// An arrow from base to tip (y down), as a signed distance.
float ArrowSd(Vec2 p, Vec2 base, Vec2 tip, float shaftHalf, float headHalf, float headLength) {
  Vec2 axis = tip - base;
  float length = raster::Length(axis);
  Vec2 along = axis * (1 / length), across{-along.y, along.x};
  Vec2 local{raster::Dot(p - base, across), raster::Dot(p - base, along)};
  float shaft = raster::BoxSd(local, {0, (length - headLength) * 0.5f}, {shaftHalf, (length - headLength) * 0.5f}, 0);
  std::vector<Vec2> head = {{0, length}, {headHalf, length - headLength}, {-headHalf, length - headLength}};
  return std::min(shaft, raster::PolygonSd(head, local));
}

// The emblem of each kind, as a signed distance in badge units.
float SymbolSd(int kind, Vec2 p) {
  switch (kind) {
    case 0: {  // shield: a hexagonal ring around a core; looks the same upside down
      static const std::vector<Vec2> outer = raster::RegularPolygon(6, 0.6f, 0);
      static const std::vector<Vec2> core = raster::RegularPolygon(6, 0.3f, 0);
      float ring = std::fabs(raster::PolygonSd(outer, p) + 0.05f) - 0.06f;
      return std::min(ring, raster::PolygonSd(core, p));
    }
    case 1: {  // long range: one long arrow with a crossbar
      float arrow = ArrowSd(p, {0, 0.62f}, {0, -0.64f}, 0.07f, 0.26f, 0.36f);
      float bar = raster::BoxSd(p, {0, 0.36f}, {0.2f, 0.05f}, 0.03f);
      return std::min(arrow, bar);
    }
    case 2: {  // spread: three arrows fanning out
      float best = 1e9f;
      for (float angle : {-0.5f, 0.0f, 0.5f}) {
        Vec2 tip = Vec2{0, 0.5f} + raster::Rotate({0, -1.08f}, angle);
        best = std::min(best, ArrowSd(p, {0, 0.5f}, tip, 0.055f, 0.17f, 0.26f));
      }
      return best;
    }
    default: {  // starburst: an eight-pointed star
      static const std::vector<Vec2> star = raster::StarPolygon(8, 0.66f, 0.25f);
      return raster::PolygonSd(star, p);
    }
  }
}

const uint32_t kColours[4] = {palette::kShield, palette::kLongRange, palette::kSpread, palette::kStarburst};

}  // namespace

LitPicture PaintPowerUp(int kind, int size) {
  float px = 2.0f / size;
  Color colour = Hex(kColours[kind]);
  Color rimColour = raster::Mix(colour, Hex(0xFFFFFF), 0.35f), glass = raster::Shade(colour, 0.16f);
  Field height(size, size), symbol(size, size);
  Canvas albedo(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      float r = raster::Length(p);
      float disc = Cover(r - 0.92f, 1.3f * px);
      float rim = Cover(std::fabs(r - 0.84f) - 0.08f, 1.3f * px);
      float sd = SymbolSd(kind, p);
      float mark = Cover(sd, 1.3f * px);
      symbol.at(x, y) = mark;
      float rimH = 0.09f * std::sqrt(Clamp01(1 - std::fabs(r - 0.84f) / 0.08f));
      float markH = 0.07f * std::sqrt(Smoothstep(0, 0.07f, -sd));
      height.at(x, y) = rimH + markH - 0.02f * (1 - rim) * disc;
      // The glass darkens towards its edge, the mark is bright at its heart.
      Color c = raster::Mix(glass, raster::Shade(colour, 0.3f), Clamp01(1 - r));
      c = raster::Mix(c, rimColour, rim);
      c = raster::Mix(c, raster::Mix(colour, Hex(0xFFFFFF), Smoothstep(0, 0.12f, -sd) * 0.6f), mark);
      albedo.Set(x, y, raster::WithAlpha(c, disc * (0.82f + 0.18f * std::max(rim, mark))));
    }
  }
  float pixels = size * 0.5f;
  Lighting light = LightHeight(height, pixels, false, 28);
  LitPicture out{Canvas(size, size), albedo, raster::NormalMap(height, pixels)};
  Field glow = raster::Blur(symbol, std::max(1, size / 24));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Color c = albedo.Get(x, y);
      float shine = light.specular.at(x, y) * 0.7f;
      float emissive = symbol.at(x, y) * 0.55f;  // the mark glows, it is not only lit
      float k = 0.35f + 0.8f * light.diffuse.at(x, y);
      k = k * (1 - emissive) + emissive * 1.1f;
      Color lit = raster::Shade(c, k);
      out.lit.Set(x, y, {lit.r + shine, lit.g + shine, lit.b + shine, c.a});
    }
  }
  for (Canvas* c : {&out.lit, &out.albedo}) c->Add(Canvas::FromFunction(size, size, [&](float u, float v) {
    float g = glow.Sample(u * size, v * size);
    return raster::WithAlpha(colour, g * 0.35f);
  }));
  return out;
}

}  // namespace art
