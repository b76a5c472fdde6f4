#include "audio/wav_reader.h"

#include <AL/al.h>

#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kPcmBlockBytes = 16;

// A read position inside the input that never moves past its end.
class ByteCursor {
 public:
  ByteCursor(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

  std::size_t Remaining() const { return size_ - position_; }
  const uint8_t* Here() const { return bytes_ + position_; }

  bool Skip(std::size_t count) {
    if (count > Remaining()) return false;
    position_ += count;
    return true;
  }
  bool Tag(char (&tag)[4]) {
    if (Remaining() < 4) return false;
    std::memcpy(tag, Here(), 4);
    position_ += 4;
    return true;
  }
  bool U16(uint16_t* value) {
    if (Remaining() < 2) return false;
    *value = static_cast<uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
    position_ += 2;
    return true;
  }
  bool U32(uint32_t* value) {
    uint16_t low, high;
    if (Remaining() < 4 || !U16(&low) || !U16(&high)) return false;
    *value = low | static_cast<uint32_t>(high) << 16;
    return true;
  }

 private:
  const uint8_t* bytes_;
  std::size_t size_;
  std::size_t position_ = 0;
};

int32_t AlFormat(uint16_t channels, uint16_t bits) {
  if (channels == 1 && bits == 8) return AL_FORMAT_MONO8;
  if (channels == 1 && bits == 16) return AL_FORMAT_MONO16;
  if (channels == 2 && bits == 8) return AL_FORMAT_STEREO8;
  if (channels == 2 && bits == 16) return AL_FORMAT_STEREO16;
  return 0;
}

// Bytes of one sample frame: one sample for every channel.
std::size_t FrameBytes(int32_t alFormat) {
  switch (alFormat) {
    case AL_FORMAT_MONO8:
      return 1;
    case AL_FORMAT_MONO16:
    case AL_FORMAT_STEREO8:
      return 2;
    default:
      return 4;
  }
}

// The cursor stands after the chunk size. Byte rate and block alignment are
// not needed: the format follows from channels and bits alone.
bool ReadFormatBlock(ByteCursor& cursor, uint32_t chunkBytes, WavSound* sound) {
  if (chunkBytes < kPcmBlockBytes || chunkBytes > cursor.Remaining()) return false;
  uint16_t tag, channels, alignment, bits;
  uint32_t rate, byteRate;
  if (!(cursor.U16(&tag) && cursor.U16(&channels) && cursor.U32(&rate) && cursor.U32(&byteRate) &&
        cursor.U16(&alignment) && cursor.U16(&bits))) {
    return false;
  }
  if (tag != kFormatPcm && tag != kFormatExtensible) return false;
  sound->format = AlFormat(channels, bits);
  if (sound->format == 0 || rate == 0 || rate > INT32_MAX) return false;
  sound->frequency = static_cast<int32_t>(rate);
  // Longer blocks carry extension bytes after the PCM fields.
  return cursor.Skip(chunkBytes - kPcmBlockBytes);
}

}  // namespace

bool ReadWav(const uint8_t* bytes, std::size_t size, WavSound* sound) {
  if (!bytes || !sound) return false;
  ByteCursor cursor(bytes, size);
  WavSound current;  // format of the latest "fmt " block
  WavSound chosen;   // the latest "data" chunk with the format it was read with
  bool header = false, format = false, data = false;
  char tag[4];
  // The RIFF size is not trusted and odd chunks are not padded: the walk
  // reads the chunks one after another exactly as the sizes say.
  while (cursor.Tag(tag)) {
    uint32_t chunkBytes;
    if (!cursor.U32(&chunkBytes)) {
      if (data) break;
      return false;
    }
    if (std::memcmp(tag, "RIFF", 4) == 0) {
      char form[4];
      if (!cursor.Tag(form)) return false;
      if (std::memcmp(form, "WAVE", 4) == 0) header = true;
    } else if (std::memcmp(tag, "fmt", 3) == 0) {
      if (!ReadFormatBlock(cursor, chunkBytes, &current)) return false;
      format = true;
    } else if (std::memcmp(tag, "data", 4) == 0) {
      if (!format || chunkBytes > cursor.Remaining()) return false;
      chosen = current;
      chosen.samples = cursor.Here();
      // OpenAL refuses a buffer that is not whole frames, and the error it
      // leaves would be seen by the next caller; a partial last frame is
      // dropped instead.
      chosen.sampleBytes = chunkBytes - chunkBytes % FrameBytes(current.format);
      cursor.Skip(chunkBytes);
      data = true;
    } else if (!cursor.Skip(chunkBytes)) {
      // A damaged chunk after the samples (a cut tag list, say) costs nothing
      // that is needed: the walk ends there.
      if (data) break;
      return false;
    }
  }
  if (!header || !format || !data) return false;
  *sound = chosen;
  return true;
}
