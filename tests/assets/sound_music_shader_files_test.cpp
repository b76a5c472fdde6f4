// Checks the sounds, music and shader sources in the asset tree that the
// build generates beside the game (SS_BIN_DIR/base).
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/assets/little_endian.h"

namespace {

const std::filesystem::path kBase = std::filesystem::path(SS_BIN_DIR) / "base";

// Builds without the generated tree (the sanitizer builds) skip these tests.
#define SKIP_WITHOUT_ASSET_TREE() \
  if (!std::filesystem::is_directory(kBase)) GTEST_SKIP() << "no generated asset tree at " << kBase

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(GeneratedSounds, AreSixteenBitPcmWavesThatTheGameCanRead) {
  SKIP_WITHOUT_ASSET_TREE();
  for (const char* name : {"SS_shot-laser3.wav", "thrust.wav", "SS_explosion-debris.wav"}) {
    SCOPED_TRACE(name);
    const std::string bytes = ReadFile(kBase / "sound/ship" / name);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 4), "WAVE");
    // "fmt " must come before "data", with a 16-byte PCM block.
    ASSERT_EQ(bytes.substr(12, 4), "fmt ");
    ASSERT_EQ(U32At(bytes, 16), 16u);
    const uint16_t channels = U16At(bytes, 22);
    EXPECT_EQ(U16At(bytes, 20), 1u);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_EQ(U32At(bytes, 24), 44100u);
    EXPECT_EQ(U16At(bytes, 34), 16u);
    EXPECT_EQ(U16At(bytes, 32), channels * 2u);
    EXPECT_EQ(U32At(bytes, 28), 44100u * channels * 2u);
    ASSERT_EQ(bytes.substr(36, 4), "data");
    ASSERT_EQ(U32At(bytes, 40), bytes.size() - 44);

    int peak = 0;
    for (size_t at = 44; at + 1 < bytes.size(); at += 2) {
      peak = std::max(peak, std::abs(static_cast<int16_t>(U16At(bytes, at))));
    }
    EXPECT_GT(peak, 16000) << "nearly silent";
    EXPECT_LT(peak, 32767) << "clipped";
  }
}

struct DecodedMusic {
  long channels = 0;
  long rate = 0;
  long nominalBitrate = 0;
  std::vector<int16_t> samples;  // interleaved
};

bool Decode(const std::filesystem::path& path, DecodedMusic& music) {
  OggVorbis_File decoder;
  if (ov_fopen(path.c_str(), &decoder) != 0) return false;
  const vorbis_info* info = ov_info(&decoder, -1);
  music.channels = info->channels;
  music.rate = info->rate;
  music.nominalBitrate = info->bitrate_nominal;
  std::vector<char> chunk(65536);
  int section = 0;
  long got = 0;
  while ((got = ov_read(&decoder, chunk.data(), static_cast<int>(chunk.size()), 0, 2, 1, &section)) > 0) {
    const auto* pcm = reinterpret_cast<const int16_t*>(chunk.data());
    music.samples.insert(music.samples.end(), pcm, pcm + got / 2);
  }
  ov_clear(&decoder);
  return got == 0;
}

double Rms(const std::vector<int16_t>& samples, size_t first, size_t count) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(count));
}

TEST(GeneratedMusic, IsAMinuteOrMoreOfVorbisThatLoopsWithoutASeam) {
  SKIP_WITHOUT_ASSET_TREE();
  for (const char* name : {"SS_menu.ogg", "SS_upbeat-tech.ogg"}) {
    SCOPED_TRACE(name);
    DecodedMusic music;
    ASSERT_TRUE(Decode(kBase / "sound/music" / name, music));
    // The game's streamer decodes in chunks of half the nominal bitrate in
    // bytes, and every chunk must hold whole 16-bit stereo frames.
    EXPECT_GT(music.nominalBitrate, 0);
    EXPECT_EQ(music.nominalBitrate / 2 % 4, 0);
    ASSERT_EQ(music.channels, 2);
    ASSERT_EQ(music.rate, 44100);
    const size_t frames = music.samples.size() / 2;
    EXPECT_GE(frames, 60u * 44100u);

    int peak = 0;
    for (int16_t s : music.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_GT(peak, 20000) << "too quiet";

    for (size_t channel = 0; channel < 2; ++channel) {
      std::vector<int> steps;
      for (size_t i = 1; i < frames; ++i) {
        steps.push_back(std::abs(music.samples[2 * i + channel] - music.samples[2 * (i - 1) + channel]));
      }
      std::sort(steps.begin(), steps.end());
      const int usualLargeStep = steps[steps.size() * 999 / 1000];
      const int seam = std::abs(music.samples[channel] - music.samples[2 * (frames - 1) + channel]);
      EXPECT_LE(seam, usualLargeStep) << "channel " << channel;
    }
    // The end runs on into the start: neither side of the seam fades out.
    const size_t window = 4410 * 2;
    const double head = Rms(music.samples, 0, window);
    const double tail = Rms(music.samples, music.samples.size() - window, window);
    EXPECT_GT(head, 1000.0);
    EXPECT_GT(tail, 1000.0);
    EXPECT_LT(std::max(head, tail) / std::min(head, tail), 3.0);
  }
}

std::set<std::string> Uniforms(const std::vector<std::string>& files) {
  static const std::regex declaration(R"(^\s*uniform\s+\w+\s+(\w+)\s*;)");
  std::set<std::string> names;
  for (const std::string& file : files) {
    std::istringstream lines(ReadFile(kBase / "shaders" / file));
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
      if (std::regex_search(line, match, declaration)) names.insert(match[1]);
    }
  }
  return names;
}

TEST(GeneratedShaders, AreGlsl110DeclaringTheUniformsTheGameSets) {
  SKIP_WITHOUT_ASSET_TREE();
  for (const char* file : {"default.evs", "default.efs", "shipinv.efs", "heat.evs", "heat.efs"}) {
    EXPECT_EQ(ReadFile(kBase / "shaders" / file).rfind("#version 110\n", 0), 0u) << file;
  }
  const std::set<std::string> lit = {"texture0", "texture1", "LightPosition", "SpecularFactor"};
  std::set<std::string> shielded = lit;
  shielded.insert({"texture2", "noffset"});
  EXPECT_EQ(Uniforms({"default.evs", "default.efs"}), lit);
  EXPECT_EQ(Uniforms({"default.evs", "shipinv.efs"}), shielded);
  EXPECT_EQ(Uniforms({"heat.evs", "heat.efs"}), (std::set<std::string>{"flame", "alpha", "particleAlpha"}));
}

}  // namespace
