#pragma once
#include <cstdint>
#include <vector>

#include "tools/assetgen/raster/geometry.h"

// Float pictures for the asset generator. Row 0 is the top of a picture;
// the writers flip to the bottom-up order of the files. Everything here runs
// on the calling thread and owns its pixels.
namespace raster {

// Straight (not premultiplied) colour, channels 0..1.
struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an alpha of its own.
Color Hex(uint32_t rgb, float alpha = 1);
Color Mix(Color a, Color b, float t);
Color WithAlpha(Color c, float alpha);
// Scales the colour channels (not alpha) by k.
Color Shade(Color c, float k);
// Colour of a ramp of evenly spaced stops at t in 0..1.
Color Ramp(const std::vector<Color>& stops, float t);

// One float per pixel: coverage masks, height fields, noise.
class Field {
 public:
  Field() = default;
  Field(int width, int height, float fill = 0);

  // Fills a field from f(u, v), u and v the pixel centre over 0..1.
  template <class F>
  static Field FromFunction(int width, int height, F f) {
    Field field(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) field.at(x, y) = f((x + 0.5f) / width, (y + 0.5f) / height);
    }
    return field;
  }

  int width() const { return width_; }
  int height() const { return height_; }
  float& at(int x, int y) { return values_[static_cast<size_t>(y) * width_ + x]; }
  float at(int x, int y) const { return values_[static_cast<size_t>(y) * width_ + x]; }
  // Value at (x, y) with the coordinates clamped into the field.
  float Clamped(int x, int y) const;
  // Bilinear sample at pixel coordinates (pixel centres at +0.5), clamped.
  float Sample(float x, float y) const;
  std::vector<float>& values() { return values_; }
  const std::vector<float>& values() const { return values_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<float> values_;
};

class Canvas {
 public:
  // Premultiplied pixel.
  struct Pixel {
    float r = 0, g = 0, b = 0, a = 0;
  };

  Canvas() = default;
  Canvas(int width, int height, Color fill = {0, 0, 0, 0});

  // Fills a canvas from f(u, v) -> Color, u and v the pixel centre over 0..1.
  template <class F>
  static Canvas FromFunction(int width, int height, F f) {
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) canvas.Set(x, y, f((x + 0.5f) / width, (y + 0.5f) / height));
    }
    return canvas;
  }

  int width() const { return width_; }
  int height() const { return height_; }
  Pixel& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Pixel& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Color Get(int x, int y) const;
  void Set(int x, int y, Color c);

  // Paints colour c over the canvas where the coverage field (placed with
  // its top-left corner at ox, oy) is above 0.
  void Paint(const Field& coverage, Color c, int ox = 0, int oy = 0);
  // As Paint, with the colour from f(x, y) in canvas pixels.
  template <class F>
  void PaintWith(const Field& coverage, F f, int ox = 0, int oy = 0) {
    for (int y = 0; y < coverage.height(); ++y) {
      for (int x = 0; x < coverage.width(); ++x) {
        int cx = x + ox, cy = y + oy;
        if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) continue;
        float k = coverage.at(x, y);
        if (k > 0) Blend(cx, cy, f(cx, cy), k, false);
      }
    }
  }
  // Draws top over this canvas with its top-left corner at (ox, oy).
  void Over(const Canvas& top, int ox = 0, int oy = 0, float opacity = 1);
  // Draws src over this canvas scaled by scale and turned by angle (radians;
  // positive turns clockwise as seen, rows growing downwards), src's centre
  // at centre (canvas pixels). Bilinear sampling.
  void Stamp(const Canvas& src, Vec2 centre, float scale, float angle, float opacity = 1);
  // Premultiplied bilinear sample at pixel coordinates; transparent outside.
  Pixel Sample(float x, float y) const;
  // Adds top's light (premultiplied sum), for glows.
  void Add(const Canvas& top, int ox = 0, int oy = 0, float opacity = 1);
  // Washes colour c over the picture's own pixels, keeping its outline.
  void Tint(Color c) { Paint(Alpha(), c); }
  // Multiplies every pixel (colour and alpha) by the field.
  void Mask(const Field& field);
  // Alpha channel as a field.
  Field Alpha() const;
  // Upside-down copy.
  Canvas FlippedVertically() const;

  // 8-bit straight-alpha bytes R, G, B(, A), rows bottom-up as in the game's
  // files. Nearly transparent pixels take the colour of their surroundings so
  // filtering and mipmaps show no dark fringes.
  std::vector<uint8_t> ToBytes(bool withAlpha) const;

 private:
  void Blend(int x, int y, Color c, float coverage, bool additive);

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace raster
