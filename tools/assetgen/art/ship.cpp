#include <cmath>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {
namespace {

// Outlines in half-size units, x right and y down; the nose points up.
const std::vector<Vec2> kWingHalf = {{0.0f, -0.2f},  {0.2f, -0.14f}, {0.74f, 0.36f},
                                     {0.77f, 0.5f},  {0.66f, 0.53f}, {0.26f, 0.44f}, {0.0f, 0.5f}};
const std::vector<Vec2> kFuselageHalf = {{0.0f, -0.88f}, {0.07f, -0.7f}, {0.135f, -0.38f}, {0.165f, -0.05f},
                                         {0.17f, 0.42f},  {0.13f, 0.7f},  {0.0f, 0.74f}};

// Everything the ship picture is made of, at one size.
struct ShipLayers {
  Field coverage, height, cockpit, nozzle;
  Canvas albedo;
};

ShipLayers BuildShip(int size) {
  const std::vector<Vec2> wing = raster::MirrorX(kWingHalf, 0);
  const std::vector<Vec2> fuselage = raster::MirrorX(kFuselageHalf, 0);
  float px = 2.0f / size;
  ShipLayers s{Field(size, size), Field(size, size), Field(size, size), Field(size, size), Canvas(size, size)};
  Color hull = Hex(palette::kHull), hullDark = Hex(palette::kHullDark), accent = Hex(palette::kAccent);
  Color canopy = Hex(palette::kCanopy), engine = Hex(palette::kEngine);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      Vec2 mirrored{std::fabs(p.x), p.y};
      float sdWing = raster::PolygonSd(wing, p);
      float sdBody = raster::PolygonSd(fuselage, p);
      float sdPod = raster::BoxSd(mirrored, {0.25f, 0.52f}, {0.065f, 0.17f}, 0.05f);
      float sdCanopy = (raster::Length({p.x / 0.065f, (p.y + 0.36f) / 0.17f}) - 1) * 0.065f;
      float sdNozzle = raster::BoxSd(mirrored, {0.25f, 0.68f}, {0.045f, 0.03f}, 0.02f);

      float wingCover = Cover(sdWing, 1.2f * px), bodyCover = Cover(sdBody, 1.2f * px);
      float podCover = Cover(sdPod, 1.2f * px), canopyCover = Cover(sdCanopy, 1.2f * px);
      s.coverage.at(x, y) = std::max({wingCover, bodyCover, podCover});
      s.cockpit.at(x, y) = canopyCover;
      s.nozzle.at(x, y) = Cover(sdNozzle, 1.5f * px);

      float wingH = 0.05f * Smoothstep(0, 0.06f, -sdWing);
      float bodyH = 0.16f * std::sqrt(Smoothstep(0, 0.13f, -sdBody));
      float podH = 0.13f * std::sqrt(Smoothstep(0, 0.06f, -sdPod));
      float canopyH = 0.05f * std::sqrt(Smoothstep(0, 0.06f, -sdCanopy));
      // Panel seams: across the wings and along the body.
      float seam = std::min({std::fabs(mirrored.y - 0.68f * mirrored.x - 0.02f), std::fabs(p.y + 0.02f),
                             std::fabs(mirrored.x - 0.42f) + std::max(0.0f, -sdWing - 0.2f)});
      float groove = (1 - Smoothstep(0, 1.6f * px, seam)) * (wingCover > 0.5f || bodyCover > 0.5f ? 1.0f : 0.0f);
      s.height.at(x, y) = std::max({wingH, bodyH, podH}) + canopyH - 0.012f * groove;

      // Colour by layer, wings first.
      Color c = raster::Mix(hullDark, hull, 0.75f);
      float stripe = Cover(std::fabs(mirrored.y - 0.68f * mirrored.x + 0.16f) - 0.035f, 1.2f * px) *
                     Smoothstep(0.25f, 0.32f, mirrored.x);
      c = raster::Mix(c, accent, stripe);
      float tip = Cover(raster::Length(mirrored - Vec2{0.72f, 0.47f}) - 0.045f, 1.2f * px);
      c = raster::Mix(c, p.x < 0 ? Hex(palette::kWarning) : accent, tip);
      c = raster::Mix(c, hull, bodyCover);
      float spine = Cover(std::fabs(p.x) - 0.025f, 1.2f * px) * Smoothstep(-0.1f, 0.0f, p.y) * bodyCover;
      c = raster::Mix(c, raster::Mix(accent, Hex(palette::kAccentDeep), 0.3f), spine);
      c = raster::Mix(c, hullDark, podCover);
      c = raster::Mix(c, raster::Mix(Hex(0x0A2A40), canopy, Smoothstep(0.1f, -0.5f, p.y + 0.36f)), canopyCover);
      c = raster::Mix(c, engine, s.nozzle.at(x, y));
      c = raster::Shade(c, 1 - 0.35f * groove);
      s.albedo.Set(x, y, raster::WithAlpha(c, s.coverage.at(x, y)));
    }
  }
  return s;
}

// Distance from the centre of the nearest cell of a hexagonal tiling (cells
// one unit across the flats; the edges lie at 0.5).
float HexDistance(Vec2 p) {
  const Vec2 r{1, 1.7320508f}, h{0.5f, 0.8660254f};
  auto wrap = [](Vec2 v, Vec2 m) { return Vec2{v.x - m.x * std::floor(v.x / m.x), v.y - m.y * std::floor(v.y / m.y)}; };
  Vec2 a = wrap(p, r) - h, b = wrap(p - h, r) - h;
  Vec2 g = raster::Dot(a, a) < raster::Dot(b, b) ? a : b;
  g = {std::fabs(g.x), std::fabs(g.y)};
  return std::max(raster::Dot(g, {0.5f, 0.8660254f}), g.x);
}

}  // namespace

Field ShipHeight(int size) { return BuildShip(size).height; }

LitPicture PaintShip(int size) {
  ShipLayers s = BuildShip(size);
  float pixels = size * 0.5f;
  Lighting light = LightHeight(s.height, pixels, false, 30);
  LitPicture out{Canvas(size, size), s.albedo, raster::NormalMap(s.height, pixels)};
  Field engineGlow = raster::Blur(s.nozzle, std::max(1, size / 40));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Color base = s.albedo.Get(x, y);
      float glass = s.cockpit.at(x, y);
      float shine = light.specular.at(x, y) * (0.45f + 0.9f * glass);
      Color lit = raster::Shade(base, 0.3f + 0.85f * light.diffuse.at(x, y));
      lit = {lit.r + shine, lit.g + shine, lit.b + shine, base.a};
      lit = raster::Mix(lit, Hex(0xFFE2A0), s.nozzle.at(x, y) * 0.8f);  // engines glow unlit
      out.lit.Set(x, y, lit);
    }
  }
  // A faint heat haze behind the nozzles, for both colour forms.
  for (Canvas* c : {&out.lit, &out.albedo}) c->Paint(engineGlow, Hex(palette::kEngine, 0.35f));
  return out;
}

Canvas PaintShieldBubble(int size, float strength) {
  float px = 2.0f / size;
  Color shield = Hex(palette::kShield);
  return Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float r = raster::Length(p) / 0.9f, angle = std::atan2(p.y, p.x);
    float inside = Cover((r - 1) * 0.9f, 1.5f * px);
    // Fresnel-like: thin in the middle, dense towards the rim, where three
    // brighter arcs run; a soft glow spills a little outside.
    float fresnel = std::pow(Clamp01(r), 2.5f);
    float arcs = 0.6f + 0.4f * Smoothstep(-0.2f, 0.4f, std::cos(3 * angle + 0.6f));
    float rim = 0.75f * std::exp(-raster::Square((r - 0.94f) / 0.09f)) * arcs;
    float halo = r > 1 ? std::exp(-(r - 1) / 0.05f) * 0.45f : 0.0f;
    // Faint hexagonal cells in the outer part only.
    float hexLine = Smoothstep(0.42f, 0.5f, HexDistance(p * 6.5f)) * Smoothstep(0.5f, 0.9f, r);
    // Highlight on the upper left, where the light comes from.
    float highlight = raster::Square(Clamp01(1 - raster::Length(p - Vec2{-0.4f, -0.42f}) / 0.3f));
    float alpha = ((0.1f + 0.5f * fresnel + 0.1f * hexLine + 0.4f * highlight) * inside + rim + halo) * strength;
    Color c = raster::Mix(shield, Hex(0xFFFFFF), Clamp01(rim * 0.6f + highlight));
    return raster::WithAlpha(c, Clamp01(alpha));
  });
}

std::vector<Canvas> CutDebris(const Canvas& ship) {
  // One seed per piece, towards where its flight offset takes it: 0 and 3
  // right, 1 and 2 down, 4 left, 5 up right, 6 (the nose) furthest up.
  const Vec2 seeds[7] = {{0.55f, 0.32f}, {-0.2f, 0.6f}, {0.2f, 0.62f}, {0.2f, 0.1f},
                         {-0.45f, 0.22f}, {0.04f, -0.24f}, {0.0f, -0.66f}};
  int size = ship.width();
  float px = 2.0f / size;
  std::vector<Canvas> pieces(7, Canvas(size, size));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Color c = ship.Get(x, y);
      if (c.a <= 0) continue;
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      // Jagged cuts: the distance is disturbed by noise before the nearest
      // seed is chosen.
      Vec2 q = p + Vec2{raster::Fbm(p.x * 4, p.y * 4, 41, 3) - 0.5f, raster::Fbm(p.x * 4, p.y * 4, 42, 3) - 0.5f} * 0.14f;
      float best = 1e9f, second = 1e9f;
      int owner = 0;
      for (int i = 0; i < 7; ++i) {
        float d = raster::Length(q - seeds[i]);
        if (d < best) {
          second = best, best = d, owner = i;
        } else if (d < second) {
          second = d;
        }
      }
      // Near a cut the metal glows and chars.
      float heat = 1 - Smoothstep(0.0f, 0.09f, second - best);
      Color burnt = raster::Mix(raster::Shade(c, 0.45f), Hex(palette::kEngine), heat * heat);
      c = raster::Mix(c, burnt, heat);
      pieces[owner].Set(x, y, raster::WithAlpha(c, c.a * (1 - 0.6f * Smoothstep(0.8f, 1.0f, heat))));
    }
  }
  return pieces;
}

}  // namespace art
