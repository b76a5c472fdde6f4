#pragma once
#include <cstdint>
#include <memory>

#include "platform/asset_directory.h"

// The game's TGA decoder: 24- and 32-bit true colour, uncompressed (type 2)
// or run-length encoded (type 10), with no image ID, no colour map and zero
// origin fields; every other TGA is refused. Any thread.

struct DecodedImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;          // 24 or 32
  int32_t dataSize = 0;              // width × height × bitsPerPixel / 8
  std::unique_ptr<uint8_t[]> pixels; // R, G, B (, A); rows in file order
};

// Reads a TGA from the current position of an open file to its end and
// fills *image. False, with *image untouched, for a refused header, a side
// longer than 8192, an uncompressed file shorter than its image, a run-length
// file too short to describe even its own size, or memory that cannot be had. A run-length file
// that ends early otherwise keeps decoding: the missing pixels repeat the last pixel read (black
// when none was). Does not close the file.
bool DecodeTga(AssetFile file, DecodedImage* image);

// Bytes from the file's current position to its end (the position is kept),
// or -1 when the stream cannot seek. Lets readers check sizes a file claims
// before they allocate.
long BytesLeftInFile(AssetFile file);
