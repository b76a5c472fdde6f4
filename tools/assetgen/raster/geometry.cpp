#include "tools/assetgen/raster/geometry.h"

namespace raster {

float BoxSd(Vec2 p, Vec2 centre, Vec2 half, float cornerRadius) {
  float dx = std::fabs(p.x - centre.x) - half.x + cornerRadius;
  float dy = std::fabs(p.y - centre.y) - half.y + cornerRadius;
  float outside = Length({std::max(dx, 0.0f), std::max(dy, 0.0f)});
  return outside + std::min(std::max(dx, dy), 0.0f) - cornerRadius;
}

float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 ab = b - a;
  float lengthSquared = Dot(ab, ab);
  float t = lengthSquared > 0 ? Clamp01(Dot(p - a, ab) / lengthSquared) : 0.0f;
  return Length(p - (a + ab * t));
}

float PolygonSd(const std::vector<Vec2>& polygon, Vec2 p) {
  size_t n = polygon.size();
  if (n < 3) return 1e9f;
  float best = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    Vec2 a = polygon[j], b = polygon[i];
    best = std::min(best, SegmentDistance(p, a, b));
    if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) {
      inside = !inside;
    }
  }
  return inside ? -best : best;
}

std::vector<Vec2> MirrorX(const std::vector<Vec2>& half, float axis) {
  std::vector<Vec2> whole = half;
  for (auto it = half.rbegin(); it != half.rend(); ++it) {
    whole.push_back({2 * axis - it->x, it->y});
  }
  return whole;
}

std::vector<Vec2> RegularPolygon(int corners, float radius, float startAngle) {
  std::vector<Vec2> points;
  for (int i = 0; i < corners; ++i) {
    float a = startAngle + 2 * kPi * i / corners;
    points.push_back({std::cos(a) * radius, std::sin(a) * radius});
  }
  return points;
}

std::vector<Vec2> StarPolygon(int points, float outer, float inner) {
  std::vector<Vec2> star;
  for (int i = 0; i < points * 2; ++i) {
    float a = -kPi / 2 + kPi * i / points;
    float r = i % 2 == 0 ? outer : inner;
    star.push_back({std::cos(a) * r, std::sin(a) * r});
  }
  return star;
}

}  // namespace raster
