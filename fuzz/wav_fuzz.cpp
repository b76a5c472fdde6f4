// The WAV chunk walk on arbitrary bytes: it must stay inside its input, and
// whatever it accepts must describe samples that lie inside it too.
#include <AL/al.h>

#include <cstdlib>

#include "audio/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  WavSound sound;
  if (!ReadWav(data, size, &sound)) return 0;
  const bool inside = sound.samples >= data && sound.sampleBytes <= size &&
                      sound.samples - data <= static_cast<std::ptrdiff_t>(size - sound.sampleBytes);
  const bool known = sound.format >= AL_FORMAT_MONO8 && sound.format <= AL_FORMAT_STEREO16;
  if (!inside || !known || sound.frequency <= 0) std::abort();
  // Touch every sample byte so the sanitizer sees any read past the input.
  volatile uint8_t sum = 0;
  for (std::size_t i = 0; i < sound.sampleBytes; ++i) sum = sum + sound.samples[i];
  return 0;
}
