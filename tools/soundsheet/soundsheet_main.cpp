// soundsheet BASE OUT.wav TILE_DIR: the ship's and every event sound of the
// tree at BASE, one after another with half a second of silence between
// them, into OUT.wav (16-bit mono, 44100 Hz), and one picture per sound
// (waveform over spectrogram) as TILE_DIR/NN.tga. Prints one line per sound,
// "TILE<tab>LABEL", for scripts/sound_sheet.sh to lay out. Exits 1 when a
// sound is missing or not 16-bit mono at 44100 Hz.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/audio_device.h"
#include "audio/event_sound_files.h"
#include "audio/sound_effect.h"
#include "audio/wav_reader.h"
#include "resources/tga_writer.h"
#include "tools/soundsheet/sound_pictures.h"

namespace {

constexpr int kRate = 44100;
constexpr int kGapFrames = kRate / 2;
constexpr int32_t kTileWidth = 480;
constexpr int32_t kWaveHeight = 80;
constexpr int32_t kSpectrumHeight = 160;

bool ReadMono16(const std::filesystem::path& path, std::vector<float>* samples) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  WavSound wav;
  if (!ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav) ||
      wav.format != AL_FORMAT_MONO16 || wav.frequency != kRate) {
    return false;
  }
  samples->clear();
  for (std::size_t i = 0; i + 1 < wav.sampleBytes; i += 2) {
    samples->push_back(static_cast<int16_t>(wav.samples[i] | wav.samples[i + 1] << 8) / 32768.0f);
  }
  return true;
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool WriteMonoWav(const std::string& path, const std::vector<int16_t>& pcm) {
  const auto dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  std::string out = "RIFF";
  PutLittleEndian(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLittleEndian(out, 16, 4);
  PutLittleEndian(out, 1, 2);  // PCM
  PutLittleEndian(out, 1, 2);  // mono
  PutLittleEndian(out, kRate, 4);
  PutLittleEndian(out, kRate * 2, 4);
  PutLittleEndian(out, 2, 2);
  PutLittleEndian(out, 16, 2);
  out += "data";
  PutLittleEndian(out, dataBytes, 4);
  for (int16_t s : pcm) PutLittleEndian(out, static_cast<uint16_t>(s), 2);
  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: soundsheet BASE OUT.wav TILE_DIR\n");
    return 2;
  }
  const std::filesystem::path base = argv[1];
  const std::filesystem::path tiles = argv[3];
  std::filesystem::create_directories(tiles);

  std::vector<std::string> files = {kLaserShotSoundFile, kThrustSoundFile, kExplosionSoundFile};
  files.insert(files.end(), std::begin(kEventSoundFiles), std::end(kEventSoundFiles));

  std::vector<int16_t> sheet;
  for (std::size_t index = 0; index < files.size(); ++index) {
    std::vector<float> samples;
    if (!ReadMono16(base / files[index], &samples)) {
      std::fprintf(stderr, "soundsheet: %s is missing or not 16-bit mono at 44100 Hz\n",
                   files[index].c_str());
      return 1;
    }
    float peak = 0;
    for (float s : samples) {
      peak = std::max(peak, std::fabs(s));
      sheet.push_back(static_cast<int16_t>(std::lround(s * 32768.0f)));
    }
    sheet.insert(sheet.end(), kGapFrames, 0);

    const SoundPicture picture = DrawSound(samples, kTileWidth, kWaveHeight, kSpectrumHeight);
    char name[32];
    std::snprintf(name, sizeof name, "%02zu.tga", index);
    const std::string tile = (tiles / name).string();
    const TgaImage image{picture.width, picture.height, 3, false, picture.rgb.data()};
    if (!WriteTga(tile.c_str(), image, 24, TgaEncoding::Uncompressed)) {
      std::fprintf(stderr, "soundsheet: cannot write %s\n", tile.c_str());
      return 1;
    }
    const std::string stem = std::filesystem::path(files[index]).stem().string();
    std::printf("%s\t%s  %.2f s  %.1f dBFS\n", tile.c_str(), stem.c_str(),
                static_cast<double>(samples.size()) / kRate,
                20.0 * std::log10(std::max(peak, 1e-6f)));
  }
  if (!WriteMonoWav(argv[2], sheet)) {
    std::fprintf(stderr, "soundsheet: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
