#include <cmath>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {
namespace {

// Noise around a circle, so the outline closes without a seam.
float RingNoise(float angle, uint32_t seed, float frequency, int octaves) {
  return raster::Fbm(std::cos(angle) * frequency + 17, std::sin(angle) * frequency + 31, seed, octaves);
}

struct Crater {
  Vec2 centre;
  float radius;
  float depth;
};

std::vector<Crater> ScatterCraters(uint32_t seed, int count, float minRadius, float maxRadius) {
  raster::Rng rng(seed);
  std::vector<Crater> craters;
  for (int i = 0; i < count; ++i) {
    float a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Unit()) * 0.62f;
    float r = minRadius + (maxRadius - minRadius) * raster::Square(rng.Unit());
    craters.push_back({{std::cos(a) * d, std::sin(a) * d}, r, rng.Range(0.6f, 1.0f)});
  }
  return craters;
}

// Bowl with a raised, uneven rim; 0 far away.
float CraterHeight(const std::vector<Crater>& craters, Vec2 p, uint32_t seed) {
  float h = 0;
  for (const Crater& c : craters) {
    float d = raster::Length(p - c.centre) / c.radius;
    if (d > 1.8f) continue;
    d *= 0.85f + 0.3f * raster::Fbm(p.x * 9, p.y * 9, seed, 2);
    float bowl = d < 1 ? -(1 - d * d) * (1 - d * d) * c.depth : 0;
    float rim = 0.25f * c.depth * std::exp(-(d - 1) * (d - 1) / 0.06f);
    h += (bowl + rim) * c.radius;
  }
  return h;
}

// Flat facets with random tilts, broken along the cell borders.
struct Facet {
  float height;
  float crack;  // 1 in the cracks between facets
};

Facet FacetAt(Vec2 p, uint32_t seed) {
  raster::CellSample cell = raster::Cellular(p.x * 2.2f + 10, p.y * 2.2f + 10, seed);
  float tx = raster::LatticeValue(cell.id, 1, seed) - 0.5f, ty = raster::LatticeValue(cell.id, 2, seed) - 0.5f;
  float h = (tx * (p.x * 2.2f + 10 - cell.featureX) + ty * (p.y * 2.2f + 10 - cell.featureY)) * 0.25f;
  // Only some stretches of the borders are open cracks; the rest are seams.
  float open = Smoothstep(0.45f, 0.7f, raster::Fbm(p.x * 3 + 2, p.y * 3, seed + 1, 3));
  float crack = (1 - Smoothstep(0.0f, 0.05f, cell.second - cell.nearest)) * (0.25f + 0.75f * open);
  return {h + raster::LatticeValue(cell.id, 3, seed) * 0.06f, crack};
}

// Per variant: outline, surface and colours.
struct RockStyle {
  uint32_t seed;
  Color dark, light, accent;
  int craterCount;
};

const RockStyle kStyles[3] = {
    {101, Hex(0x4A4038), Hex(0xB09C86), Hex(0x7A6656), 9},   // cratered, warm grey-brown
    {202, Hex(0x36333C), Hex(0x7D7782), Hex(0xA4512E), 5},   // long basalt with rust layers
    {303, Hex(0x4C535E), Hex(0x9CA3AA), Hex(0xBFEFFF), 3},   // faceted, blue-grey, icy
};

// Outline radius at an angle (in units of the picture's half size).
float OutlineRadius(int variant, float angle) {
  const RockStyle& s = kStyles[variant];
  switch (variant) {
    case 0:
      return 0.82f + 0.16f * (RingNoise(angle, s.seed, 1.4f, 4) - 0.5f);
    case 1: {
      float a = angle - 0.5f;  // long axis tilted
      float ellipse = 1 / std::sqrt(raster::Square(std::cos(a) / 0.93f) + raster::Square(std::sin(a) / 0.6f));
      return ellipse * (0.95f + 0.14f * (RingNoise(angle, s.seed, 2.0f, 3) - 0.5f));
    }
    default: {
      // Nine facets: straight edges between corners of varying reach.
      constexpr int kCorners = 9;
      float step = 2 * kPi / kCorners;
      int i = static_cast<int>(std::floor(angle / step));
      float t = angle / step - i;
      auto corner = [&](int k) {
        k = ((k % kCorners) + kCorners) % kCorners;
        return 0.74f + 0.2f * raster::LatticeValue(k, 0, s.seed);
      };
      float r0 = corner(i), r1 = corner(i + 1);
      // A straight chord between the two corners, in polar form.
      float chord = r0 * r1 * std::sin(step) / (r0 * std::sin(step * t) + r1 * std::sin(step * (1 - t)));
      return chord * (0.985f + 0.03f * RingNoise(angle, s.seed, 6.0f, 2));
    }
  }
}

}  // namespace

LitPicture PaintRock(int variant, int size, bool shownFlipped) {
  const RockStyle& s = kStyles[variant];
  float px = 2.0f / size;  // one pixel in half-size units
  std::vector<Crater> craters = ScatterCraters(s.seed + 1, s.craterCount, variant == 0 ? 0.07f : 0.09f,
                                               variant == 0 ? 0.26f : 0.2f);
  Field coverage(size, size), height(size, size), tone(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      float r = raster::Length(p), angle = std::atan2(p.y, p.x);
      if (angle < 0) angle += 2 * kPi;
      float edge = OutlineRadius(variant, angle);
      coverage.at(x, y) = Cover(r - edge, 1.6f * px);
      float inside = Clamp01(r / edge);
      float dome = std::sqrt(std::max(0.0f, 1 - inside * inside));
      float detail = raster::Fbm(p.x * 3 + 5, p.y * 3 + 9, s.seed + 2, 6);
      float h = dome * 0.55f + (detail - 0.5f) * 0.22f;
      float t = detail;
      if (variant == 0) {
        h += CraterHeight(craters, p, s.seed + 3);
      } else if (variant == 1) {
        // Layers running along the long axis.
        Vec2 q = raster::Rotate(p, -0.5f);
        float layers = std::sin(q.y * 26 + raster::Fbm(q.x * 2, q.y * 2, s.seed + 4, 3) * 6);
        h += layers * 0.025f + CraterHeight(craters, p, s.seed + 3);
        t = Clamp01(0.5f + layers * 0.3f + (detail - 0.5f));
      } else {
        Facet facet = FacetAt(p, s.seed + 5);
        h += facet.height - facet.crack * 0.03f + CraterHeight(craters, p, s.seed + 3) * 0.6f;
        t = Clamp01(detail * 0.5f + facet.crack * 0.6f + facet.height);
      }
      height.at(x, y) = h * Smoothstep(0.0f, 0.25f, dome);
      tone.at(x, y) = t;
    }
  }

  float pixels = size * 0.5f;  // heights are in half sizes; shading wants pixels
  Field smooth = raster::Blur(height, std::max(1, size / 40));
  Lighting light = LightHeight(height, pixels * 0.9f, shownFlipped, 18);
  LitPicture out{Canvas(size, size), Canvas(size, size), Canvas()};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float t = tone.at(x, y), h = height.at(x, y);
      float cavity = Clamp01(1 - (smooth.at(x, y) - h) * 9);  // darker in hollows
      Color base = raster::Mix(s.dark, s.light, Smoothstep(0.25f, 0.8f, t));
      if (variant == 1) base = raster::Mix(base, s.accent, Smoothstep(0.62f, 0.9f, t) * 0.7f);
      if (variant == 2) base = raster::Mix(base, s.accent, Smoothstep(0.6f, 0.9f, t) * 0.8f);
      base = raster::Shade(base, 0.55f + 0.45f * cavity);
      float a = coverage.at(x, y);
      out.albedo.Set(x, y, raster::WithAlpha(base, a));
      float shine = light.specular.at(x, y) * (variant == 2 ? 0.45f : 0.12f);
      Color lit = raster::Shade(base, 0.22f + 1.1f * light.diffuse.at(x, y));
      out.lit.Set(x, y, {lit.r + shine, lit.g + shine, lit.b + shine * 1.1f, a});
    }
  }
  out.normal = raster::NormalMap(height, pixels * 0.9f);
  return out;
}

Canvas PaintFinalAsteroid(int size) {
  uint32_t seed = 909;
  float px = 2.0f / size;
  std::vector<Crater> craters = ScatterCraters(seed + 1, 22, 0.05f, 0.2f);
  craters.push_back({{0.06f, -0.04f}, 0.3f, 1.0f});  // the great crater at its heart
  Field coverage(size, size), height(size, size), magma(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      float r = raster::Length(p), angle = std::atan2(p.y, p.x);
      float jag = raster::RidgedFbm(std::cos(angle) * 2.5f + 7, std::sin(angle) * 2.5f + 3, seed, 5);
      float body = 0.8f + 0.05f * (RingNoise(angle, seed + 9, 1.2f, 2) - 0.5f);
      float edge = body + 0.2f * (jag - 0.5f);
      coverage.at(x, y) = Cover(r - edge, 1.5f * px);
      // The dome follows the smooth body, not the jagged edge, or the
      // jags would streak it.
      float inside = Clamp01(r / (body + 0.06f));
      float dome = std::sqrt(std::max(0.0f, 1 - inside * inside));
      float rough = raster::RidgedFbm(p.x * 4, p.y * 4, seed + 2, 6);
      height.at(x, y) = (dome * 0.6f + rough * 0.12f + CraterHeight(craters, p, seed + 5)) * Smoothstep(0.0f, 0.2f, dome);
      // Magma: thin bright veins where warped noise crosses its middle.
      float warp = raster::Fbm(p.x * 2 + 1, p.y * 2 + 4, seed + 3, 3);
      float vein = 1 - std::fabs(raster::Fbm(p.x * 2.6f + warp * 1.5f, p.y * 2.6f - warp, seed + 4, 5) - 0.5f) * 2;
      magma.at(x, y) = std::pow(Clamp01(vein), 24.0f) * Smoothstep(0.05f, 0.3f, dome);
    }
  }
  // The heart crater glows from below.
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1};
      float d = raster::Length(p - Vec2{0.06f, -0.04f}) / 0.3f;
      magma.at(x, y) = std::max(magma.at(x, y), Smoothstep(0.75f, 0.0f, d) * 0.9f);
    }
  }
  Field glow = raster::Blur(magma, size / 64);
  Lighting light = LightHeight(height, size * 0.5f, true, 20);
  Canvas out(size, size);
  Color dark = Hex(0x1E1A1E), light2 = Hex(0x5C5058), hot = Hex(0xFF5418), core = Hex(0xFFD27A);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float tone = raster::Fbm(x * px * 3, y * px * 3, seed + 6, 4);
      Color base = raster::Mix(dark, light2, Smoothstep(0.3f, 0.75f, tone));
      Color lit = raster::Shade(base, 0.12f + 1.1f * light.diffuse.at(x, y));
      float m = magma.at(x, y), g = glow.at(x, y);
      Color heat = raster::Mix(hot, core, Smoothstep(0.5f, 1.0f, m));
      float emit = Clamp01(m * 1.2f + g * 1.6f);
      out.Set(x, y, raster::WithAlpha(raster::Mix(lit, heat, emit), coverage.at(x, y)));
    }
  }
  return out;
}

}  // namespace art
