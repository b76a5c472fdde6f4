#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

// Small vector maths and signed distances for describing pictures in code.
// Signed distances are negative inside a shape; coverage comes from Cover.
namespace raster {

constexpr float kPi = 3.14159265358979f;

struct Vec2 {
  float x = 0;
  float y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
inline Vec2 Rotate(Vec2 p, float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  return {p.x * c - p.y * s, p.x * s + p.y * c};
}

// Squares are written out: the optimiser turns pow(x, 2) into x * x in some
// builds and not in others, which would change the pictures' bytes.
inline float Square(float v) { return v * v; }
inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float Smoothstep(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
// Coverage of a signed distance, blurred over softness (about one pixel for
// crisp edges, more for soft ones).
inline float Cover(float signedDistance, float softness) {
  return Clamp01(0.5f - signedDistance / softness);
}

inline float CircleSd(Vec2 p, Vec2 centre, float radius) { return Length(p - centre) - radius; }
// Rounded rectangle around centre with half extents (corner radius included).
float BoxSd(Vec2 p, Vec2 centre, Vec2 half, float cornerRadius);
float SegmentDistance(Vec2 p, Vec2 a, Vec2 b);
// Closed polygon in either winding order; O(vertices) per call.
float PolygonSd(const std::vector<Vec2>& polygon, Vec2 p);
// The polygon mirrored in x = axis and appended in reverse order, so a half
// outline drawn from top to bottom becomes a whole symmetric one.
std::vector<Vec2> MirrorX(const std::vector<Vec2>& half, float axis);

// Regular polygon around the origin, its first corner at startAngle.
std::vector<Vec2> RegularPolygon(int corners, float radius, float startAngle);
// Star around the origin with its first point straight up (towards -y).
std::vector<Vec2> StarPolygon(int points, float outer, float inner);

}  // namespace raster
