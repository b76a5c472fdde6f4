#pragma once
#include <cstdint>
#include <vector>

// Writes true-colour TGA files that the game's own decoder reads: the
// 18-byte header (no image ID, no colour map, origin fields 0) followed by
// the pixels, uncompressed (type 2) or run-length encoded (type 10). The
// game never writes TGA files; the tools and tests do. Any thread.

enum class TgaEncoding { Uncompressed, RunLength };

// An image in memory, not owned. Rows go bottom-up, the order a TGA file
// stores them and the order the game keeps them in, so the first row given
// is the first row written.
struct TgaImage {
  int32_t width = 0;               // 1 .. 65535
  int32_t height = 0;              // 1 .. 65535
  int32_t channels = 4;            // bytes per source pixel: 3 or 4
  bool bgr = false;                // source bytes are B, G, R (, A) instead of R, G, B (, A)
  const uint8_t* pixels = nullptr; // width × height × channels bytes
};

// The whole file as bytes, with 24 or 32 bits per pixel. A 3-channel image
// written with 32 bits gets alpha 255; a 4-channel one written with 24 bits
// loses its alpha. Run-length packets never cross a row end. Returns an empty
// vector when the image or bitsPerPixel is out of range.
std::vector<uint8_t> EncodeTga(const TgaImage& image, int32_t bitsPerPixel, TgaEncoding encoding);

// EncodeTga written to a plain file path (not through the asset directory).
// False when the image is refused or the file cannot be written completely.
bool WriteTga(const char* path, const TgaImage& image, int32_t bitsPerPixel, TgaEncoding encoding);
