// bundletool: packs TGA pictures into a texture bundle, lists a bundle and
// extracts a picture from it, with the game's own decoder and format code.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/tga.h"
#include "resources/tga_writer.h"
#include "resources/texture_bundle_format.h"
#include "tools/bundletool/bundle_packer.h"

namespace {

constexpr const char* kUsage =
    "usage: bundletool pack [--bpp 3|4] [--mipmaps] [--size N] OUT.etb IMAGE.tga ...\n"
    "       bundletool list FILE.etb\n"
    "       bundletool extract FILE.etb NAME OUT.tga\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "bundletool: %s\n", message.c_str());
  return 1;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Paths are used as given; the asset directory is started empty for that.
bool ReadBundleFile(const char* path, BundleContent* content) {
  AssetFile file = nullptr;
  OpenAssetFile(path, "rb", &file);
  if (!file) return false;
  const bool read = ReadBundle(file, content);
  AssetClose(file);
  return read;
}

bool ParseNumber(const char* text, int32_t* value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < 0 || parsed > 1 << 20) return false;
  *value = static_cast<int32_t>(parsed);
  return true;
}

int Pack(int argc, char** argv) {
  PackOptions options;
  int i = 0;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string flag = argv[i];
    if (flag == "--mipmaps") {
      options.mipmaps = true;
    } else if ((flag == "--bpp" || flag == "--size") && i + 1 < argc) {
      int32_t* target = flag == "--bpp" ? &options.bytesPerPixel : &options.size;
      if (!ParseNumber(argv[++i], target)) return Fail("bad value for " + flag + ": " + argv[i]);
    } else {
      return Fail("unknown option " + flag + "\n" + kUsage);
    }
  }
  if (argc - i < 2) return Fail(std::string("pack needs an output and at least one image\n") + kUsage);
  const char* output = argv[i++];

  std::vector<DecodedImage> images(argc - i);
  std::vector<PackPicture> pictures;
  // The game looks a picture up by its entry name and takes the first, so a
  // second picture of the same name could never be shown.
  std::map<std::string, std::string> pathOfName;
  for (int k = i; k < argc; ++k) {
    const auto [earlier, added] = pathOfName.emplace(BaseName(argv[k]), argv[k]);
    if (!added) {
      return Fail(std::string(argv[k]) + " has the same entry name as " + earlier->second + ": " +
                  earlier->first);
    }
  }
  for (std::size_t k = 0; k < images.size(); ++k) {
    const char* path = argv[i + k];
    AssetFile file = nullptr;
    OpenAssetFile(path, "rb", &file);
    if (!file) return Fail(std::string("cannot open ") + path);
    const bool decoded = DecodeTga(file, &images[k]);
    AssetClose(file);
    if (!decoded) return Fail(std::string(path) + " is not a TGA image the game can read");
    pictures.push_back({BaseName(path), images[k].width, images[k].height, images[k].bitsPerPixel / 8,
                        images[k].pixels.get()});
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!PackBundle(pictures, options, &bytes, nullptr, &error)) return Fail(error);

  std::FILE* out = std::fopen(output, "wb");
  if (!out) return Fail(std::string("cannot create ") + output);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !written) {
    std::remove(output);
    return Fail(std::string("cannot write ") + output);
  }
  return 0;
}

int List(const char* path) {
  BundleContent content;
  if (!ReadBundleFile(path, &content)) return Fail(std::string(path) + " is not a bundle the game can read");
  const BundleIndex& index = content.index;
  std::printf("bundle bpp=%d mipmaps=%d width=%d height=%d entries=%zu regions=%zu\n", index.bytesPerPixel,
              index.mipmapped ? 1 : 0, index.width, index.height, index.entries.size(), index.regions.size());
  for (const BundleEntry& entry : index.entries) {
    std::printf("%s %d %d %d %d\n", entry.name.c_str(), entry.x0, entry.y0, entry.x1, entry.y1);
  }
  for (const BundleRegion& region : index.regions) {
    std::printf("region %d %d %d %d %d\n", region.values[0], region.values[1], region.values[2],
                region.values[3], region.flag);
  }
  return 0;
}

int Extract(const char* path, const char* name, const char* output) {
  BundleContent content;
  if (!ReadBundleFile(path, &content)) return Fail(std::string(path) + " is not a bundle the game can read");
  const BundleIndex& index = content.index;
  for (const BundleEntry& entry : index.entries) {
    if (entry.name != name) continue;
    const int32_t x0 = std::max(entry.x0, 0), x1 = std::min(entry.x1, index.width);
    const int32_t y0 = std::max(entry.y0, 0), y1 = std::min(entry.y1, index.height);
    if (x1 <= x0 || y1 <= y0) return Fail(std::string("entry ") + name + " holds no texels of the canvas");
    const std::size_t pixelSize = index.bytesPerPixel;
    const std::size_t rowBytes = (x1 - x0) * pixelSize;
    std::vector<uint8_t> pixels;
    for (int32_t y = y0; y < y1; ++y) {
      const uint8_t* row = content.canvas.data() + (static_cast<std::size_t>(y) * index.width + x0) * pixelSize;
      pixels.insert(pixels.end(), row, row + rowBytes);
    }
    const TgaImage image{x1 - x0, y1 - y0, index.bytesPerPixel, false, pixels.data()};
    if (!WriteTga(output, image, index.bytesPerPixel * 8, TgaEncoding::Uncompressed)) {
      return Fail(std::string("cannot write ") + output);
    }
    return 0;
  }
  return Fail(std::string("no entry called ") + name + " in " + path);
}

}  // namespace

int main(int argc, char** argv) {
  StartAssetDirectoryAt("");
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "pack") return Pack(argc - 2, argv + 2);
  if (command == "list" && argc == 3) return List(argv[2]);
  if (command == "extract" && argc == 5) return Extract(argv[2], argv[3], argv[4]);
  std::fputs(kUsage, stderr);
  return 1;
}
