#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {
namespace {

// Adds a soft round glow (premultiplied light) centred at p.
void AddGlow(Canvas& canvas, Vec2 p, float radius, Color c, float strength) {
  int x0 = std::max(0, static_cast<int>(p.x - radius * 2)), x1 = std::min(canvas.width(), static_cast<int>(p.x + radius * 2) + 1);
  int y0 = std::max(0, static_cast<int>(p.y - radius * 2)), y1 = std::min(canvas.height(), static_cast<int>(p.y + radius * 2) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float dx = (x + 0.5f - p.x) / radius, dy = (y + 0.5f - p.y) / radius;
      float k = std::exp(-(dx * dx + dy * dy) * 2) * strength;
      Canvas::Pixel& d = canvas.at(x, y);
      d.r += c.r * k, d.g += c.g * k, d.b += c.b * k;
      d.a = std::min(1.0f, d.a + k);
    }
  }
}

// A soft grey-blue puff, 32 pixels across, for dust trails.
const Canvas& Dust() {
  static const Canvas puff = Canvas::FromFunction(32, 32, [](float u, float v) {
    float d = raster::Length({u * 2 - 1, v * 2 - 1});
    return raster::WithAlpha(Hex(0x8A90A8), std::exp(-d * d * 4) * (1 - Smoothstep(0.8f, 1.0f, d)));
  });
  return puff;
}

}  // namespace

Canvas PaintSky(int width, int height, uint32_t seed, float nebula, Color glow, Vec2 glowAt, float stars) {
  float aspect = static_cast<float>(width) / height;
  Canvas sky = Canvas::FromFunction(width, height, [&](float u, float v) {
    float d = raster::Length({(u - glowAt.x) * aspect, v - glowAt.y});
    return raster::Mix(glow, Hex(palette::kSpaceDeep), Smoothstep(0.0f, 0.9f, d));
  });
  DrawNebula(sky, seed, nebula);
  DrawStars(sky, seed + 1, 1.0f, stars);
  return sky;
}

void DrawRockSwarm(Canvas& canvas, uint32_t seed, int count, Vec2 from, Vec2 to, float spread, float minSize,
                   float maxSize) {
  std::vector<Canvas> rocks;
  for (int v = 0; v < 3; ++v) rocks.push_back(PaintRock(v, 128, false).lit);
  raster::Rng rng(seed);
  Vec2 path = to - from;
  Vec2 along = path * (1 / raster::Length(path)), across{-along.y, along.x};
  struct Placed {
    Vec2 at;
    float size, angle;
    int variant;
  };
  std::vector<Placed> placed;
  for (int i = 0; i < count; ++i) {
    float t = rng.Unit(), side = rng.Range(-0.5f, 0.5f);
    float size = minSize + (maxSize - minSize) * std::pow(rng.Unit(), 2.5f);
    placed.push_back({from + path * t + across * (side * spread), size, rng.Range(0, 2 * kPi), rng.Below(3)});
  }
  // Small (far) rocks first, so near ones pass in front; each trails a
  // tapering wisp of dust along its path.
  std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.size < b.size; });
  for (const Placed& p : placed) {
    float scale = p.size / 128, depth = Clamp01((p.size - minSize) / (maxSize - minSize + 1e-3f));
    DrawDustTrail(canvas, p.at, along * -1, p.size, 0.5f + depth);
    Canvas rock = rocks[p.variant];
    if (depth < 0.5f) rock.Tint(Hex(palette::kSpaceNavy, 0.5f - depth));  // haze on far rocks
    canvas.Stamp(rock, p.at, scale, p.angle);
  }
}

void DrawDustTrail(Canvas& canvas, Vec2 head, Vec2 backwards, float size, float strength) {
  float length = size * 2.8f;
  for (float d = length; d > 0; d -= std::max(1.0f, size * 0.04f)) {
    float t = d / length;
    float radius = size * 0.32f * (1 - 0.6f * t);
    canvas.Stamp(Dust(), head + backwards * d, radius / 16, 0, 0.07f * (1 - t) * strength);
  }
}

void DrawShipInFlight(Canvas& canvas, Vec2 centre, float size, float angle) {
  int resolution = size > 128 ? 256 : 128;
  Canvas ship = PaintShip(resolution).lit;
  Vec2 back = raster::Rotate({0, 1}, angle);  // towards the tail, rows growing downwards
  // The nozzles sit a third of the size behind the centre, an eighth to
  // either side (as the ship picture draws them).
  Vec2 tail = centre + back * (size * 0.34f);
  for (int i = 14; i >= 0; --i) {
    float t = i / 14.0f;
    Color c = raster::Ramp({Hex(0xFFF6D8), Hex(0xFFC04A), Hex(palette::kEngine), Hex(0xB03A7A)}, t);
    for (float side : {-0.125f, 0.125f}) {
      Vec2 nozzle = tail + raster::Rotate({side * size, 0}, angle);
      AddGlow(canvas, nozzle + back * (size * 0.42f * t), size * (0.03f + 0.06f * t), c, 0.6f * (1 - t * 0.8f));
    }
  }
  canvas.Stamp(ship, centre, size / resolution, angle);
}

void DrawPlanet(Canvas& canvas, Vec2 centre, float radius, uint32_t seed, Color land, Color sea, Color air,
                Vec2 light, bool cities) {
  int x0 = std::max(0, static_cast<int>(centre.x - radius * 1.15f));
  int x1 = std::min(canvas.width(), static_cast<int>(centre.x + radius * 1.15f) + 1);
  int y0 = std::max(0, static_cast<int>(centre.y - radius * 1.15f));
  int y1 = std::min(canvas.height(), static_cast<int>(centre.y + radius * 1.15f) + 1);
  float lz = std::sqrt(std::max(0.05f, 1 - raster::Dot(light, light)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      Vec2 p{(x + 0.5f - centre.x) / radius, (y + 0.5f - centre.y) / radius};
      float r = raster::Length(p);
      float facing = r > 0 ? raster::Dot(p, light) / r : 0;
      if (r < 1) {
        float z = std::sqrt(1 - r * r);
        float lambert = Clamp01(raster::Dot(p, light) + z * lz);
        // Surface on the sphere: the lookup spreads towards the limb.
        Vec2 q = p * (1 / (z + 0.35f));
        float n = raster::Fbm(q.x * 1.6f + 3, q.y * 1.6f, seed, 6);
        float isLand = Smoothstep(0.5f, 0.53f, n);
        float dry = Smoothstep(0.45f, 0.7f, raster::Fbm(q.x * 2 + 9, q.y * 2, seed + 1, 4));
        Color ground = raster::Mix(raster::Shade(land, 0.7f + 0.6f * n), Hex(0xB8A070), dry * 0.6f);
        Color surface = raster::Mix(raster::Shade(sea, 0.8f + 0.4f * n), ground, isLand);
        float cloud = Smoothstep(0.55f, 0.75f, raster::Fbm(q.x * 2.4f + 5, q.y * 3.2f, seed + 2, 6));
        surface = raster::Mix(surface, Hex(0xF4F8FF), cloud * 0.85f);
        Color lit = raster::Shade(surface, 0.04f + 1.05f * lambert);
        if (cities && lambert < 0.1f && isLand > 0.5f && cloud < 0.3f) {
          // Scattered lights: a few cells of a fine grid hold one warm dot.
          Vec2 cell{std::floor(q.x * 90), std::floor(q.y * 90)};
          uint32_t cx = static_cast<uint32_t>(static_cast<int>(cell.x)), cy = static_cast<uint32_t>(static_cast<int>(cell.y));
          if (raster::LatticeValue(cx, cy, seed + 3) > 0.86f) {
            float d = raster::Length(Vec2{q.x * 90 - cell.x - 0.5f, q.y * 90 - cell.y - 0.5f});
            lit = raster::Mix(lit, Hex(0xFFD890), Clamp01(1.5f - d * 3) * (1 - lambert / 0.1f));
          }
        }
        float rim = std::pow(1 - z, 3.0f) * Clamp01(facing + 0.6f);  // air at the edge
        lit = raster::Mix(lit, air, Clamp01(rim));
        canvas.Set(x, y, raster::Mix(canvas.Get(x, y), raster::WithAlpha(lit, 1), Cover(r - 1, 1.5f / radius)));
      }
      if (r > 0.97f && r < 1.15f) {  // the atmosphere's glow around the disc
        float glow = std::exp(-(r - 1) * (r - 1) / 0.0015f) * Clamp01(facing + 0.4f);
        Canvas::Pixel& d = canvas.at(x, y);
        d.r += air.r * glow, d.g += air.g * glow, d.b += air.b * glow;
        d.a = std::min(1.0f, d.a + glow);
      }
    }
  }
}

}  // namespace art
