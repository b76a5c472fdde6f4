#include <cmath>
#include <vector>

#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/raster/filters.h"

namespace art {
namespace {

// Fades a square picture out towards its edges (a rounded square), so the
// game's black screen shows no seam around it.
void FeatherEdges(Canvas& canvas, float inner, float outer) {
  canvas.Mask(Field::FromFunction(canvas.width(), canvas.height(), [&](float u, float v) {
    float d = raster::BoxSd({u * 2 - 1, v * 2 - 1}, {0, 0}, {inner, inner}, 0.25f);
    return 1 - Smoothstep(0.0f, outer - inner, d);
  }));
}

// The studio's mark: kelp fronds rising in a hexagon, sparks above.
void DrawStudioMark(Canvas& canvas, Vec2 centre, float radius) {
  float px = 1 / radius;
  const std::vector<Vec2> hex = raster::RegularPolygon(6, 1.0f, raster::kPi / 6);
  Canvas mark = Canvas::FromFunction(canvas.width(), canvas.height(), [&](float u, float v) {
    Vec2 p{(u * canvas.width() - centre.x) / radius, (v * canvas.height() - centre.y) / radius};
    float sd = raster::PolygonSd(hex, p);
    if (sd > 0.3f) return Color{0, 0, 0, 0};
    float inside = Cover(sd, 1.5f * px), frame = Cover(std::fabs(sd + 0.06f) - 0.05f, 1.5f * px);
    float frond = 1e9f;
    for (float stem : {-0.32f, 0.0f, 0.32f}) {
      float wave = stem + 0.12f * std::sin(p.y * 5 + stem * 9) * (0.8f - p.y) * 0.6f;
      float width = 0.07f * (1 - Smoothstep(-0.7f, 0.75f, -p.y)) + 0.02f;
      float top = -0.55f + std::fabs(stem) * 0.6f;
      frond = std::min(frond, std::max(std::fabs(p.x - wave) - width, std::max(top - p.y, p.y - 0.62f)));
    }
    float leaf = Cover(frond, 1.5f * px) * inside;
    Color c = raster::Mix(Hex(palette::kPanel), Hex(0x1A3A50), Clamp01(0.5f - p.y * 0.5f));
    c = raster::Mix(c, raster::Mix(Hex(0x3FE0A0), Hex(palette::kAccentDeep), Clamp01(p.y + 0.5f)), leaf);
    c = raster::Mix(c, Hex(palette::kAccent), frame);
    return raster::WithAlpha(c, std::max(inside * 0.92f, frame));
  });
  OverWithGlow(canvas, mark, Hex(palette::kAccent, 0.35f), static_cast<int>(radius / 10));
  // Forge sparks over the top of the mark.
  const Vec2 sparks[] = {{-0.2f, -0.78f}, {0.05f, -0.92f}, {0.28f, -0.74f}, {0.12f, -1.12f}, {-0.1f, -1.05f}};
  for (Vec2 s : sparks) {
    Field dot = Field::FromFunction(canvas.width(), canvas.height(), [&](float u, float v) {
      Vec2 p{(u * canvas.width() - centre.x) / radius, (v * canvas.height() - centre.y) / radius};
      float d = raster::Length(p - s);
      return std::exp(-d * d / 0.0025f);
    });
    canvas.Paint(dot, Hex(palette::kEngine));
  }
}

}  // namespace

Canvas PaintPresents(int size) {
  Canvas out(size, size);
  DrawStudioMark(out, {size * 0.5f, size * 0.22f}, size * 0.12f);
  const Fonts& fonts = SharedFonts();
  TextStyle name;
  name.top = Hex(0xFFFFFF);
  name.bottom = Hex(palette::kCanopy);
  name.glow = Hex(palette::kAccent, 0.6f);
  name.glowRadius = size / 96;
  name.shadow = Hex(0x000000, 0.7f);
  name.shadowOffset = 2;
  // Each line stays inside its half: the halves slide in separately.
  DrawText(out, fonts.bold, "KelpforgeSoftware", size * 0.085f, size * 0.5f, size * 0.4f, Align::kCentre, name,
           size * 0.9f);
  TextStyle presents = name;
  presents.top = presents.bottom = Hex(palette::kText);
  DrawText(out, fonts.regular, "presents", size * 0.07f, size * 0.5f, size * 0.61f, Align::kCentre, presents,
           size * 0.9f, 1, size * 0.012f);
  return out;
}

Canvas PaintTitle(int size) {
  float s = static_cast<float>(size);
  Canvas out = PaintSky(size, size, 41, 0.75f, Hex(0x16205A), {0.5f, 0.95f});
  DrawPlanet(out, {s * 0.5f, s * 1.62f}, s * 0.8f, 43, Hex(0x3C8A6A), Hex(0x0C2448), Hex(0x6FD8FF), {-0.5f, -0.6f},
             true);
  DrawRockSwarm(out, 44, 30, {s * 1.08f, s * 0.3f}, {s * -0.05f, s * 0.9f}, s * 0.4f, s * 0.015f, s * 0.11f);
  DrawShipInFlight(out, {s * 0.34f, s * 0.68f}, s * 0.2f, 0.65f);
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "STARFIELD", s * 0.13f, s * 0.5f, s * 0.16f, Align::kCentre, TitleStyle(s * 0.13f),
           s * 0.86f, 1, s * 0.012f);
  DrawText(out, fonts.bold, "STAMPEDE", s * 0.16f, s * 0.5f, s * 0.31f, Align::kCentre, TitleStyle(s * 0.16f),
           s * 0.9f, 1, s * 0.01f);
  FeatherEdges(out, 0.82f, 1.0f);
  return out;
}

Canvas PaintLoading(int size) {
  Canvas out(size, size);
  TextStyle style;
  style.top = Hex(0xFFFFFF);
  style.bottom = Hex(palette::kCanopy);
  style.glow = Hex(palette::kAccent, 0.7f);
  style.glowRadius = size / 80;
  // The band (a third of the height, all of the width) is drawn 4:1, a third
  // wider than it is; the letters are set narrower to make up for it.
  float stretch = (static_cast<float>(size) / (size * 0.33f)) / 4;
  DrawText(out, SharedFonts().bold, "Loading", size * 0.17f, size * 0.5f, size * 0.49f, Align::kCentre, style,
           size * 0.9f, stretch, size * 0.01f);
  return out;
}

Canvas PaintPointer(int size) {
  float k = size / 32.0f;
  std::vector<Vec2> arrow = {{1, 1}, {1, 25}, {7, 19.5f}, {11.5f, 29}, {16, 27}, {11.5f, 18}, {19.5f, 18}};
  for (Vec2& p : arrow) p = p * k;
  Field shape = Field::FromFunction(size, size, [&](float u, float v) {
    return Cover(raster::PolygonSd(arrow, {u * size, v * size}), 1.0f);
  });
  Field outline = Field::FromFunction(size, size, [&](float u, float v) {
    return Cover(raster::PolygonSd(arrow, {u * size, v * size}) - 1.4f * k, 1.0f);
  });
  Canvas out(size, size);
  out.Paint(raster::Blur(outline, std::max(1, size / 16)), Hex(palette::kAccent, 0.6f));
  out.Paint(outline, Hex(0x04101C));
  out.PaintWith(shape, [&](int, int y) { return raster::Mix(Hex(0xFFFFFF), Hex(palette::kCanopy), y / (size * 0.9f)); });
  return out;
}

}  // namespace art
