#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/tga.h"
#include "resources/tga_writer.h"
#include "support/temp_dir.h"

namespace {

std::string Header(uint8_t type, int width, int height, int bits) {
  std::string h(18, '\0');
  h[2] = static_cast<char>(type);
  h[12] = static_cast<char>(width & 0xFF);
  h[13] = static_cast<char>(width >> 8);
  h[14] = static_cast<char>(height & 0xFF);
  h[15] = static_cast<char>(height >> 8);
  h[16] = static_cast<char>(bits);
  return h;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

class TgaTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }

  bool Decode(const std::string& fileBytes, DecodedImage* image) {
    dir.WriteFile("image.tga", fileBytes);
    AssetFile file = nullptr;
    OpenAssetFile("image.tga", "rb", &file);
    EXPECT_NE(file, nullptr);
    const bool decoded = DecodeTga(file, image);
    AssetClose(file);
    return decoded;
  }
  std::vector<int> Pixels(const DecodedImage& image) {
    return std::vector<int>(image.pixels.get(), image.pixels.get() + image.dataSize);
  }

  TempDir dir;
};

TEST_F(TgaTest, UncompressedPixelsComeOutRgbInFileRowOrder) {
  DecodedImage image;
  ASSERT_TRUE(Decode(Header(2, 2, 2, 32) + Bytes({1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}), &image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.bitsPerPixel, 32);
  EXPECT_EQ(image.dataSize, 16);
  EXPECT_EQ(Pixels(image), std::vector<int>({3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}));

  // 24 bits; the descriptor's top-left origin bit is ignored, rows stay as stored.
  std::string file = Header(2, 3, 1, 24) + Bytes({10, 20, 30, 40, 50, 60, 70, 80, 90});
  file[17] = 0x20;
  ASSERT_TRUE(Decode(file, &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({30, 20, 10, 60, 50, 40, 90, 80, 70}));
}

TEST_F(TgaTest, RunLengthPacketsExpandAcrossRows) {
  DecodedImage image;
  // 3 × 2 pixels: a run of 4 crosses the row end, then 2 literal pixels.
  ASSERT_TRUE(Decode(Header(10, 3, 2, 24) + Bytes({0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}), &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));

  // A header of 0x02 is followed by three literal pixels; alpha stays fourth.
  ASSERT_TRUE(Decode(Header(10, 3, 1, 32) + Bytes({0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}));

  // A run longer than what is left is cut at the image's end.
  ASSERT_TRUE(Decode(Header(10, 2, 1, 24) + Bytes({0xFF, 7, 8, 9}), &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({9, 8, 7, 9, 8, 7}));
}

TEST_F(TgaTest, RunLengthFileThatEndsEarlyRepeatsTheLastPixel) {
  DecodedImage image;
  // Two literal pixels are announced, one and a half follow.
  ASSERT_TRUE(Decode(Header(10, 4, 1, 24) + Bytes({0x01, 1, 2, 3, 4, 5}), &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}));

  ASSERT_TRUE(Decode(Header(10, 2, 2, 32) + Bytes({0x80, 9, 8, 7, 6}), &image));
  EXPECT_EQ(Pixels(image), std::vector<int>({7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9, 6}));
}

TEST_F(TgaTest, OtherKindsOfTgaAndBrokenFilesAreRefused) {
  const std::string pixels(12, '\x11');
  std::string withId = Header(2, 2, 2, 24) + pixels;
  withId[0] = 1;
  std::string withColourMap = Header(2, 2, 2, 24) + pixels;
  withColourMap[1] = 1;
  std::string withOrigin = Header(2, 2, 2, 24) + pixels;
  withOrigin[8] = 1;
  const std::vector<std::pair<const char*, std::string>> refused = {
      {"image ID", withId},
      {"colour map", withColourMap},
      {"origin", withOrigin},
      {"grey", Header(3, 2, 2, 8) + pixels},
      {"16 bit", Header(2, 2, 2, 16) + pixels},
      {"width 0", Header(2, 0, 2, 24) + pixels},
      {"height 0", Header(2, 2, 0, 24) + pixels},
      {"short signature", std::string(7, '\0')},
      {"short header", Header(2, 2, 2, 24).substr(0, 15)},
      {"pixels missing", Header(2, 2, 2, 24) + pixels.substr(0, 11)},
      // Claims 65535 × 65535 pixels with four bytes of data.
      {"lying run length", Header(10, 0xFFFF, 0xFFFF, 32) + Bytes({0xFF, 1, 2, 3})},
      {"run length without data", Header(10, 1, 1, 24)},
  };
  for (const auto& [what, bytes] : refused) {
    DecodedImage image;
    EXPECT_FALSE(Decode(bytes, &image)) << what;
    EXPECT_EQ(image.pixels, nullptr) << what;
  }
}

TEST_F(TgaTest, SidesBeyondWhatATextureCanHaveAreRefusedWhateverThePacketsCover) {
  // Packets of 128 equal pixels: a few bytes per packet may claim a picture
  // of gigabytes, so the sides are what bounds it.
  auto runs = [](int pixels) {
    std::string packets;
    for (int i = 0; i < (pixels + 127) / 128; ++i) packets += Bytes({0xFF, 1, 2, 3});
    return packets;
  };
  DecodedImage image;
  EXPECT_TRUE(Decode(Header(10, 8192, 2, 24) + runs(8192 * 2), &image));
  EXPECT_EQ(image.width, 8192);
  for (const auto& [width, height] : {std::pair{8193, 2}, std::pair{2, 8193}}) {
    DecodedImage refused;
    EXPECT_FALSE(Decode(Header(10, width, height, 24) + runs(width * height), &refused))
        << width << " x " << height;
  }
}

TEST_F(TgaTest, WriterOutputDecodesToTheSamePixels) {
  // 5 × 3 with runs inside and across rows, repeated pixels and odd ones out.
  std::vector<uint8_t> rgba;
  for (int i = 0; i < 15; ++i) {
    const int v = i < 7 ? 40 : i * 13;
    rgba.insert(rgba.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v + 1), static_cast<uint8_t>(v + 2),
                             static_cast<uint8_t>(200 + i % 2)});
  }
  for (TgaEncoding encoding : {TgaEncoding::Uncompressed, TgaEncoding::RunLength}) {
    const TgaImage source{5, 3, 4, false, rgba.data()};
    const std::vector<uint8_t> file = EncodeTga(source, 32, encoding);
    DecodedImage image;
    ASSERT_TRUE(Decode(std::string(file.begin(), file.end()), &image));
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + image.dataSize), rgba);

    // BGR source into a 24-bit file: channels swapped back, alpha dropped.
    const std::vector<uint8_t> bgr = {3, 2, 1, 6, 5, 4};
    const std::vector<uint8_t> small = EncodeTga(TgaImage{2, 1, 3, true, bgr.data()}, 24, encoding);
    ASSERT_TRUE(Decode(std::string(small.begin(), small.end()), &image));
    EXPECT_EQ(Pixels(image), std::vector<int>({1, 2, 3, 4, 5, 6}));

    // RGB source into a 32-bit file: opaque alpha.
    const std::vector<uint8_t> opaque = EncodeTga(TgaImage{1, 1, 3, false, bgr.data()}, 32, encoding);
    ASSERT_TRUE(Decode(std::string(opaque.begin(), opaque.end()), &image));
    EXPECT_EQ(Pixels(image), std::vector<int>({3, 2, 1, 255}));
  }
  EXPECT_TRUE(EncodeTga(TgaImage{0, 1, 4, false, rgba.data()}, 32, TgaEncoding::RunLength).empty());
  EXPECT_TRUE(EncodeTga(TgaImage{1, 1, 4, false, rgba.data()}, 16, TgaEncoding::RunLength).empty());
}

TEST_F(TgaTest, RunLengthWriterPacksRunsAndLiterals) {
  // Row: A A A B C -> run packet of 3, literal packet of 2.
  const std::vector<uint8_t> rgb = {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3};
  const std::vector<uint8_t> file = EncodeTga(TgaImage{5, 1, 3, false, rgb.data()}, 24, TgaEncoding::RunLength);
  const std::vector<uint8_t> data(file.begin() + 18, file.end());
  EXPECT_EQ(data, std::vector<uint8_t>({0x82, 1, 1, 1, 0x01, 2, 2, 2, 3, 3, 3}));
}

}  // namespace
