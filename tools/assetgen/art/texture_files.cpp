#include "tools/assetgen/art/texture_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "resources/tga_writer.h"

namespace art {

bool WriteFileBytes(const std::string& baseDir, const std::string& relativePath, const std::vector<uint8_t>& bytes) {
  std::filesystem::path path = std::filesystem::path(baseDir) / relativePath;
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteTexture(const std::string& baseDir, const std::string& relativePath, const raster::Canvas& canvas,
                  TextureFormat format) {
  std::vector<uint8_t> pixels = canvas.ToBytes(format.alpha);
  TgaImage image;
  image.width = canvas.width();
  image.height = canvas.height();
  image.channels = format.alpha ? 4 : 3;
  image.pixels = pixels.data();
  std::vector<uint8_t> file = EncodeTga(image, format.alpha ? 32 : 24,
                                        format.runLength ? TgaEncoding::RunLength : TgaEncoding::Uncompressed);
  if (file.empty()) {
    std::fprintf(stderr, "assetgen: cannot encode %s (%d x %d)\n", relativePath.c_str(), canvas.width(),
                 canvas.height());
    return false;
  }
  return WriteFileBytes(baseDir, relativePath, file);
}

}  // namespace art
