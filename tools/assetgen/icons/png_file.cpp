#include "tools/assetgen/icons/png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace icons {

bool WritePng(const std::string& path, const raster::Canvas& canvas) {
  constexpr int kChannels = 4;
  // ToBytes gives the game's bottom-up rows; a PNG starts at the top.
  const std::vector<uint8_t> bytes = canvas.FlippedVertically().ToBytes(true);
  return stbi_write_png(path.c_str(), canvas.width(), canvas.height(), kChannels, bytes.data(),
                        canvas.width() * kChannels) != 0;
}

}  // namespace icons
