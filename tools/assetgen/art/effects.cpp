#include "tools/assetgen/art/effects.h"

#include <cmath>

#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {

Canvas PaintBullet(int size) {
  // The streak and the burst square map s across the shot and t along it in
  // ways that do not agree, so the light depends on s alone: a hot white core
  // in a cyan glow, transparent at both sides.
  return Canvas::FromFunction(size, size, [](float u, float) {
    float d = std::fabs(u - 0.5f) * 2;
    float core = std::exp(-d * d / 0.04f);
    float glow = std::exp(-d * d / 0.35f) * (1 - Smoothstep(0.85f, 1.0f, d));
    Color c = raster::Mix(Hex(0x6FE8FF), Hex(0xFFFFFF), core);
    return raster::WithAlpha(c, Clamp01(core + glow * 0.85f));
  });
}

Canvas PaintParticle(int size) {
  // White, so the flame's colour table tints it.
  return Canvas::FromFunction(size, size, [](float u, float v) {
    float d = raster::Length({u * 2 - 1, v * 2 - 1});
    float a = std::exp(-d * d * 4.5f) * (1 - Smoothstep(0.85f, 1.0f, d));
    return Color{1, 1, 1, Clamp01(a * 1.1f)};
  });
}

Canvas PaintFlame(int size) {
  // Colour only: white-yellow heart, orange body, a blue-violet fringe.
  return Canvas::FromFunction(size, size, [](float u, float v) {
    float d = raster::Length({u * 2 - 1, v * 2 - 1});
    float flicker = raster::Fbm(u * 5, v * 5, 77, 3, 0.5f, 5) - 0.5f;
    float t = Clamp01(d + flicker * 0.25f);
    Color c = raster::Ramp({Hex(0xFFFBE8), Hex(0xFFD45A), Hex(palette::kEngine), Hex(0xD8402A), Hex(0x5A3CC8)}, t);
    return c;
  });
}

Canvas PaintFlameAlpha(int size) {
  // The shape: a soft blob broken up by tiling noise, white with the shape in
  // both the grey level and the alpha.
  return Canvas::FromFunction(size, size, [](float u, float v) {
    float d = raster::Length({u * 2 - 1, v * 2 - 1});
    float noise = raster::Fbm(u * 4, v * 4, 78, 4, 0.55f, 4);
    float a = Clamp01((1 - Smoothstep(0.2f, 0.95f, d)) * (0.65f + 0.7f * noise));
    return Color{a, a, a, a};
  });
}

Canvas PaintNoise(int size) {
  // Tiling cloud noise for the shield's shimmer.
  return Canvas::FromFunction(size, size, [](float u, float v) {
    float n = raster::Fbm(u * 8, v * 8, 55, 5, 0.55f, 8);
    float m = Smoothstep(0.2f, 0.8f, n);
    return Color{m, m, m, 1};
  });
}

Canvas PaintDisplayBox(int size) {
  float px = 2.0f / size;
  Color border = Hex(palette::kAccent), fill = Hex(palette::kPanel);
  Canvas box = Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float sd = raster::BoxSd(p, {0, 0}, {0.9f, 0.9f}, 0.16f);
    float inside = Cover(sd, 1.2f * px);
    float frame = Cover(std::fabs(sd + 0.04f) - 0.035f, 1.2f * px);
    // Corner brackets, brighter than the frame.
    float corner = Smoothstep(0.55f, 0.7f, std::min(std::fabs(p.x), std::fabs(p.y))) * frame;
    Color c = raster::Mix(fill, border, frame);
    c = raster::Mix(c, Hex(0xD8FFFF), corner * 0.7f);
    float shade = 0.55f + 0.45f * (1 - v);  // lighter at the top, like glass
    c = raster::Mix(raster::Shade(c, shade), c, frame);
    return raster::WithAlpha(c, inside * 0.55f + frame * 0.45f);
  });
  Canvas out(size, size);
  OverWithGlow(out, box, Hex(palette::kAccent, 0.25f), size / 32);
  return out;
}

Canvas PaintStarField(int width, int height) {
  // Quieter than the screens' skies, so small rocks stand out against it.
  return PaintSky(width, height, 11, 0.5f, Hex(0x101640), {0.72f, 0.78f}, 0.6f);
}

}  // namespace art
