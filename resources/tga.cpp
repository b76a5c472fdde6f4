#include "resources/tga.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr uint8_t kUncompressedSignature[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kRunLengthSignature[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::size_t kLongestPacket = 128;
// The largest side a texture of the game can be uploaded with; a larger one
// could only come from a damaged file, and a small run-length file may claim
// one that needs gigabytes.
constexpr int32_t kMaxTgaSide = 8192;

// Reads the file in large blocks so the run-length decoder does not pay one
// stream call per packet. Takes the same bytes, in the same order, as reading
// each packet header and pixel on its own.
class BlockReader {
 public:
  explicit BlockReader(AssetFile file) : file_(file) {}

  // Copies count bytes to destination, or returns false (destination
  // untouched) when the file ends first.
  bool Read(uint8_t* destination, std::size_t count) {
    if (available() < count && !Refill(count)) return false;
    std::memcpy(destination, buffer_ + position_, count);
    position_ += count;
    return true;
  }
  bool ReadByte(uint8_t* value) { return Read(value, 1); }
  std::size_t available() const { return length_ - position_; }
  const uint8_t* peek() const { return buffer_ + position_; }
  void Skip(std::size_t count) { position_ += count; }
  bool Refill(std::size_t wanted) {
    std::memmove(buffer_, buffer_ + position_, available());
    length_ = available();
    position_ = 0;
    if (!ended_) {
      const std::size_t got = AssetRead(buffer_ + length_, 1, sizeof(buffer_) - length_, file_);
      if (got < sizeof(buffer_) - length_) ended_ = true;
      length_ += got;
    }
    return available() >= wanted;
  }

 private:
  AssetFile file_;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool ended_ = false;
  uint8_t buffer_[64 * 1024];
};

void SwapRedBlue(uint8_t* pixels, std::size_t count, int pixelSize) {
  if (pixelSize == 4) {
    for (std::size_t i = 0; i < count; ++i) {
      uint32_t p;
      std::memcpy(&p, pixels + 4 * i, 4);
      p = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
      std::memcpy(pixels + 4 * i, &p, 4);
    }
  } else {
    for (std::size_t i = 0; i < count; ++i) std::swap(pixels[3 * i], pixels[3 * i + 2]);
  }
}

// Copies `count` BGR(A) pixels to out as RGB(A).
void CopySwapped(const uint8_t* in, uint8_t* out, std::size_t count, int pixelSize) {
  std::memcpy(out, in, count * pixelSize);
  SwapRedBlue(out, count, pixelSize);
}

void Fill(uint8_t* out, std::size_t count, const uint8_t* pixel, int pixelSize) {
  if (pixelSize == 4) {
    uint32_t p;
    std::memcpy(&p, pixel, 4);
    for (std::size_t i = 0; i < count; ++i) std::memcpy(out + 4 * i, &p, 4);
  } else {
    for (std::size_t i = 0; i < count; ++i) std::memcpy(out + 3 * i, pixel, 3);
  }
}

void DecodeRunLength(AssetFile file, uint8_t* out, std::size_t pixelCount, int pixelSize) {
  auto reader = std::make_unique<BlockReader>(file);
  uint8_t last[4] = {0, 0, 0, 0};  // BGR(A) of the last pixel read
  std::size_t written = 0;
  while (written < pixelCount) {
    uint8_t header = 0;
    if (!reader->ReadByte(&header)) break;
    const std::size_t remaining = pixelCount - written;
    if (header & 0x80) {
      const std::size_t run = std::min<std::size_t>(header - 127, remaining);
      reader->Read(last, pixelSize);
      uint8_t rgb[4];
      CopySwapped(last, rgb, 1, pixelSize);
      Fill(out + written * pixelSize, run, rgb, pixelSize);
      written += run;
      continue;
    }
    const std::size_t literal = std::min<std::size_t>(header + 1, remaining);
    const std::size_t bytes = literal * pixelSize;
    if (reader->available() >= bytes || reader->Refill(bytes)) {
      CopySwapped(reader->peek(), out + written * pixelSize, literal, pixelSize);
      std::memcpy(last, reader->peek() + bytes - pixelSize, pixelSize);
      reader->Skip(bytes);
      written += literal;
      continue;
    }
    // The file ends inside this packet: take the whole pixels that are left.
    for (std::size_t i = 0; i < literal && reader->Read(last, pixelSize); ++i) {
      CopySwapped(last, out + written * pixelSize, 1, pixelSize);
      ++written;
    }
    break;
  }
  uint8_t rgb[4];
  CopySwapped(last, rgb, 1, pixelSize);
  Fill(out + written * pixelSize, pixelCount - written, rgb, pixelSize);
}

}  // namespace

long BytesLeftInFile(AssetFile file) {
  const long here = AssetTell(file);
  if (here < 0 || !AssetSeek(file, 0, SEEK_END)) return -1;
  const long end = AssetTell(file);
  if (!AssetSeek(file, here, SEEK_SET) || end < here) return -1;
  return end - here;
}

namespace {

bool DecodeTgaOrThrow(AssetFile file, DecodedImage* image) {
  uint8_t header[18];
  if (!file || AssetRead(header, 1, 12, file) != 12) return false;
  const bool uncompressed = std::memcmp(header, kUncompressedSignature, 12) == 0;
  if (!uncompressed && std::memcmp(header, kRunLengthSignature, 12) != 0) return false;
  if (AssetRead(header + 12, 1, 6, file) != 6) return false;
  const int32_t width = header[12] | header[13] << 8;
  const int32_t height = header[14] | header[15] << 8;
  const int32_t bitsPerPixel = header[16];
  if (width == 0 || height == 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return false;
  if (width > kMaxTgaSide || height > kMaxTgaSide) return false;

  const int pixelSize = bitsPerPixel / 8;
  const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
  const std::size_t dataSize = pixelCount * pixelSize;
  if (dataSize > static_cast<std::size_t>(INT32_MAX)) return false;
  const long remaining = BytesLeftInFile(file);
  if (remaining < 0) return false;
  const std::size_t available = static_cast<std::size_t>(remaining);
  if (uncompressed && available < dataSize) return false;
  // A packet of at least 1 + pixelSize bytes yields at most 128 pixels; a
  // file that cannot describe its image even so lies about its size.
  const std::size_t packets = (available + pixelSize) / (pixelSize + 1);
  if (!uncompressed && packets * kLongestPacket < pixelCount) return false;

  std::unique_ptr<uint8_t[]> pixels(new uint8_t[dataSize]);
  if (uncompressed) {
    if (AssetRead(pixels.get(), dataSize, 1, file) != 1) return false;
    SwapRedBlue(pixels.get(), pixelCount, pixelSize);
  } else {
    DecodeRunLength(file, pixels.get(), pixelCount, pixelSize);
  }
  image->width = width;
  image->height = height;
  image->bitsPerPixel = bitsPerPixel;
  image->dataSize = static_cast<int32_t>(dataSize);
  image->pixels = std::move(pixels);
  return true;
}

}  // namespace

bool DecodeTga(AssetFile file, DecodedImage* image) {
  // Decoding runs on the loader thread, where an exception would end the
  // program: memory the machine cannot give is a failed load like any other.
  try {
    return DecodeTgaOrThrow(file, image);
  } catch (const std::bad_alloc&) {
    return false;
  }
}
