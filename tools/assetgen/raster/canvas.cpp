#include "tools/assetgen/raster/canvas.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/raster/filters.h"

namespace raster {

Color Hex(uint32_t rgb, float alpha) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

Color Mix(Color a, Color b, float t) {
  return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}

Color WithAlpha(Color c, float alpha) { return {c.r, c.g, c.b, alpha}; }

Color Shade(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Color Ramp(const std::vector<Color>& stops, float t) {
  if (stops.empty()) return {};
  float scaled = Clamp01(t) * (stops.size() - 1);
  size_t i = std::min(static_cast<size_t>(scaled), stops.size() - 1);
  size_t j = std::min(i + 1, stops.size() - 1);
  return Mix(stops[i], stops[j], scaled - i);
}

Field::Field(int width, int height, float fill)
    : width_(width), height_(height), values_(static_cast<size_t>(width) * height, fill) {}

float Field::Clamped(int x, int y) const {
  return at(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

float Field::Sample(float x, float y) const {
  x -= 0.5f;
  y -= 0.5f;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  float top = Lerp(Clamped(x0, y0), Clamped(x0 + 1, y0), fx);
  float bottom = Lerp(Clamped(x0, y0 + 1), Clamped(x0 + 1, y0 + 1), fx);
  return Lerp(top, bottom, fy);
}

namespace {

void BlendOver(Canvas::Pixel& d, const Canvas::Pixel& s, float opacity) {
  float keep = 1 - s.a * opacity;
  d = {s.r * opacity + d.r * keep, s.g * opacity + d.g * keep, s.b * opacity + d.b * keep, s.a * opacity + d.a * keep};
}

}  // namespace

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {
  for (auto& p : pixels_) p = {fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a};
}

Color Canvas::Get(int x, int y) const {
  const Pixel& p = at(x, y);
  if (p.a <= 0) return {0, 0, 0, 0};
  return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::Set(int x, int y, Color c) {
  float a = Clamp01(c.a);
  at(x, y) = {c.r * a, c.g * a, c.b * a, a};
}

void Canvas::Blend(int x, int y, Color c, float coverage, bool additive) {
  Pixel& p = at(x, y);
  float a = Clamp01(c.a * coverage);
  float keep = additive ? 1.0f : 1.0f - a;
  p.r = c.r * a + p.r * keep;
  p.g = c.g * a + p.g * keep;
  p.b = c.b * a + p.b * keep;
  p.a = std::min(1.0f, a + p.a * keep);
}

void Canvas::Paint(const Field& coverage, Color c, int ox, int oy) {
  PaintWith(coverage, [c](int, int) { return c; }, ox, oy);
}

void Canvas::Over(const Canvas& top, int ox, int oy, float opacity) {
  for (int y = 0; y < top.height_; ++y) {
    for (int x = 0; x < top.width_; ++x) {
      int cx = x + ox, cy = y + oy;
      if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) continue;
      BlendOver(at(cx, cy), top.at(x, y), opacity);
    }
  }
}

Canvas::Pixel Canvas::Sample(float x, float y) const {
  x -= 0.5f;
  y -= 0.5f;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  Pixel sum;
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 2; ++i) {
      int sx = x0 + i, sy = y0 + j;
      if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_) continue;
      float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
      const Pixel& p = at(sx, sy);
      sum = {sum.r + p.r * w, sum.g + p.g * w, sum.b + p.b * w, sum.a + p.a * w};
    }
  }
  return sum;
}

void Canvas::Stamp(const Canvas& src, Vec2 centre, float scale, float angle, float opacity) {
  float reach = 0.5f * scale * std::sqrt(static_cast<float>(src.width_ * src.width_ + src.height_ * src.height_));
  int x0 = std::max(0, static_cast<int>(centre.x - reach)), x1 = std::min(width_, static_cast<int>(centre.x + reach) + 1);
  int y0 = std::max(0, static_cast<int>(centre.y - reach)), y1 = std::min(height_, static_cast<int>(centre.y + reach) + 1);
  float c = std::cos(angle), s = std::sin(angle);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      // Back into the source: undo the turn, then the scale.
      float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
      float sx = (dx * c + dy * s) / scale + src.width_ * 0.5f;
      float sy = (-dx * s + dy * c) / scale + src.height_ * 0.5f;
      Pixel p = src.Sample(sx, sy);
      if (p.a > 0) BlendOver(at(x, y), p, opacity);
    }
  }
}

void Canvas::Add(const Canvas& top, int ox, int oy, float opacity) {
  for (int y = 0; y < top.height_; ++y) {
    for (int x = 0; x < top.width_; ++x) {
      int cx = x + ox, cy = y + oy;
      if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) continue;
      const Pixel& s = top.at(x, y);
      Pixel& d = at(cx, cy);
      d.r += s.r * opacity;
      d.g += s.g * opacity;
      d.b += s.b * opacity;
      d.a = std::min(1.0f, d.a + s.a * opacity);
    }
  }
}

void Canvas::Mask(const Field& field) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Pixel& p = at(x, y);
      float k = Clamp01(field.at(x, y));
      p = {p.r * k, p.g * k, p.b * k, p.a * k};
    }
  }
}

Field Canvas::Alpha() const {
  Field alpha(width_, height_);
  for (size_t i = 0; i < pixels_.size(); ++i) alpha.values()[i] = pixels_[i].a;
  return alpha;
}

Canvas Canvas::FlippedVertically() const {
  Canvas flipped(width_, height_);
  for (int y = 0; y < height_; ++y) {
    std::copy_n(&at(0, height_ - 1 - y), width_, &flipped.at(0, y));
  }
  return flipped;
}

namespace {

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

}  // namespace

std::vector<uint8_t> Canvas::ToBytes(bool withAlpha) const {
  // Colour for nearly transparent pixels: the alpha-weighted average of a
  // small and then a wide neighbourhood, and failing both the whole picture's.
  Canvas near, wide;
  Pixel total;
  if (withAlpha) {
    near = Blur(*this, 3);
    wide = Blur(near, 24);
    for (const Pixel& p : pixels_) total = {total.r + p.r, total.g + p.g, total.b + p.b, total.a + p.a};
  }

  int channels = withAlpha ? 4 : 3;
  std::vector<uint8_t> bytes(static_cast<size_t>(width_) * height_ * channels);
  for (int y = 0; y < height_; ++y) {
    int fileRow = height_ - 1 - y;
    for (int x = 0; x < width_; ++x) {
      const Pixel* source = &at(x, y);
      uint8_t* out = &bytes[(static_cast<size_t>(fileRow) * width_ + x) * channels];
      if (!withAlpha) {  // composed over black
        out[0] = ToByte(source->r);
        out[1] = ToByte(source->g);
        out[2] = ToByte(source->b);
        continue;
      }
      if (source->a < 0.5f / 255) {
        const Pixel* choices[] = {&near.at(x, y), &wide.at(x, y), &total};
        for (const Pixel* choice : choices) {
          source = choice;
          if (choice->a > 1e-4f) break;
        }
      }
      float a = std::max(source->a, 1e-6f);
      out[0] = ToByte(source->r / a);
      out[1] = ToByte(source->g / a);
      out[2] = ToByte(source->b / a);
      out[3] = ToByte(at(x, y).a);
    }
  }
  return bytes;
}

}  // namespace raster
