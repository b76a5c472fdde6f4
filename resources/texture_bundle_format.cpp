#include "resources/texture_bundle_format.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include "resources/tga.h"

namespace {

constexpr std::size_t kEntryFixedBytes = 4 + 16;  // name length and four corners
constexpr std::size_t kRegionBytes = 17;

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Reads fields of an index block in order, refusing to step past its end.
class FieldReader {
 public:
  FieldReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t left() const { return size_ - position_; }
  bool Bytes(std::size_t count, const uint8_t** out) {
    if (left() < count) return false;
    *out = data_ + position_;
    position_ += count;
    return true;
  }
  bool U32(uint32_t* value) {
    const uint8_t* p;
    if (!Bytes(4, &p)) return false;
    *value = ReadU32(p);
    return true;
  }
  bool I32(int32_t* value) {
    uint32_t raw;
    if (!U32(&raw)) return false;
    *value = static_cast<int32_t>(raw);
    return true;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Steps 2 to 4 of the routine: each step is its own inverse.
void XorPairs(uint8_t* b, std::size_t n) {
  for (std::size_t j = 0; j + 1 < n; j += 2) b[j + 1] ^= b[j];
}
void XorFives(uint8_t* b, std::size_t n) {
  for (auto j = static_cast<std::ptrdiff_t>(n) - 1; j >= 4; j -= 5) b[j - 4] ^= b[j - 1];
}
void XorThrees(uint8_t* b, std::size_t n) {
  for (std::size_t k = 0; k + 2 < n; k += 3) b[k + 2] ^= b[k];
}
void XorAll(uint8_t* b, std::size_t n, uint8_t key) {
  for (std::size_t i = 0; i < n; ++i) b[i] ^= key;
}

}  // namespace

void UnscrambleIndexBlock(uint8_t* b, std::size_t n) {
  if (n < 2) return;
  XorAll(b, n, 0x5E);
  XorPairs(b, n);
  XorFives(b, n);
  XorThrees(b, n);
  // Rotate the block right by 2 bits, read as one big-endian bit string.
  const uint8_t lastLow = b[n - 1] & 3;
  for (std::size_t i = n - 1; i > 0; --i) b[i] = static_cast<uint8_t>(b[i] >> 2 | b[i - 1] << 6);
  b[0] = static_cast<uint8_t>(b[0] >> 2 | lastLow << 6);
  XorAll(b, n, 0xD2);
}

void ScrambleIndexBlock(uint8_t* b, std::size_t n) {
  if (n < 2) return;
  XorAll(b, n, 0xD2);
  const uint8_t firstHigh = b[0] >> 6;
  for (std::size_t i = 0; i + 1 < n; ++i) b[i] = static_cast<uint8_t>(b[i] << 2 | b[i + 1] >> 6);
  b[n - 1] = static_cast<uint8_t>(b[n - 1] << 2 | firstHigh);
  XorThrees(b, n);
  XorFives(b, n);
  XorPairs(b, n);
  XorAll(b, n, 0x5E);
}

bool ParseBundleIndex(const uint8_t* block, std::size_t size, BundleIndex* index) {
  FieldReader in(block, size);
  BundleIndex parsed;
  const uint8_t* flag;
  uint32_t count;
  if (!in.I32(&parsed.bytesPerPixel) || !in.Bytes(1, &flag) || !in.I32(&parsed.width) ||
      !in.I32(&parsed.height) || !in.U32(&count)) {
    return false;
  }
  parsed.mipmapped = *flag != 0;
  if (parsed.bytesPerPixel != 3 && parsed.bytesPerPixel != 4) return false;
  if (parsed.width < 1 || parsed.width > kMaxBundleSide) return false;
  if (parsed.height < 1 || parsed.height > kMaxBundleSide) return false;
  if (count > in.left() / kEntryFixedBytes) return false;
  parsed.entries.resize(count);
  for (BundleEntry& entry : parsed.entries) {
    uint32_t length;
    const uint8_t* name;
    if (!in.U32(&length) || !in.Bytes(length, &name)) return false;
    entry.name.assign(reinterpret_cast<const char*>(name), length);
    // x1 and y1 are one past the last texel: a file whose writer put the last
    // texel there shows its pictures one texel short.
    if (!in.I32(&entry.x0) || !in.I32(&entry.y0) || !in.I32(&entry.x1) || !in.I32(&entry.y1)) {
      return false;
    }
  }
  if (!in.U32(&count) || count > in.left() / kRegionBytes) return false;
  parsed.regions.resize(count);
  for (BundleRegion& region : parsed.regions) {
    const uint8_t* record;
    if (!in.Bytes(kRegionBytes, &record)) return false;
    for (int i = 0; i < 4; ++i) region.values[i] = static_cast<int32_t>(ReadU32(record + 4 * i));
    region.flag = record[16];
  }
  *index = std::move(parsed);
  return true;
}

std::vector<uint8_t> EncodeBundleIndex(const BundleIndex& index) {
  std::vector<uint8_t> out;
  PutU32(out, static_cast<uint32_t>(index.bytesPerPixel));
  out.push_back(index.mipmapped ? 1 : 0);
  PutU32(out, static_cast<uint32_t>(index.width));
  PutU32(out, static_cast<uint32_t>(index.height));
  PutU32(out, static_cast<uint32_t>(index.entries.size()));
  for (const BundleEntry& entry : index.entries) {
    PutU32(out, static_cast<uint32_t>(entry.name.size()));
    out.insert(out.end(), entry.name.begin(), entry.name.end());
    // One past the last column and row, as the game reads them.
    for (int32_t value : {entry.x0, entry.y0, entry.x1, entry.y1}) PutU32(out, static_cast<uint32_t>(value));
  }
  PutU32(out, static_cast<uint32_t>(index.regions.size()));
  for (const BundleRegion& region : index.regions) {
    for (int32_t value : region.values) PutU32(out, static_cast<uint32_t>(value));
    out.push_back(region.flag);
  }
  return out;
}

namespace {

bool ReadBundleOrThrow(AssetFile file, BundleContent* content) {
  uint8_t word[4];
  if (!file || AssetRead(word, 4, 1, file) != 1) return false;
  const uint32_t blockSize = ReadU32(word);
  const long remaining = BytesLeftInFile(file);
  if (blockSize == 0 || remaining < 0 || blockSize > static_cast<unsigned long>(remaining)) return false;
  std::vector<uint8_t> block(blockSize);
  if (AssetRead(block.data(), blockSize, 1, file) != 1) return false;
  UnscrambleIndexBlock(block.data(), block.size());
  BundleContent read;
  if (!ParseBundleIndex(block.data(), block.size(), &read.index)) return false;

  const BundleIndex& index = read.index;
  const std::size_t pixelSize = index.bytesPerPixel;
  const uint64_t total = static_cast<uint64_t>(index.width) * index.height;
  read.canvas.assign(total * pixelSize, 0);
  // P is only the size the writer meant; the canvas above always fits the
  // image the runs are clipped to, so the word is read past and not trusted.
  if (AssetRead(word, 4, 1, file) == 1) {
    uint64_t written = 0;
    uint64_t runs = 0;
    uint8_t run[8];
    while (written + runs < total && AssetRead(run, 4 + pixelSize, 1, file) == 1) {
      ++runs;
      const uint64_t count = std::min<uint64_t>(ReadU32(run), total - written);
      uint8_t* out = read.canvas.data() + written * pixelSize;
      for (uint64_t i = 0; i < count; ++i) std::memcpy(out + i * pixelSize, run + 4, pixelSize);
      written += count;
    }
  }
  *content = std::move(read);
  return true;
}

}  // namespace

bool ReadBundle(AssetFile file, BundleContent* content) {
  // The loader thread reads bundles, and an exception there ends the program.
  try {
    return ReadBundleOrThrow(file, content);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::vector<uint8_t> EncodeBundle(const BundleIndex& index, const uint8_t* canvas,
                                  std::size_t* pixelsReached) {
  std::vector<uint8_t> block = EncodeBundleIndex(index);
  ScrambleIndexBlock(block.data(), block.size());
  const std::size_t pixelSize = index.bytesPerPixel;
  const std::size_t total = static_cast<std::size_t>(index.width) * index.height;
  std::vector<uint8_t> out;
  PutU32(out, static_cast<uint32_t>(block.size()));
  out.insert(out.end(), block.begin(), block.end());
  PutU32(out, static_cast<uint32_t>(total * pixelSize));
  std::size_t reached = 0;
  std::size_t runs = 0;
  for (std::size_t start = 0; start < total;) {
    const uint8_t* pixel = canvas + start * pixelSize;
    std::size_t end = start + 1;
    while (end < total && std::memcmp(canvas + end * pixelSize, pixel, pixelSize) == 0) ++end;
    PutU32(out, static_cast<uint32_t>(end - start));
    out.insert(out.end(), pixel, pixel + pixelSize);
    if (reached + runs < total) {  // the reader's own stop rule
      ++runs;
      reached += end - start;
    }
    start = end;
  }
  if (pixelsReached) *pixelsReached = reached;
  return out;
}
