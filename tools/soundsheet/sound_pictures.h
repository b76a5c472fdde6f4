#pragma once
#include <cstdint>
#include <vector>

// A picture of one sound: its waveform above its spectrogram, both across
// the whole width, as 8-bit RGB rows from the bottom up (the order TGA
// files store them in).
struct SoundPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
};

// samples: mono, full scale 1, at 44100 Hz. The waveform takes the top
// waveHeight rows, each column its slice's lowest and highest sample; the
// spectrogram below runs from 40 Hz (bottom) to 20 kHz (top) on a
// logarithmic scale, coloured from -96 dB (black) to 0 dB (white) of full
// scale.
SoundPicture DrawSound(const std::vector<float>& samples, int32_t width, int32_t waveHeight,
                       int32_t spectrumHeight);
