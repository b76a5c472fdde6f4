#include <cmath>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/raster/filters.h"

namespace art {
namespace {

// A glowing thin line drawing: the field painted with a halo under it.
void PaintGlowing(Canvas& canvas, const Field& lines, Color colour, int radius) {
  canvas.Paint(raster::Blur(lines, radius), raster::WithAlpha(colour, colour.a * 0.6f));
  canvas.Paint(lines, colour);
}

}  // namespace

Canvas PaintSkyDisc(int size, uint32_t seed, float radius) {
  Canvas sky = Canvas::FromFunction(size, size, [](float u, float v) {
    float d = raster::Length({u - 0.5f, v - 0.45f});
    return raster::Mix(Hex(0x141C4C), Hex(palette::kSpaceDeep), Smoothstep(0.0f, 0.6f, d));
  });
  DrawNebula(sky, seed, 0.5f);
  DrawStars(sky, seed + 1, 1.2f);
  sky.Mask(Field::FromFunction(size, size, [&](float u, float v) {
    float d = raster::Length({u * 2 - 1, v * 2 - 1});
    return 1 - Smoothstep(radius * 0.7f, radius, d);
  }));
  return sky;
}

Canvas PaintLevelStart(int size) {
  Canvas out = PaintSkyDisc(size, 21, 0.98f);
  float px = 2.0f / size;
  Field rings = Field::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float r = raster::Length(p), a = std::atan2(p.y, p.x);
    float inner = Cover(std::fabs(r - 0.56f) - 0.006f, 1.2f * px);
    float dashes = Smoothstep(-0.2f, 0.2f, std::sin(a * 24)) * Cover(std::fabs(r - 0.68f) - 0.012f, 1.2f * px);
    float tick = Cover(std::fabs(std::remainder(a, kPi / 6)) * r - 0.008f, 1.2f * px) *
                 Cover(std::fabs(r - 0.78f) - 0.04f, 1.2f * px);
    float cross = std::min(std::fabs(p.x), std::fabs(p.y));
    float hair = Cover(cross - 0.004f, 1.2f * px) * Smoothstep(0.58f, 0.62f, r) * (1 - Smoothstep(0.84f, 0.88f, r));
    return std::max({inner * 0.9f, dashes * 0.75f, tick, hair * 0.8f});
  });
  PaintGlowing(out, rings, Hex(palette::kAccent, 0.95f), size / 96);
  int rock = size / 2;
  out.Over(PaintRock(0, rock, false).lit, (size - rock) / 2, (size - rock) / 2 - size / 40);
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "GET READY", size * 0.1f, size * 0.5f, size * 0.9f, Align::kCentre,
           TitleStyle(size * 0.1f), size * 0.8f, 1, size * 0.01f);
  return out;
}

Canvas PaintSummary(int size) {
  float px = 2.0f / size;
  // A glass panel over the upper part; the lowest eighth stays dark for the
  // summary lines that reach over it.
  Canvas out = Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float sd = raster::BoxSd(p, {0, -0.12f}, {0.92f, 0.62f}, 0.12f);
    float inside = Cover(sd, 1.2f * px), frame = Cover(std::fabs(sd + 0.01f) - 0.008f, 1.2f * px);
    Color c = raster::Mix(Hex(palette::kPanel), Hex(0x1A2C5A), Clamp01(1 - v * 1.6f));
    c = raster::Mix(c, Hex(palette::kAccent), frame);
    float fade = 1 - Smoothstep(0.6f, 0.76f, v);
    return raster::WithAlpha(c, (inside * 0.55f + frame * 0.4f) * fade);
  });
  out.Over(PaintSkyDisc(size, 31, 0.6f), 0, -size / 8, 0.45f);
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "SECTOR", size * 0.13f, size * 0.5f, size * 0.2f, Align::kCentre,
           TitleStyle(size * 0.13f), size * 0.84f, 1, size * 0.02f);
  DrawText(out, fonts.bold, "CLEARED", size * 0.13f, size * 0.5f, size * 0.36f, Align::kCentre,
           TitleStyle(size * 0.13f), size * 0.84f, 1, size * 0.02f);
  // A rule with a diamond under the title.
  Field rule = Field::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float line = Cover(std::fabs(p.y + 0.12f) - 0.004f, 1.2f * px) * (1 - Smoothstep(0.5f, 0.75f, std::fabs(p.x)));
    float diamond = Cover(std::fabs(p.x) + std::fabs(p.y + 0.12f) - 0.035f, 1.2f * px);
    return std::max(line, diamond);
  });
  PaintGlowing(out, rule, Hex(palette::kGold), size / 128);
  TextStyle caption;
  caption.top = caption.bottom = Hex(palette::kText);
  caption.glow = Hex(palette::kGlow, 0.4f);
  caption.glowRadius = 2;
  DrawText(out, fonts.regular, "Hits per shot decide your bonus", size * 0.045f, size * 0.5f, size * 0.56f,
           Align::kCentre, caption, size * 0.84f);
  return out;
}

Canvas PaintHighScore(int size) {
  float px = 2.0f / size;
  Canvas out(size, size);
  // Rays behind the medal.
  out.Paint(Field::FromFunction(size, size, [&](float u, float v) {
              Vec2 p{u * 2 - 1, v * 2 - 1.0f + 0.18f};
              float a = std::atan2(p.y, p.x), r = raster::Length(p);
              float ray = std::pow(std::fabs(std::cos(a * 8)), 12.0f);
              return ray * Smoothstep(0.95f, 0.3f, r) * 0.55f + Smoothstep(0.7f, 0.0f, r) * 0.25f;
            }),
            Hex(palette::kGold, 0.9f));
  // The medal: a star on a gold disc with a bevel.
  const std::vector<Vec2> star = raster::StarPolygon(5, 0.3f, 0.13f);
  Field height(size, size);
  Field disc = Field::FromFunction(size, size, [&](float u, float v) {
    return Cover(raster::Length({u * 2 - 1, v * 2 - 1 + 0.18f}) - 0.42f, 1.2f * px);
  });
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec2 p{(x + 0.5f) * px - 1, (y + 0.5f) * px - 1 + 0.18f};
      float r = raster::Length(p);
      float sd = raster::PolygonSd(star, p);
      height.at(x, y) = 0.08f * Smoothstep(0.42f, 0.34f, r) + 0.06f * Smoothstep(0.02f, -0.06f, sd);
    }
  }
  Lighting light = LightHeight(height, size * 0.5f, false, 30);
  Canvas medal(size, size);
  medal.PaintWith(disc, [&](int x, int y) {
    Color gold = raster::Mix(Hex(0x9A5A10), Hex(0xFFE9A0), light.diffuse.at(x, y));
    float s = light.specular.at(x, y);
    return Color{gold.r + s, gold.g + s, gold.b + s * 0.8f, 1};
  });
  out.Over(medal);
  // The ribbon and its words.
  Canvas ribbon = Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u * 2 - 1, v * 2 - 1};
    float bend = 0.06f * p.x * p.x;
    float band = raster::BoxSd({p.x, p.y - bend}, {0, 0.52f}, {0.9f, 0.13f}, 0.02f);
    float tails = raster::BoxSd({std::fabs(p.x), p.y - bend}, {0.86f, 0.62f}, {0.12f, 0.11f}, 0.0f);
    float cover = std::max(Cover(band, 1.2f * px), Cover(tails, 1.2f * px) * 0.8f);
    Color red = raster::Mix(Hex(0xB01830), Hex(0x701020), Clamp01((p.y - bend - 0.4f) / 0.26f));
    return raster::WithAlpha(red, cover);
  });
  out.Over(ribbon);
  TextStyle words = TitleStyle(size * 0.085f);
  words.glowRadius = 0;
  DrawText(out, SharedFonts().bold, "NEW HIGH SCORE", size * 0.085f, size * 0.5f, size * 0.765f, Align::kCentre,
           words, size * 0.78f, 1, size * 0.004f);
  return out;
}

}  // namespace art
