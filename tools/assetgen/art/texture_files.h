#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/raster/canvas.h"

// Writing pictures into the base/ tree. Folders are created as needed;
// failures are printed to stderr with the path and reported as false.
namespace art {

struct TextureFormat {
  bool alpha = true;       // 32 bits with alpha, else 24 bits
  bool runLength = false;  // run-length encoded (type 10), else uncompressed
};

// Writes the canvas as baseDir/relativePath in the game's TGA form.
bool WriteTexture(const std::string& baseDir, const std::string& relativePath, const raster::Canvas& canvas,
                  TextureFormat format = {});

// Writes bytes as baseDir/relativePath.
bool WriteFileBytes(const std::string& baseDir, const std::string& relativePath, const std::vector<uint8_t>& bytes);

}  // namespace art
