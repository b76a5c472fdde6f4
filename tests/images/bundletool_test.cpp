#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/bundle_sprite.h"
#include "resources/texture_bundle.h"
#include "resources/tga.h"
#include "resources/tga_writer.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

struct Result {
  int status;
  std::string out;
};

class BundletoolTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }

  Result Run(const std::string& arguments) {
    const std::string command = "cd '" + dir.path().string() + "' && '" SS_BIN_DIR "/bundletool' " + arguments +
                                " 2>stderr.txt";
    Result result{0, ""};
    std::FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
  }

  // A picture whose every texel differs: (x, y, seed, 200 + y) in R, G, B, A.
  std::vector<uint8_t> WritePicture(const std::string& name, int width, int height, int bits, uint8_t seed,
                                    TgaEncoding encoding) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(x), static_cast<uint8_t>(y), seed, static_cast<uint8_t>(200 + y)});
      }
    }
    EXPECT_TRUE(WriteTga((dir / name).c_str(), TgaImage{width, height, 4, false, rgba.data()}, bits, encoding));
    return rgba;
  }

  DecodedImage ReadTga(const std::string& name) {
    DecodedImage image;
    AssetFile file = nullptr;
    OpenAssetFile(name.c_str(), "rb", &file);
    EXPECT_TRUE(file && DecodeTga(file, &image)) << name;
    if (file) AssetClose(file);
    return image;
  }

  TempDir dir;
};

TEST_F(BundletoolTest, PackListExtractRoundTrip) {
  const std::vector<uint8_t> start = WritePicture("StartNormal.tga", 20, 7, 32, 1, TgaEncoding::RunLength);
  WritePicture("Quit.tga", 9, 12, 24, 2, TgaEncoding::Uncompressed);
  ASSERT_EQ(Run("pack --size 64 menu.etb StartNormal.tga Quit.tga").status, 0);

  const Result list = Run("list menu.etb");
  ASSERT_EQ(list.status, 0);
  int x0, y0, x1, y1, qx0, qy0, qx1, qy1;
  ASSERT_EQ(std::sscanf(list.out.c_str(),
                        "bundle bpp=4 mipmaps=0 width=64 height=64 entries=2 regions=1\n"
                        "StartNormal.tga %d %d %d %d\nQuit.tga %d %d %d %d\nregion 64 64 0 0 1\n",
                        &x0, &y0, &x1, &y1, &qx0, &qy0, &qx1, &qy1),
            8)
      << list.out;
  EXPECT_EQ(x1 - x0, 20);
  EXPECT_EQ(y1 - y0, 7);
  EXPECT_EQ(qx1 - qx0, 9);
  EXPECT_EQ(qy1 - qy0, 12);
  for (int v : {x0, y0, qx0, qy0}) EXPECT_GE(v, 1);
  for (int v : {x1, y1, qx1, qy1}) EXPECT_LE(v, 63);
  const bool apart = x1 < qx0 || qx1 < x0 || y1 < qy0 || qy1 < y0;
  EXPECT_TRUE(apart) << "a texel between pictures";

  ASSERT_EQ(Run("extract menu.etb StartNormal.tga out.tga").status, 0);
  const DecodedImage extracted = ReadTga("out.tga");
  EXPECT_EQ(extracted.bitsPerPixel, 32);
  ASSERT_EQ(extracted.width, 20);
  EXPECT_EQ(std::vector<uint8_t>(extracted.pixels.get(), extracted.pixels.get() + extracted.dataSize), start);
  ASSERT_EQ(Run("extract menu.etb Quit.tga quit.tga").status, 0);
  const DecodedImage quit = ReadTga("quit.tga");
  EXPECT_EQ(quit.pixels[3], 255) << "24-bit pictures become opaque";

  // The game sees each picture whole and upright through a sprite.
  RecordingGl rec;
  TextureBundle bundle(4, false);
  ASSERT_TRUE(bundle.Load("menu.etb", false));
  BundleSprite sprite;
  sprite.Init(&bundle, "StartNormal.tga");
  const float inset = 1.0f / 1024;
  EXPECT_FLOAT_EQ(sprite.coords[0], x0 / 64.0f + inset);  // upper left s
  EXPECT_FLOAT_EQ(sprite.coords[1], y1 / 64.0f - inset);  // upper left t: the picture's top row
  EXPECT_FLOAT_EQ(sprite.coords[6], x1 / 64.0f - inset);  // lower right s
  EXPECT_FLOAT_EQ(sprite.coords[7], y0 / 64.0f + inset);  // lower right t: its bottom row
  // The texel under the lower left corner is the picture's first pixel.
  const std::size_t corner = (static_cast<std::size_t>(y0) * 64 + x0) * 4;
  EXPECT_EQ(std::vector<uint8_t>(bundle.canvas.begin() + corner, bundle.canvas.begin() + corner + 4),
            std::vector<uint8_t>(start.begin(), start.begin() + 4));
  const std::size_t top = (static_cast<std::size_t>(y1 - 1) * 64 + x1 - 1) * 4;
  EXPECT_EQ(std::vector<uint8_t>(bundle.canvas.begin() + top, bundle.canvas.begin() + top + 4),
            std::vector<uint8_t>(start.end() - 4, start.end()));
}

TEST_F(BundletoolTest, ThreeBytesMipmapsAndDefaultSize) {
  const std::vector<uint8_t> rgba = WritePicture("Logo.tga", 5, 4, 32, 9, TgaEncoding::Uncompressed);
  ASSERT_EQ(Run("pack --bpp 3 --mipmaps logo.etb Logo.tga").status, 0);
  const Result list = Run("list logo.etb");
  EXPECT_EQ(list.out.substr(0, list.out.find('\n')),
            "bundle bpp=3 mipmaps=1 width=1024 height=1024 entries=1 regions=1");
  EXPECT_NE(list.out.find("region 1024 1024 0 0 1\n"), std::string::npos);
  ASSERT_EQ(Run("extract logo.etb Logo.tga logo-out.tga").status, 0);
  const DecodedImage image = ReadTga("logo-out.tga");
  EXPECT_EQ(image.bitsPerPixel, 24);
  ASSERT_EQ(image.dataSize, 5 * 4 * 3);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(image.pixels[3 * i], rgba[4 * i]);
    EXPECT_EQ(image.pixels[3 * i + 2], rgba[4 * i + 2]);
  }
}

TEST_F(BundletoolTest, RefusalsExitWithOneAndWriteNothing) {
  WritePicture("Big.tga", 40, 10, 32, 3, TgaEncoding::RunLength);
  WritePicture("Also.tga", 40, 10, 32, 4, TgaEncoding::RunLength);
  // Each fits alone in 48 × 48, not both with the margins.
  EXPECT_EQ(Run("pack --size 48 alone.etb Big.tga").status, 0);
  EXPECT_EQ(Run("pack --size 42 tight.etb Big.tga").status, 1);
  EXPECT_EQ(Run("pack --size 24 both.etb Big.tga Also.tga").status, 1);
  EXPECT_NE(dir.ReadFile("stderr.txt").find("does not fit"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "tight.etb"));
  EXPECT_FALSE(std::filesystem::exists(dir / "both.etb"));

  // Two inputs that would share an entry name.
  std::filesystem::create_directory(dir / "other");
  WritePicture("other/Big.tga", 4, 4, 32, 5, TgaEncoding::RunLength);
  EXPECT_EQ(Run("pack twice.etb Big.tga Also.tga other/Big.tga").status, 1);
  EXPECT_NE(dir.ReadFile("stderr.txt").find("other/Big.tga"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "twice.etb"));

  dir.WriteFile("broken.tga", "not a picture");
  EXPECT_EQ(Run("pack out.etb broken.tga").status, 1);
  EXPECT_EQ(Run("pack out.etb missing.tga").status, 1);
  EXPECT_EQ(Run("pack --bpp 2 out.etb Big.tga").status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.etb"));

  EXPECT_EQ(Run("list Big.tga").status, 1);
  EXPECT_FALSE(dir.ReadFile("stderr.txt").empty());
  EXPECT_EQ(Run("list nothing.etb").status, 1);
  EXPECT_EQ(Run("extract alone.etb Missing.tga x.tga").status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.tga"));
  EXPECT_EQ(Run("frobnicate").status, 1);
}

}  // namespace
