#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/bundle_sprite.h"
#include "resources/texture_bundle.h"
#include "resources/texture_bundle_format.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

struct Run {
  uint32_t count;
  std::vector<uint8_t> pixel;
};

// A bundle file with the given index and hand-written runs.
std::string BundleFile(const BundleIndex& index, const std::vector<Run>& runs, uint32_t canvasBytes) {
  std::vector<uint8_t> block = EncodeBundleIndex(index);
  ScrambleIndexBlock(block.data(), block.size());
  std::string file;
  PutU32(file, static_cast<uint32_t>(block.size()));
  file.append(block.begin(), block.end());
  PutU32(file, canvasBytes);
  for (const Run& run : runs) {
    PutU32(file, run.count);
    file.append(run.pixel.begin(), run.pixel.end());
  }
  return file;
}

BundleIndex Index(int bytesPerPixel, int width, int height, std::vector<BundleEntry> entries = {}) {
  BundleIndex index;
  index.bytesPerPixel = bytesPerPixel;
  index.width = width;
  index.height = height;
  index.entries = std::move(entries);
  return index;
}

TEST(BundleScrambling, MatchesBlocksWorkedByHand) {
  uint8_t one[] = {0x41};
  UnscrambleIndexBlock(one, 1);
  EXPECT_EQ(one[0], 0x41);

  // 12 34 -> 4C 6A -> 4C 26 -> rotated 93 09 -> 41 DB.
  uint8_t two[] = {0x12, 0x34};
  UnscrambleIndexBlock(two, 2);
  EXPECT_EQ(std::vector<uint8_t>(two, two + 2), std::vector<uint8_t>({0x41, 0xDB}));

  uint8_t eleven[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  UnscrambleIndexBlock(eleven, 11);
  EXPECT_EQ(std::vector<uint8_t>(eleven, eleven + 11),
            std::vector<uint8_t>({0xC5, 0x44, 0x12, 0x52, 0x84, 0x52, 0xC4, 0x92, 0x91, 0x12, 0x87}));
}

TEST(BundleScrambling, ScramblingUndoesUnscramblingForEveryLength) {
  std::mt19937 random(7);
  for (std::size_t n = 0; n < 40; ++n) {
    std::vector<uint8_t> block(n);
    for (uint8_t& b : block) b = static_cast<uint8_t>(random());
    std::vector<uint8_t> copy = block;
    ScrambleIndexBlock(copy.data(), n);
    UnscrambleIndexBlock(copy.data(), n);
    EXPECT_EQ(copy, block) << n;
  }
}

TEST(BundleCoordinates, LastEntryIsOne) {
  EXPECT_EQ(BundleCoordinateTable(4), std::vector<float>({0.0f, 0.25f, 0.5f, 1.0f}));
  EXPECT_EQ(BundleCoordinateTable(1), std::vector<float>({0.0f}));
}

class TextureBundleTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }

  bool Load(const std::string& bytes, bool mipmapped = false) {
    dir.WriteFile("tbundles/test.etb", bytes);
    return bundle.Load("tbundles/test.etb", mipmapped);
  }

  TempDir dir;
  RecordingGl rec;
  TextureBundle bundle{4, false};
};

TEST_F(TextureBundleTest, ANewBundleIsAMagentaCanvasWithOneRegion) {
  EXPECT_EQ(bundle.width, 1024);
  EXPECT_EQ(bundle.canvas.size(), 1024u * 1024u * 4u);
  EXPECT_EQ(std::vector<uint8_t>(bundle.canvas.end() - 4, bundle.canvas.end()), std::vector<uint8_t>({255, 0, 255, 0}));
  ASSERT_EQ(bundle.regions.size(), 1u);
  EXPECT_EQ(bundle.regions[0].values[0], 1024);
  EXPECT_EQ(bundle.regions[0].flag, 1);
  EXPECT_EQ(bundle.columnCoords.size(), 1024u);
  EXPECT_EQ(bundle.glName, 0u);
}

TEST_F(TextureBundleTest, LoadsIndexAndRunsAndUploadsTheCanvas) {
  BundleIndex index = Index(3, 2, 3, {{"A.tga", 0, 0, 1, 1}, {"Wide", 1, 0, 2, 2}});
  index.regions.push_back({{2, 3, 0, 0}, 1});
  index.regions.push_back({{7, -1, 5, 9}, 200});
  const std::vector<uint8_t> a = {1, 2, 3}, b = {4, 5, 6}, c = {7, 8, 9};
  // Pixels written plus runs read reach 6 after the second run, so C is never read.
  ASSERT_TRUE(Load(BundleFile(index, {{3, a}, {1, b}, {2, c}}, 18)));
  EXPECT_EQ(bundle.bytesPerPixel, 3);
  EXPECT_EQ(bundle.width, 2);
  EXPECT_EQ(bundle.height, 3);
  ASSERT_EQ(bundle.entries.size(), 2u);
  EXPECT_EQ(bundle.entries[1].name, "Wide");
  EXPECT_EQ(bundle.entries[1].y1, 2);
  ASSERT_EQ(bundle.regions.size(), 2u);
  EXPECT_EQ(bundle.regions[1].values[1], -1);
  EXPECT_EQ(bundle.regions[1].flag, 200);
  EXPECT_EQ(bundle.canvas, std::vector<uint8_t>({1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(bundle.rowCoords, std::vector<float>({0.0f, 1.0f / 3.0f, 1.0f}));

  EXPECT_EQ(bundle.glName, 1u);
  const GlCall upload = rec.Last("glTexImage2D");
  EXPECT_EQ(upload.Int(2), 3);
  EXPECT_EQ(upload.Int(6), GL_RGB);
  EXPECT_EQ(upload.data, bundle.canvas) << "the canvas stays after the upload";

  // A second upload replaces the GL texture.
  bundle.Upload();
  EXPECT_EQ(rec.Last("glDeleteTextures").Int(0), 1);
  EXPECT_EQ(bundle.glName, 2u);
}

TEST_F(TextureBundleTest, FindPictureInsetsByteExactNames) {
  ASSERT_TRUE(Load(BundleFile(Index(4, 4, 4, {{"StartNormal.TGA", 0, 0, 1, 1}, {"StartNormal.tga", 0, 0, 3, 3}}),
                              {{16, {9, 9, 9, 9}}}, 64)));
  float s0 = -1, t0 = -1, s1 = -1, t1 = -1;
  ASSERT_TRUE(bundle.FindPicture("StartNormal.tga", &s0, &t0, &s1, &t1));
  EXPECT_FLOAT_EQ(s0, 1.0f / 1024);
  EXPECT_FLOAT_EQ(t0, 1.0f / 1024);
  EXPECT_FLOAT_EQ(s1, 1.0f - 1.0f / 1024);
  EXPECT_FLOAT_EQ(t1, 1.0f - 1.0f / 1024);
  EXPECT_FALSE(bundle.FindPicture("startnormal.tga", &s0, &t0, &s1, &t1));
  EXPECT_FALSE(bundle.FindPicture("StartNormal.tg", &s0, &t0, &s1, &t1));
  EXPECT_FLOAT_EQ(s0, 1.0f / 1024) << "a failed look-up leaves the outputs alone";
}

TEST_F(TextureBundleTest, NonSquareCanvasMapsColumnsAndRowsOnTheirOwnSides) {
  ASSERT_TRUE(Load(BundleFile(Index(4, 8, 4, {{"p", 2, 1, 4, 2}}), {{32, {1, 1, 1, 1}}}, 128)));
  float s0, t0, s1, t1;
  ASSERT_TRUE(bundle.FindPicture("p", &s0, &t0, &s1, &t1));
  EXPECT_FLOAT_EQ(s0, 2.0f / 8 + 1.0f / 1024);
  EXPECT_FLOAT_EQ(t0, 1.0f / 4 + 1.0f / 1024);
  EXPECT_FLOAT_EQ(s1, 4.0f / 8 - 1.0f / 1024);
  EXPECT_FLOAT_EQ(t1, 2.0f / 4 - 1.0f / 1024);
}

TEST_F(TextureBundleTest, TheFileDecidesAboutMipmaps) {
  BundleIndex index = Index(4, 4, 4);
  ASSERT_TRUE(Load(BundleFile(index, {{16, {1, 2, 3, 4}}}, 64), true));
  EXPECT_FALSE(bundle.mipmapped);
  EXPECT_EQ(rec.Count("glTexImage2D"), 1u);
  bundle.Bind();
  EXPECT_EQ(rec.Last("glTexParameteri").Int(2), GL_LINEAR);

  index.mipmapped = true;
  ASSERT_TRUE(Load(BundleFile(index, {{16, {1, 2, 3, 4}}}, 64), false));
  EXPECT_TRUE(bundle.mipmapped);
  EXPECT_EQ(rec.Count("glTexImage2D"), 1u + 3u);
  bundle.Bind();
  EXPECT_EQ(rec.Last("glTexParameteri").Int(2), GL_LINEAR_MIPMAP_NEAREST);
}

TEST_F(TextureBundleTest, BrokenFilesLeaveABundleWithoutPictures) {
  const std::string good = BundleFile(Index(4, 2, 2, {{"x", 0, 0, 1, 1}}), {{4, {1, 1, 1, 1}}}, 16);
  std::string zeroIndex, longIndex = good, badDepth, hugeCanvas, truncatedIndex;
  PutU32(zeroIndex, 0);
  longIndex[0] = '\x7F';
  badDepth = BundleFile(Index(5, 2, 2), {}, 20);
  hugeCanvas = BundleFile(Index(4, kMaxBundleSide + 1, 2), {}, 0);
  // Index size still counts the entry name, whose bytes are cut away.
  BundleIndex lying = Index(4, 2, 2, {{std::string(40, 'n'), 0, 0, 1, 1}});
  std::vector<uint8_t> block = EncodeBundleIndex(lying);
  block.resize(block.size() - 30);
  ScrambleIndexBlock(block.data(), block.size());
  PutU32(truncatedIndex, static_cast<uint32_t>(block.size()));
  truncatedIndex.append(block.begin(), block.end());

  for (const std::string& file : {std::string(), std::string("\1\0", 2), zeroIndex, longIndex, badDepth, hugeCanvas,
                                  truncatedIndex}) {
    ASSERT_TRUE(Load(good));
    EXPECT_FALSE(Load(file));
    EXPECT_TRUE(bundle.entries.empty());
    EXPECT_TRUE(bundle.regions.empty());
    EXPECT_TRUE(bundle.canvas.empty());
    float s0, t0, s1, t1;
    EXPECT_FALSE(bundle.FindPicture("x", &s0, &t0, &s1, &t1));
  }
  rec.Clear();
  bundle.Upload();
  EXPECT_EQ(rec.Count("glTexImage2D"), 0u);
  EXPECT_FALSE(bundle.Load("tbundles/none.etb", false));
}

TEST_F(TextureBundleTest, RunsAndEntriesOutsideTheCanvasAreClipped) {
  // A run far past the canvas end, then a file that ends inside a run.
  ASSERT_TRUE(Load(BundleFile(Index(4, 2, 2, {{"far", -5, 3, 1000, -7}}), {{0xFFFFFFFFu, {1, 2, 3, 4}}}, 4)));
  EXPECT_EQ(bundle.canvas.size(), 16u);
  EXPECT_EQ(std::vector<uint8_t>(bundle.canvas.end() - 4, bundle.canvas.end()), std::vector<uint8_t>({1, 2, 3, 4}));
  float s0, t0, s1, t1;
  ASSERT_TRUE(bundle.FindPicture("far", &s0, &t0, &s1, &t1));
  EXPECT_FLOAT_EQ(s0, 1.0f / 1024);
  EXPECT_FLOAT_EQ(t0, 1.0f - 1.0f / 1024 + 2.0f / 1024);
  EXPECT_FLOAT_EQ(s1, 1.0f - 1.0f / 1024);
  EXPECT_FLOAT_EQ(t1, -1.0f / 1024);

  std::string cut = BundleFile(Index(3, 2, 2), {{1, {5, 5, 5}}, {3, {6, 6, 6}}}, 12);
  cut.resize(cut.size() - 2);
  ASSERT_TRUE(Load(cut));
  EXPECT_EQ(bundle.canvas, std::vector<uint8_t>({5, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(TextureBundleTest, SpriteHoldsCornersUpperLeftFirstAndBindsThem) {
  ASSERT_TRUE(Load(BundleFile(Index(4, 4, 4, {{"p", 1, 1, 2, 3}}), {{16, {1, 1, 1, 1}}}, 64)));
  BundleSprite sprite;
  sprite.Init(&bundle, "p");
  const float i = 1.0f / 1024;
  const float expected[8] = {0.25f + i, 1.0f - i, 0.5f - i, 1.0f - i, 0.25f + i, 0.25f + i, 0.5f - i, 0.25f + i};
  for (int k = 0; k < 8; ++k) EXPECT_FLOAT_EQ(sprite.coords[k], expected[k]) << k;

  rec.Clear();
  sprite.Bind();
  EXPECT_EQ(rec.Last("glBindTexture").Int(1), bundle.glName);
  const GlCall pointer = rec.Last("glTexCoordPointer");
  EXPECT_EQ(pointer.Int(0), 2);
  EXPECT_EQ(pointer.Int(1), GL_FLOAT);
  EXPECT_EQ(pointer.Pointer(3), sprite.coords);

  BundleSprite missing;
  missing.Init(&bundle, "q");
  for (float value : missing.coords) EXPECT_EQ(value, 0.0f);
}

}  // namespace
