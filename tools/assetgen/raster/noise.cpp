#include "tools/assetgen/raster/noise.h"

#include <cmath>

namespace raster {

uint64_t Rng::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Rng::Unit() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }

int Rng::Below(int count) { return count > 0 ? static_cast<int>(Next() % static_cast<uint64_t>(count)) : 0; }

float LatticeValue(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

int Wrap(int v, int period) { return period > 0 ? ((v % period) + period) % period : v; }

}  // namespace

float ValueNoise(float x, float y, uint32_t seed, int period) {
  float fx = std::floor(x), fy = std::floor(y);
  int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  float tx = Fade(x - fx), ty = Fade(y - fy);
  int xa = Wrap(x0, period), xb = Wrap(x0 + 1, period);
  int ya = Wrap(y0, period), yb = Wrap(y0 + 1, period);
  float top = LatticeValue(xa, ya, seed) + (LatticeValue(xb, ya, seed) - LatticeValue(xa, ya, seed)) * tx;
  float bottom = LatticeValue(xa, yb, seed) + (LatticeValue(xb, yb, seed) - LatticeValue(xa, yb, seed)) * tx;
  return top + (bottom - top) * ty;
}

namespace {

template <class Octave>
float FractalSum(float x, float y, uint32_t seed, int octaves, float gain, int period, Octave octave) {
  float sum = 0, weight = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * octave(ValueNoise(x, y, seed + 101u * i, period));
    total += weight;
    weight *= gain;
    if (period > 0) {
      x *= 2, y *= 2, period *= 2;
    } else {
      // Turn each octave a little so the lattice's rows and columns do not
      // line up into visible streaks (tiling noise cannot turn).
      float nx = 1.6f * x - 1.2f * y + 19.1f, ny = 1.2f * x + 1.6f * y + 7.3f;
      x = nx, y = ny;
    }
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace

float Fbm(float x, float y, uint32_t seed, int octaves, float gain, int period) {
  return FractalSum(x, y, seed, octaves, gain, period, [](float n) { return n; });
}

float RidgedFbm(float x, float y, uint32_t seed, int octaves, float gain, int period) {
  return FractalSum(x, y, seed, octaves, gain, period, [](float n) {
    float ridge = 1 - std::fabs(n * 2 - 1);
    return ridge * ridge;
  });
}

CellSample Cellular(float x, float y, uint32_t seed) {
  int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  CellSample best{1e9f, 1e9f, 0, 0, 0};
  for (int j = cy - 1; j <= cy + 1; ++j) {
    for (int i = cx - 1; i <= cx + 1; ++i) {
      float fx = i + LatticeValue(i, j, seed), fy = j + LatticeValue(i, j, seed + 1);
      float d = std::sqrt((fx - x) * (fx - x) + (fy - y) * (fy - y));
      if (d < best.nearest) {
        best.second = best.nearest;
        best = {d, best.second, fx, fy, static_cast<uint32_t>(LatticeValue(i, j, seed + 2) * 16777216.0f)};
      } else if (d < best.second) {
        best.second = d;
      }
    }
  }
  return best;
}

}  // namespace raster
