#include "tools/bundletool/bundle_packer.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "resources/texture_bundle_format.h"

namespace {

// Pictures stay two texels from the far edges: the game's coordinate table
// maps the last texel edge to 1.0, which would stretch a picture ending there.
constexpr int32_t kNearMargin = 1;
constexpr int32_t kFarMargin = 2;
constexpr int32_t kGap = 1;

bool Check(const std::vector<PackPicture>& pictures, const PackOptions& options, std::string* error) {
  if (options.bytesPerPixel != 3 && options.bytesPerPixel != 4) {
    *error = "bytes per pixel must be 3 or 4";
    return false;
  }
  if (options.size < kNearMargin + kFarMargin + 1 || options.size > kMaxBundleSide) {
    *error = "canvas size must be between 4 and " + std::to_string(kMaxBundleSide);
    return false;
  }
  for (const PackPicture& picture : pictures) {
    if (picture.width < 1 || picture.height < 1 || !picture.pixels ||
        (picture.channels != 3 && picture.channels != 4)) {
      *error = "picture " + picture.name + " is empty or has an unknown pixel format";
      return false;
    }
  }
  return true;
}

// Shelves of pictures, tallest first, each shelf filled left to right.
bool Place(const std::vector<PackPicture>& pictures, int32_t size, std::vector<PackPlacement>* placed,
           std::string* error) {
  std::vector<std::size_t> order(pictures.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return pictures[a].height > pictures[b].height; });
  placed->assign(pictures.size(), {});
  const int32_t limit = size - kFarMargin;
  int32_t x = kNearMargin, y = kNearMargin, shelfHeight = 0;
  for (std::size_t i : order) {
    const PackPicture& picture = pictures[i];
    if (x + picture.width > limit && x > kNearMargin) {
      x = kNearMargin;
      y += shelfHeight + kGap;
      shelfHeight = 0;
    }
    if (x + picture.width > limit || y + picture.height > limit) {
      *error = "picture " + picture.name + " (" + std::to_string(picture.width) + "x" +
               std::to_string(picture.height) + ") does not fit into the " + std::to_string(size) + "x" +
               std::to_string(size) + " canvas";
      return false;
    }
    (*placed)[i] = {picture.name, x, y, x + picture.width, y + picture.height};
    x += picture.width + kGap;
    shelfHeight = std::max(shelfHeight, picture.height);
  }
  return true;
}

void Draw(const PackPicture& picture, const PackPlacement& place, int32_t size, int32_t pixelSize,
          uint8_t* canvas) {
  for (int32_t row = 0; row < picture.height; ++row) {
    const uint8_t* in = picture.pixels + static_cast<std::size_t>(row) * picture.width * picture.channels;
    uint8_t* out = canvas + (static_cast<std::size_t>(place.y0 + row) * size + place.x0) * pixelSize;
    for (int32_t column = 0; column < picture.width; ++column) {
      std::memcpy(out, in, 3);
      if (pixelSize == 4) out[3] = picture.channels == 4 ? in[3] : 255;
      in += picture.channels;
      out += pixelSize;
    }
  }
}

}  // namespace

bool PackBundle(const std::vector<PackPicture>& pictures, const PackOptions& options,
                std::vector<uint8_t>* fileBytes, std::vector<PackPlacement>* placements,
                std::string* error) {
  fileBytes->clear();
  std::vector<PackPlacement> placed;
  if (!Check(pictures, options, error) || !Place(pictures, options.size, &placed, error)) return false;

  BundleIndex index;
  index.bytesPerPixel = options.bytesPerPixel;
  index.mipmapped = options.mipmaps;
  index.width = index.height = options.size;
  for (const PackPlacement& place : placed) index.entries.push_back({place.name, place.x0, place.y0, place.x1, place.y1});
  BundleRegion region;
  region.values[0] = region.values[1] = options.size;
  region.flag = 1;
  index.regions.push_back(region);

  const std::size_t pixelCount = static_cast<std::size_t>(options.size) * options.size;
  std::vector<uint8_t> canvas(pixelCount * options.bytesPerPixel, 0);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    Draw(pictures[i], placed[i], options.size, options.bytesPerPixel, canvas.data());
  }
  std::size_t reached = 0;
  std::vector<uint8_t> bytes = EncodeBundle(index, canvas.data(), &reached);
  // The game stops reading runs early when there are many of them; what it
  // never reaches stays zero, the background, so only picture texels matter.
  const std::size_t pictureEnd = reached * options.bytesPerPixel;
  if (std::any_of(canvas.begin() + pictureEnd, canvas.end(), [](uint8_t b) { return b != 0; })) {
    *error = "the pictures have too much detail for a " + std::to_string(options.size) +
             " canvas: the game would stop reading before their last texels (try a larger --size)";
    return false;
  }
  *fileBytes = std::move(bytes);
  if (placements) *placements = std::move(placed);
  return true;
}
