#include "tools/assetgen/art/style.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {

Lighting LightHeight(const Field& height, float strength, bool shownFlipped, float shininess) {
  // Canvas rows grow downwards, so "up the screen" is -y here, or +y for a
  // picture the game shows upside down.
  float lx = -0.55f, ly = shownFlipped ? 0.6f : -0.6f, lz = 0.58f;
  float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
  lx /= ll, ly /= ll, lz /= ll;
  float hx = lx, hy = ly, hz = lz + 1;  // half vector towards a viewer straight above
  float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  hx /= hl, hy /= hl, hz /= hl;

  Lighting out{Field(height.width(), height.height()), Field(height.width(), height.height())};
  for (int y = 0; y < height.height(); ++y) {
    for (int x = 0; x < height.width(); ++x) {
      raster::Normal n = raster::SurfaceNormal(height, x, y, strength);
      out.diffuse.at(x, y) = std::max(0.0f, n.x * lx + n.y * ly + n.z * lz);
      out.specular.at(x, y) = std::pow(std::max(0.0f, n.x * hx + n.y * hy + n.z * hz), shininess);
    }
  }
  return out;
}

bool Fonts::ok() const {
  for (const raster::Font* font : {&bold, &regular, &monoBold}) {
    if (!font->ok()) {
      std::fprintf(stderr, "assetgen: cannot open the font %s (package fonts-dejavu-core)\n", font->path().c_str());
      return false;
    }
  }
  return true;
}

const Fonts& SharedFonts() {
  static const Fonts fonts;
  return fonts;
}

namespace {

struct Ink {
  int x0, x1;  // columns with ink, inclusive
};

Ink InkOf(const Field& coverage) {
  Ink ink{coverage.width(), -1};
  for (int y = 0; y < coverage.height(); ++y) {
    for (int x = 0; x < coverage.width(); ++x) {
      if (coverage.at(x, y) > 0.02f) ink = {std::min(ink.x0, x), std::max(ink.x1, x)};
    }
  }
  if (ink.x1 < 0) ink = {0, 0};
  return ink;
}

// Thicker copy of a coverage field, for outlines.
Field Grown(const Field& coverage, int width) {
  Field grown = raster::Blur(coverage, width);
  for (float& v : grown.values()) v = Clamp01(v * 3.5f);
  return grown;
}

// The field with room for a blur around it.
Field Padded(const Field& field, int pad) {
  Field out(field.width() + 2 * pad, field.height() + 2 * pad);
  for (int y = 0; y < field.height(); ++y) {
    for (int x = 0; x < field.width(); ++x) out.at(x + pad, y + pad) = field.at(x, y);
  }
  return out;
}

// The line set at pixelSize, narrowed until its ink fits maxWidth.
raster::TextLine SetLine(const raster::Font& font, const std::string& text, float pixelSize, float maxWidth,
                         float stretch, float tracking) {
  raster::TextLine line = font.Render(text, pixelSize, stretch, tracking);
  Ink ink = InkOf(line.coverage);
  float width = static_cast<float>(ink.x1 - ink.x0 + 1);
  if (width > maxWidth) {
    float scale = maxWidth / width;
    line = font.Render(text, pixelSize, stretch * scale, tracking * scale);
  }
  return line;
}

// Draws a set line; pixelSize gives the height of its capitals.
void DrawLine(Canvas& canvas, const raster::TextLine& line, float pixelSize, float x, float y, Align align,
              const TextStyle& style) {
  int pad = std::max({style.outlineWidth * 3, style.glowRadius * 3, style.shadowOffset + 4});
  Field coverage = Padded(line.coverage, pad);
  Ink ink = InkOf(coverage);
  float capHeight = 0.73f * pixelSize;
  float capTop = static_cast<float>(line.baseline + pad) - capHeight;
  float anchor = align == Align::kLeft ? ink.x0 : align == Align::kRight ? ink.x1 + 1 : (ink.x0 + ink.x1 + 1) * 0.5f;
  int ox = static_cast<int>(std::lround(x - anchor));
  int oy = static_cast<int>(std::lround(y - (capTop + capHeight * 0.5f)));

  if (style.shadowOffset > 0 && style.shadow.a > 0) {
    canvas.Paint(raster::Blur(coverage, 1), style.shadow, ox + style.shadowOffset, oy + style.shadowOffset);
  }
  if (style.glowRadius > 0 && style.glow.a > 0) {
    Field glow = raster::Blur(Grown(coverage, std::max(1, style.outlineWidth)), style.glowRadius);
    canvas.Paint(glow, style.glow, ox, oy);
  }
  if (style.outlineWidth > 0 && style.outline.a > 0) {
    canvas.Paint(Grown(coverage, style.outlineWidth), style.outline, ox, oy);
  }
  canvas.PaintWith(
      coverage,
      [&](int, int cy) { return raster::Mix(style.top, style.bottom, Clamp01((cy - oy - capTop) / capHeight)); },
      ox, oy);
}

}  // namespace

void DrawText(Canvas& canvas, const raster::Font& font, const std::string& text, float pixelSize, float x, float y,
              Align align, const TextStyle& style, float maxWidth, float stretch, float tracking) {
  DrawLine(canvas, SetLine(font, text, pixelSize, maxWidth, stretch, tracking), pixelSize, x, y, align, style);
}

std::vector<std::string> WrapWords(const raster::Font& font, const std::string& text, float pixelSize,
                                   float maxWidth) {
  std::vector<std::string> lines;
  std::string line, word;
  auto width = [&](const std::string& candidate) {
    raster::TextLine set = font.Render(candidate, pixelSize);
    return static_cast<float>(set.coverage.width() - 2 * set.pad);
  };
  auto place = [&](const std::string& next) {
    if (next.empty()) return;
    std::string candidate = line.empty() ? next : line + " " + next;
    if (!line.empty() && width(candidate) > maxWidth) {
      lines.push_back(line);
      line = next;
    } else {
      line = candidate;
    }
  };
  for (char c : text) {
    if (c == ' ') {
      place(word);
      word.clear();
    } else {
      word += c;
    }
  }
  place(word);
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void OverWithGlow(Canvas& canvas, const Canvas& top, Color glow, int radius) {
  canvas.Paint(raster::Blur(top.Alpha(), std::max(1, radius)), glow);
  canvas.Over(top);
}

TextStyle TitleStyle(float pixelSize) {
  TextStyle style;
  style.top = Hex(0xFFF4C8);
  style.bottom = Hex(palette::kGoldDeep);
  style.outline = Hex(0x2A1000, 0.95f);
  style.outlineWidth = std::max(1, static_cast<int>(pixelSize / 28));
  style.glow = Hex(palette::kGlow, 0.55f);
  style.glowRadius = std::max(2, static_cast<int>(pixelSize / 9));
  style.shadow = Hex(0x000000, 0.6f);
  style.shadowOffset = std::max(1, static_cast<int>(pixelSize / 24));
  return style;
}

namespace {

// Adds light to a canvas pixel (for stars on any background).
void AddLight(Canvas& canvas, int x, int y, Color c, float k) {
  if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height() || k <= 0) return;
  Canvas::Pixel& p = canvas.at(x, y);
  p.r += c.r * k;
  p.g += c.g * k;
  p.b += c.b * k;
  p.a = std::min(1.0f, p.a + k);
}

}  // namespace

void DrawStars(Canvas& canvas, uint32_t seed, float density, float brightness) {
  raster::Rng rng(seed);
  float area = static_cast<float>(canvas.width()) * canvas.height();
  int count = static_cast<int>(area / 900 * density);
  const Color tints[] = {Hex(0xFFFFFF), Hex(0xCFE0FF), Hex(0xA9C8FF), Hex(0xFFE8C8), Hex(0xFFD0A0)};
  for (int i = 0; i < count; ++i) {
    float x = rng.Range(0, static_cast<float>(canvas.width()));
    float y = rng.Range(0, static_cast<float>(canvas.height()));
    float magnitude = std::pow(rng.Unit(), 6.0f);  // mostly faint, a few bright
    Color tint = tints[rng.Below(5)];
    float radius = 0.6f + magnitude * 2.2f;
    float light = (0.25f + magnitude * 1.6f) * brightness;
    int reach = static_cast<int>(std::ceil(radius * 2.5f));
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
        float ex = px + 0.5f - x, ey = py + 0.5f - y;
        float k = std::exp(-(ex * ex + ey * ey) / (radius * radius)) * light;
        AddLight(canvas, px, py, tint, std::min(k, 1.0f));
      }
    }
    if (magnitude > 0.5f) {  // glints on the brightest
      int arm = static_cast<int>(radius * 6);
      for (int d = -arm; d <= arm; ++d) {
        float k = 0.5f * light * std::pow(1 - std::fabs(static_cast<float>(d)) / (arm + 1), 3.0f);
        AddLight(canvas, static_cast<int>(x) + d, static_cast<int>(y), tint, k);
        AddLight(canvas, static_cast<int>(x), static_cast<int>(y) + d, tint, k);
      }
    }
  }
}

void DrawNebula(Canvas& canvas, uint32_t seed, float strength) {
  float scale = 3.0f / canvas.height();
  Color violet = Hex(palette::kNebulaViolet), teal = Hex(palette::kNebulaTeal);
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      float u = x * scale, v = y * scale;
      float warp = raster::Fbm(u * 0.7f, v * 0.7f, seed + 7, 3);
      float cloud = raster::Fbm(u + warp * 1.6f, v - warp * 1.2f, seed, 6);
      float density = std::pow(Smoothstep(0.42f, 0.85f, cloud), 1.5f);
      float hue = Smoothstep(0.3f, 0.7f, raster::Fbm(u * 0.5f + 9, v * 0.5f, seed + 3, 3));
      Color c = raster::Mix(violet, teal, hue);
      AddLight(canvas, x, y, c, density * strength);
    }
  }
}

}  // namespace art
