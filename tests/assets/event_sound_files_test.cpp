// The event sounds in the generated tree: files the game's own WAV reader
// accepts, as long and as loud as the generator means them to be.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "audio/event_sound_files.h"
#include "audio/wav_reader.h"
#include "tests/assets/generated_tree.h"
#include "tools/assetgen/audio/event_sounds.h"
#include "tools/assetgen/audio/synth.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<int16_t> Samples(const WavSound& wav) {
  std::vector<int16_t> samples(wav.sampleBytes / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(wav.samples[2 * i] | wav.samples[2 * i + 1] << 8);
  }
  return samples;
}

TEST(GeneratedEventSounds, EveryOneIsAReadableMonoWaveOfItsLengthAndPeak) {
  SKIP_WITHOUT_GENERATED_TREE();
  const auto& recipes = synth::EventSoundRecipes();
  ASSERT_EQ(recipes.size(), static_cast<std::size_t>(kEventSoundCount));
  std::set<std::vector<int16_t>> distinct;
  for (int32_t i = 0; i < kEventSoundCount; ++i) {
    const synth::EventSoundRecipe& recipe = recipes[i];
    ASSERT_EQ(static_cast<int32_t>(recipe.sound), i) << "recipes out of EventSound order";
    const char* file = EventSoundFile(recipe.sound);
    SCOPED_TRACE(file);
    const std::string bytes = ReadFile(kGeneratedBase / file);
    WavSound wav;
    ASSERT_TRUE(ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav));
    EXPECT_EQ(wav.format, 0x1101) << "16-bit mono";
    EXPECT_EQ(wav.frequency, 44100);

    const std::vector<int16_t> samples = Samples(wav);
    EXPECT_EQ(samples.size(), static_cast<std::size_t>(std::lround(recipe.seconds * 44100)));
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    const double wanted = synth::DecibelsToGain(recipe.peakDb) * 32767;
    EXPECT_NEAR(peak, wanted, 1.5) << "peak " << 20 * std::log10(peak / 32767.0) << " dBFS";
    // Starts from silence and fades to it, so neither end clicks.
    EXPECT_LT(std::abs(samples.front()), 200);
    EXPECT_EQ(samples.back(), 0);
    distinct.insert(samples);
  }
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kEventSoundCount)) << "two sounds alike";
}

}  // namespace
