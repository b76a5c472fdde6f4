#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace synth {

// A canonical RIFF/WAVE image: "RIFF" size "WAVE", a 16-byte "fmt " block
// (PCM, tag 1) and one "data" chunk, all little-endian. `samples` are
// interleaved when channels is 2.
std::string EncodeWav16(const std::vector<int16_t>& samples, int channels, int sampleRate);

// Converts mono float samples (full scale 1.0) and writes them as 16-bit
// PCM. False when the file cannot be written.
bool WriteMonoWav(const std::string& path, const std::vector<float>& samples, int sampleRate);

}  // namespace synth
