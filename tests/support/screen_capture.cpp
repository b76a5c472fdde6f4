#include "screen_capture.h"

#include <bit>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "xvfb.h"

namespace {

// Field numbers of the dump's header: 25 big-endian 32-bit words.
enum XwdField {
  kHeaderSize = 0,
  kPixmapFormat = 2,
  kWidth = 4,
  kHeight = 5,
  kByteOrder = 7,
  kBitsPerPixel = 11,
  kBytesPerLine = 12,
  kVisualClass = 13,
  kRedMask = 14,
  kGreenMask = 15,
  kBlueMask = 16,
  kColourCount = 19,
  kFieldCount = 25,
};
constexpr uint32_t kZPixmap = 2;
constexpr uint32_t kTrueColor = 4;
constexpr std::size_t kColourEntrySize = 12;

uint32_t BigEndianWord(const std::string& bytes, std::size_t at) {
  uint32_t word = 0;
  for (int i = 0; i < 4; ++i) word = word << 8 | static_cast<uint8_t>(bytes[at + i]);
  return word;
}

// One channel scaled to 0..255 from the bits its mask selects.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t value = (pixel & mask) >> shift;
  return static_cast<uint8_t>(bits >= 8 ? value >> (bits - 8) : value * 255 / ((1u << bits) - 1));
}

}  // namespace

Capture ParseXwd(const std::string& dump) {
  if (dump.size() < kFieldCount * 4) return {};
  uint32_t field[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) field[i] = BigEndianWord(dump, i * 4);

  const uint32_t bitsPerPixel = field[kBitsPerPixel];
  const uint32_t bytesPerPixel = bitsPerPixel / 8;
  const uint64_t width = field[kWidth], height = field[kHeight], stride = field[kBytesPerLine];
  const bool usable = field[kPixmapFormat] == kZPixmap && field[kVisualClass] == kTrueColor &&
                      (bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32) && width > 0 && height > 0 &&
                      width <= 16384 && height <= 16384 && stride >= width * bytesPerPixel &&
                      field[kRedMask] && field[kGreenMask] && field[kBlueMask];
  if (!usable) return {};
  const uint64_t pixelsAt = uint64_t{field[kHeaderSize]} + uint64_t{field[kColourCount]} * kColourEntrySize;
  if (pixelsAt + stride * height > dump.size()) return {};

  const bool mostSignificantFirst = field[kByteOrder] == 1;
  Capture capture{static_cast<int>(width), static_cast<int>(height), std::string(width * height * 3, '\0')};
  std::size_t out = 0;
  for (uint64_t y = 0; y < height; ++y) {
    const char* row = dump.data() + pixelsAt + y * stride;
    for (uint64_t x = 0; x < width; ++x) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(row + x * bytesPerPixel);
      uint32_t pixel = 0;
      for (uint32_t i = 0; i < bytesPerPixel; ++i) {
        pixel |= uint32_t{bytes[i]} << (8 * (mostSignificantFirst ? bytesPerPixel - 1 - i : i));
      }
      capture.rgb[out++] = static_cast<char>(Channel(pixel, field[kRedMask]));
      capture.rgb[out++] = static_cast<char>(Channel(pixel, field[kGreenMask]));
      capture.rgb[out++] = static_cast<char>(Channel(pixel, field[kBlueMask]));
    }
  }
  return capture;
}

Capture CaptureScreen(const std::string& xwdPath) {
  if (RunCommand("xwd -root -silent -out '" + xwdPath + "' 2>/dev/null") != 0) return {};
  std::ifstream in(xwdPath, std::ios::binary);
  return ParseXwd(std::string(std::istreambuf_iterator<char>(in), {}));
}

bool SaveXwdAsPng(const std::string& xwdPath, const std::string& pngPath) {
  return RunCommand("convert 'xwd:" + xwdPath + "' '" + pngPath + "' 2>/dev/null") == 0;
}
