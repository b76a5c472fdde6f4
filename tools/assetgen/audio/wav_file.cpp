#include "tools/assetgen/audio/wav_file.h"

#include "tools/assetgen/audio/synth.h"

namespace synth {
namespace {

void PutU16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xff));
  out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value & 0xffff);
  PutU16(out, value >> 16);
}

}  // namespace

std::string EncodeWav16(const std::vector<int16_t>& samples, int channels, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  PutU32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  PutU32(out, 16);
  PutU16(out, 1);
  PutU16(out, static_cast<uint32_t>(channels));
  PutU32(out, static_cast<uint32_t>(sampleRate));
  PutU32(out, static_cast<uint32_t>(sampleRate) * blockAlign);
  PutU16(out, blockAlign);
  PutU16(out, 16);
  out += "data";
  PutU32(out, dataBytes);
  for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
  return out;
}

bool WriteMonoWav(const std::string& path, const std::vector<float>& samples, int sampleRate) {
  std::vector<int16_t> pcm;
  pcm.reserve(samples.size());
  for (float s : samples) pcm.push_back(ToPcm16(s));
  return WriteBinaryFile(path, EncodeWav16(pcm, 1, sampleRate));
}

}  // namespace synth
