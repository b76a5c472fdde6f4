// Feeds arbitrary bytes to the game's TGA decoder through the same buffered
// stream layer the game reads files with; whatever it accepts must survive a
// round trip through our writer unchanged.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/tga.h"
#include "resources/tga_writer.h"

namespace {

bool Decode(const uint8_t* data, size_t size, DecodedImage* image) {
  if (size == 0) return false;
  AssetFile file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return false;
  const bool decoded = DecodeTga(file, image);
  AssetClose(file);
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedImage image;
  if (!Decode(data, size, &image)) return 0;
  const TgaImage view{image.width, image.height, image.bitsPerPixel / 8, false, image.pixels.get()};
  for (TgaEncoding encoding : {TgaEncoding::Uncompressed, TgaEncoding::RunLength}) {
    const std::vector<uint8_t> bytes = EncodeTga(view, image.bitsPerPixel, encoding);
    DecodedImage again;
    if (!Decode(bytes.data(), bytes.size(), &again) || again.dataSize != image.dataSize ||
        std::memcmp(again.pixels.get(), image.pixels.get(), image.dataSize) != 0) {
      std::abort();
    }
  }
  return 0;
}
