// Feeds arbitrary bytes to the game's bundle reader through the buffered
// stream layer; whatever it accepts must encode and read back to the same
// index, and the scrambling must invert the unscrambling on any block.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "resources/texture_bundle_format.h"

namespace {

bool Read(const uint8_t* data, size_t size, BundleContent* content) {
  if (size == 0) return false;
  AssetFile file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return false;
  const bool read = ReadBundle(file, content);
  AssetClose(file);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> block(data, data + size);
  UnscrambleIndexBlock(block.data(), block.size());
  ScrambleIndexBlock(block.data(), block.size());
  if (size > 0 && std::memcmp(block.data(), data, size) != 0) std::abort();

  BundleContent content;
  if (!Read(data, size, &content)) return 0;
  const std::vector<uint8_t> bytes = EncodeBundle(content.index, content.canvas.data());
  BundleContent again;
  if (!Read(bytes.data(), bytes.size(), &again) ||
      EncodeBundleIndex(again.index) != EncodeBundleIndex(content.index)) {
    std::abort();
  }
  return 0;
}
