#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/asset_directory.h"

// The texture bundle file (".etb"), all integers 32-bit little-endian:
//   N (index block size, not 0), the index block scrambled, P (canvas bytes),
//   then pixel runs: a count R and one pixel, written R times in a row.
// Unscrambled index: bytes per pixel (4), mipmap flag (1), width (4),
// height (4), entry count E (4), E entries (name length L (4), L name bytes,
// x0, y0, x1, y1; x1 and y1 are one past the picture's last column and row,
// not the last texel itself), region count F (4), F regions (four int32 and
// one byte).
// The game reads it (TextureBundle); the bundle tool and tests also write it.
// Any thread.

// The largest canvas side the game accepts; bigger sides are refused before
// anything is allocated.
constexpr int32_t kMaxBundleSide = 4096;

struct BundleEntry {
  std::string name;            // byte-exact, case-sensitive
  int32_t x0 = 0, y0 = 0;      // first column and row of the picture
  int32_t x1 = 0, y1 = 0;      // one past its last column and row
};

struct BundleRegion {
  int32_t values[4] = {0, 0, 0, 0};
  uint8_t flag = 0;
};

struct BundleIndex {
  int32_t bytesPerPixel = 4;   // 3 or 4
  bool mipmapped = false;
  int32_t width = 0;           // 1 .. kMaxBundleSide
  int32_t height = 0;          // 1 .. kMaxBundleSide
  std::vector<BundleEntry> entries;
  std::vector<BundleRegion> regions;
};

// A bundle file read completely: the index and the canvas.
struct BundleContent {
  BundleIndex index;
  std::vector<uint8_t> canvas; // width × height × bytesPerPixel bytes, rows bottom-up
};

// The game's fixed unscrambling routine and its inverse; blocks of fewer
// than 2 bytes stay as they are.
void UnscrambleIndexBlock(uint8_t* block, std::size_t size);
void ScrambleIndexBlock(uint8_t* block, std::size_t size);

// Parses an unscrambled index block. False when the block ends inside a field
// or the bytes per pixel or canvas sides are out of range; entries are taken
// as stored, even when they reach outside the canvas.
bool ParseBundleIndex(const uint8_t* block, std::size_t size, BundleIndex* index);
// The unscrambled index block for an index.
std::vector<uint8_t> EncodeBundleIndex(const BundleIndex& index);

// Reads a whole bundle from an open file (not closed here). False, leaving
// *content untouched, for a short or zero index size, an index block longer
// than the file, an index ParseBundleIndex refuses, or memory that cannot be
// had. The runs are then
// applied until the pixels written plus the runs read reach width × height
// (the stop rule of the format, kept for the files that rely on it); runs
// past the canvas end are cut and a file that ends early leaves the rest of
// the canvas zero. The canvas is always width × height × bytesPerPixel bytes,
// whatever P says.
bool ReadBundle(AssetFile file, BundleContent* content);

// The whole file for an index and a canvas of width × height × bytesPerPixel
// bytes, the canvas as runs of equal pixels. When pixelsReached is given it
// receives how many pixels of the canvas the game's stop rule lets a reader
// write; a writer must make sure nothing it needs lies beyond that.
std::vector<uint8_t> EncodeBundle(const BundleIndex& index, const uint8_t* canvas,
                                  std::size_t* pixelsReached = nullptr);
