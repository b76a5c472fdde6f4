#include "tools/soundsheet/sound_pictures.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kRate = 44100.0;
constexpr int kWindow = 2048;
constexpr double kLowHz = 40.0;
constexpr double kHighHz = 20000.0;
constexpr double kFloorDb = -96.0;

struct Rgb {
  uint8_t r, g, b;
};

// In-place radix-2 transform; size is a power of two.
void Fft(std::vector<std::complex<double>>& x) {
  const std::size_t n = x.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / static_cast<double>(length));
    for (std::size_t start = 0; start < n; start += length) {
      std::complex<double> w = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> a = x[start + k];
        const std::complex<double> b = x[start + k + length / 2] * w;
        x[start + k] = a + b;
        x[start + k + length / 2] = a - b;
        w *= step;
      }
    }
  }
}

// Black through blue, red and yellow to white as level goes 0 .. 1.
Rgb Heat(double level) {
  level = std::clamp(level, 0.0, 1.0);
  const double r = std::clamp(3.0 * level - 1.0, 0.0, 1.0);
  const double g =
      std::clamp(3.0 * level - 2.0, 0.0, 1.0) * 0.8 + std::clamp(2.0 * level - 1.2, 0.0, 0.2);
  const double b = level < 0.33 ? 3.0 * level
                                : std::clamp(1.0 - 3.0 * (level - 0.33), 0.0, 1.0) +
                                      std::clamp(3.0 * level - 2.0, 0.0, 1.0);
  return {static_cast<uint8_t>(255 * r), static_cast<uint8_t>(255 * std::min(1.0, g)),
          static_cast<uint8_t>(255 * std::min(1.0, b))};
}

// Magnitudes in dB of full scale of the window centred at `centre`.
std::vector<double> SpectrumAt(const std::vector<float>& samples, long centre) {
  std::vector<std::complex<double>> x(kWindow);
  double windowSum = 0;
  for (int i = 0; i < kWindow; ++i) {
    const long at = centre - kWindow / 2 + i;
    const double hann = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (kWindow - 1));
    windowSum += hann;
    const double s = at >= 0 && at < static_cast<long>(samples.size()) ? samples[at] : 0.0;
    x[i] = s * hann;
  }
  Fft(x);
  std::vector<double> db(kWindow / 2);
  for (int k = 0; k < kWindow / 2; ++k) {
    const double magnitude = 2.0 * std::abs(x[k]) / windowSum;
    db[k] = 20.0 * std::log10(std::max(magnitude, 1e-12));
  }
  return db;
}

}  // namespace

SoundPicture DrawSound(const std::vector<float>& samples, int32_t width, int32_t waveHeight,
                       int32_t spectrumHeight) {
  SoundPicture picture;
  picture.width = width;
  picture.height = waveHeight + spectrumHeight;
  picture.rgb.assign(static_cast<std::size_t>(width) * picture.height * 3, 0);
  auto put = [&](int32_t x, int32_t yFromTop, Rgb colour) {
    const int32_t row = picture.height - 1 - yFromTop;
    uint8_t* pixel = &picture.rgb[(static_cast<std::size_t>(row) * width + x) * 3];
    pixel[0] = colour.r;
    pixel[1] = colour.g;
    pixel[2] = colour.b;
  };

  const double perColumn = static_cast<double>(samples.size()) / width;
  for (int32_t x = 0; x < width; ++x) {
    const auto first = static_cast<std::size_t>(x * perColumn);
    const auto last = std::max(first + 1, static_cast<std::size_t>((x + 1) * perColumn));
    float low = 0, high = 0;
    for (std::size_t i = first; i < last && i < samples.size(); ++i) {
      low = std::min(low, samples[i]);
      high = std::max(high, samples[i]);
    }
    const double middle = (waveHeight - 1) / 2.0;
    const auto top = static_cast<int32_t>(std::lround(middle - high * middle));
    const auto bottom = static_cast<int32_t>(std::lround(middle - low * middle));
    put(x, static_cast<int32_t>(middle), {60, 60, 60});
    for (int32_t y = std::max(0, top); y <= std::min(waveHeight - 1, bottom); ++y)
      put(x, y, {120, 220, 140});

    const std::vector<double> db = SpectrumAt(samples, static_cast<long>((x + 0.5) * perColumn));
    for (int32_t y = 0; y < spectrumHeight; ++y) {
      const double up = 1.0 - static_cast<double>(y) / (spectrumHeight - 1);
      const double hz = kLowHz * std::pow(kHighHz / kLowHz, up);
      const auto bin =
          std::min<std::size_t>(db.size() - 1, static_cast<std::size_t>(hz / kRate * kWindow));
      put(x, waveHeight + y, Heat((db[bin] - kFloorDb) / -kFloorDb));
    }
  }
  return picture;
}
