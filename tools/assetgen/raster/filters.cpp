#include "tools/assetgen/raster/filters.h"

#include <algorithm>
#include <cmath>

namespace raster {
namespace {

// One box pass over count values spaced stride apart, starting at data.
void BoxPass(float* data, int count, int stride, int radius, std::vector<float>& scratch) {
  scratch.resize(count);
  for (int i = 0; i < count; ++i) scratch[i] = data[static_cast<size_t>(i) * stride];
  auto value = [&](int i) { return scratch[std::clamp(i, 0, count - 1)]; };
  float sum = 0;
  for (int i = -radius; i <= radius; ++i) sum += value(i);
  float scale = 1.0f / (2 * radius + 1);
  for (int i = 0; i < count; ++i) {
    data[static_cast<size_t>(i) * stride] = sum * scale;
    sum += value(i + radius + 1) - value(i - radius);
  }
}

}  // namespace

Field Blur(const Field& field, int radius) {
  Field out = field;
  if (radius <= 0) return out;
  std::vector<float> scratch;
  float* data = out.values().data();
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < out.height(); ++y) {
      BoxPass(data + static_cast<size_t>(y) * out.width(), out.width(), 1, radius, scratch);
    }
    for (int x = 0; x < out.width(); ++x) BoxPass(data + x, out.height(), out.width(), radius, scratch);
  }
  return out;
}

Canvas Blur(const Canvas& canvas, int radius) {
  Canvas out = canvas;
  for (float Canvas::Pixel::*channel : {&Canvas::Pixel::r, &Canvas::Pixel::g, &Canvas::Pixel::b, &Canvas::Pixel::a}) {
    Field plane(out.width(), out.height());
    for (int y = 0; y < out.height(); ++y) {
      for (int x = 0; x < out.width(); ++x) plane.at(x, y) = out.at(x, y).*channel;
    }
    plane = Blur(plane, radius);
    for (int y = 0; y < out.height(); ++y) {
      for (int x = 0; x < out.width(); ++x) out.at(x, y).*channel = plane.at(x, y);
    }
  }
  return out;
}

Normal SurfaceNormal(const Field& height, int x, int y, float strength) {
  float dx = (height.Clamped(x + 1, y) - height.Clamped(x - 1, y)) * 0.5f * strength;
  float dy = (height.Clamped(x, y + 1) - height.Clamped(x, y - 1)) * 0.5f * strength;
  float length = std::sqrt(dx * dx + dy * dy + 1);
  return {-dx / length, -dy / length, 1 / length};
}

Canvas NormalMap(const Field& height, float strength) {
  Canvas out(height.width(), height.height());
  for (int y = 0; y < height.height(); ++y) {
    for (int x = 0; x < height.width(); ++x) {
      // Rows grow down the picture; t grows up it.
      Normal n = SurfaceNormal(height, x, y, strength);
      out.Set(x, y, {n.x * 0.5f + 0.5f, -n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f, 1});
    }
  }
  return out;
}

}  // namespace raster
