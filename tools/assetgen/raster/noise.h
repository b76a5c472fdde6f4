#pragma once
#include <cstdint>

// Deterministic randomness for pictures: the same seed gives the same bytes
// on every machine and every build. Nothing here reads the clock.
namespace raster {

// splitmix64: small, fast and well mixed.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // Uniform in [0, 1).
  float Unit();
  float Range(float low, float high) { return low + (high - low) * Unit(); }
  // Uniform integer in [0, count).
  int Below(int count);

 private:
  uint64_t state_;
};

// Hash of a lattice point, uniform in [0, 1).
float LatticeValue(int x, int y, uint32_t seed);

// Smooth value noise in [0, 1) at (x, y) in lattice units. A period above 0
// makes it tile every period units.
float ValueNoise(float x, float y, uint32_t seed, int period = 0);

// Fractal sum of octaves of value noise (each twice the frequency and gain
// times the weight of the one before), rescaled to about [0, 1).
float Fbm(float x, float y, uint32_t seed, int octaves, float gain = 0.5f, int period = 0);

// Ridged variant: sharp crests where the noise crosses its middle.
float RidgedFbm(float x, float y, uint32_t seed, int octaves, float gain = 0.5f, int period = 0);

// Cellular noise: one feature point per lattice cell; the distances to the
// nearest and second nearest, the nearest point and a hash naming its cell.
struct CellSample {
  float nearest = 0, second = 0;
  float featureX = 0, featureY = 0;
  uint32_t id = 0;
};
CellSample Cellular(float x, float y, uint32_t seed);

}  // namespace raster
