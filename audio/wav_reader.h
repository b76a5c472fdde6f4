#pragma once
#include <cstddef>
#include <cstdint>

// The RIFF/WAVE chunk walk of the sound effects, on bytes in memory so that
// it needs neither files nor OpenAL.
struct WavSound {
  int32_t format = 0;     // AL_FORMAT_MONO8, _MONO16, _STEREO8 or _STEREO16
  int32_t frequency = 0;  // samples per second
  // The samples: bytes of the last "data" chunk, inside the input.
  const uint8_t* samples = nullptr;
  std::size_t sampleBytes = 0;
};

// Walks the chunks of bytes[0, size) until fewer than four bytes remain for
// the next identifier. True, with *sound filled, when the walk found a
// "RIFF" header naming "WAVE", a "fmt " block of 8- or 16-bit mono or stereo
// PCM and after it a "data" chunk; the samples are cut to whole frames. An
// unknown chunk after the "data" chunk whose size runs past the input ends
// the walk. False for anything else: a chunk whose size runs past the input
// before the samples, a "data" chunk before any "fmt ", a "fmt " block
// shorter than 16 bytes, another sample format or a zero sample rate.
// Reads nothing outside the input and allocates nothing. Any thread.
bool ReadWav(const uint8_t* bytes, std::size_t size, WavSound* sound);
