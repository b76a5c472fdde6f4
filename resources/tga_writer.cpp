#include "resources/tga_writer.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kLongestPacket = 128;

// Appends count pixels of the image, from pixel index `first`, in file order
// (B, G, R (, A)).
void AppendPixels(std::vector<uint8_t>& out, const TgaImage& image, std::size_t first, std::size_t count,
                  int outSize) {
  const uint8_t* in = image.pixels + first * image.channels;
  const int red = image.bgr ? 2 : 0;
  for (std::size_t i = 0; i < count; ++i, in += image.channels) {
    out.push_back(in[2 - red]);
    out.push_back(in[1]);
    out.push_back(in[red]);
    if (outSize == 4) out.push_back(image.channels == 4 ? in[3] : 255);
  }
}

// Pixels equal as written: a 24-bit file ignores the source alpha.
bool SamePixel(const TgaImage& image, std::size_t a, std::size_t b, int outSize) {
  const std::size_t compared = outSize == 4 && image.channels == 4 ? 4 : 3;
  return std::memcmp(image.pixels + a * image.channels, image.pixels + b * image.channels, compared) == 0;
}

void AppendRunLengthRow(std::vector<uint8_t>& out, const TgaImage& image, std::size_t rowStart, int outSize) {
  const std::size_t rowEnd = rowStart + image.width;
  std::size_t i = rowStart;
  while (i < rowEnd) {
    std::size_t run = 1;
    while (i + run < rowEnd && run < kLongestPacket && SamePixel(image, i, i + run, outSize)) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      AppendPixels(out, image, i, 1, outSize);
      i += run;
      continue;
    }
    // Literal pixels up to the next pair of equal ones.
    std::size_t literal = 1;
    while (i + literal < rowEnd && literal < kLongestPacket &&
           !(i + literal + 1 < rowEnd && SamePixel(image, i + literal, i + literal + 1, outSize))) {
      ++literal;
    }
    out.push_back(static_cast<uint8_t>(literal - 1));
    AppendPixels(out, image, i, literal, outSize);
    i += literal;
  }
}

}  // namespace

std::vector<uint8_t> EncodeTga(const TgaImage& image, int32_t bitsPerPixel, TgaEncoding encoding) {
  std::vector<uint8_t> out;
  if (image.width < 1 || image.width > 0xFFFF || image.height < 1 || image.height > 0xFFFF ||
      (image.channels != 3 && image.channels != 4) || !image.pixels ||
      (bitsPerPixel != 24 && bitsPerPixel != 32)) {
    return out;
  }
  const int outSize = bitsPerPixel / 8;
  const bool runLength = encoding == TgaEncoding::RunLength;
  out.assign(18, 0);
  out[2] = runLength ? 10 : 2;
  out[12] = static_cast<uint8_t>(image.width);
  out[13] = static_cast<uint8_t>(image.width >> 8);
  out[14] = static_cast<uint8_t>(image.height);
  out[15] = static_cast<uint8_t>(image.height >> 8);
  out[16] = static_cast<uint8_t>(bitsPerPixel);
  out[17] = outSize == 4 ? 8 : 0;  // alpha bits; origin bottom left
  const std::size_t pixelCount = static_cast<std::size_t>(image.width) * image.height;
  out.reserve(18 + pixelCount * outSize + (runLength ? pixelCount / 64 + image.height : 0));
  if (!runLength) {
    AppendPixels(out, image, 0, pixelCount, outSize);
  } else {
    for (std::size_t row = 0; row < pixelCount; row += image.width) AppendRunLengthRow(out, image, row, outSize);
  }
  return out;
}

bool WriteTga(const char* path, const TgaImage& image, int32_t bitsPerPixel, TgaEncoding encoding) {
  const std::vector<uint8_t> bytes = EncodeTga(image, bitsPerPixel, encoding);
  if (bytes.empty() || !path) return false;
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
