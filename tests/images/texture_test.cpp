#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/texture.h"
#include "resources/tga_writer.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

class TextureTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }

  // A width × height image whose pixel i is (i, 2i, 3i, 255) in R, G, B, A.
  void WriteImage(const std::string& path, int width, int height, int bits) {
    pixels.clear();
    for (int i = 0; i < width * height; ++i) {
      pixels.insert(pixels.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(3 * i)});
      if (bits == 32) pixels.push_back(255);
    }
    const std::vector<uint8_t> file =
        EncodeTga(TgaImage{width, height, bits / 8, false, pixels.data()}, bits, TgaEncoding::RunLength);
    dir.WriteFile(path, std::string(file.begin(), file.end()));
  }

  TempDir dir;
  RecordingGl rec;
  std::vector<uint8_t> pixels;
};

TEST_F(TextureTest, LoadUploadsOnceAndReleasesThePixels) {
  WriteImage("textures/ship.tga", 3, 2, 24);
  GLuint deleted = 0;
  rec.OnCall("glDeleteTextures", [&](GlCall& call) { deleted = *static_cast<const GLuint*>(call.Pointer(1)); });
  {
    Texture texture;
    EXPECT_EQ(texture.glName, Texture::kNoName);
    ASSERT_TRUE(texture.Load("textures/ship.tga", false));
    EXPECT_STREQ(texture.name, "textures/ship.tga");
    EXPECT_EQ(texture.bitsPerPixel, 24);
    EXPECT_EQ(texture.dataSize, 18);
    EXPECT_EQ(texture.pixels, nullptr);
    EXPECT_EQ(texture.glName, 1u);
    EXPECT_EQ(rec.Names(),
              std::vector<std::string>({"glGenTextures", "glBindTexture", "glPixelStorei", "glTexImage2D"}));
    const GlCall upload = rec.Last("glTexImage2D");
    EXPECT_EQ(upload.Int(2), 3);
    EXPECT_EQ(upload.Int(6), GL_RGB);
    EXPECT_EQ(upload.data, pixels);
    rec.Clear();
  }
  EXPECT_EQ(rec.Last("glDeleteTextures").Int(0), 1);
  EXPECT_EQ(deleted, 1u);
}

TEST_F(TextureTest, BindSetsFiltersByWhetherMipmapsWereBuilt) {
  WriteImage("textures/odd.tga", 100, 100, 32);
  WriteImage("textures/even.tga", 64, 64, 32);
  Texture odd, even;
  ASSERT_TRUE(odd.Load("textures/odd.tga", true));
  EXPECT_FALSE(odd.mipmapped);
  EXPECT_EQ(rec.Count("glTexImage2D"), 1u);
  ASSERT_TRUE(even.Load("textures/even.tga", true));
  EXPECT_TRUE(even.mipmapped);
  EXPECT_EQ(rec.Count("glTexImage2D"), 1u + 7u);

  for (const Texture* texture : {&odd, &even}) {
    rec.Clear();
    texture->Bind();
    EXPECT_EQ(rec.Names(), std::vector<std::string>({"glEnable", "glBindTexture", "glTexParameteri", "glTexParameteri"}));
    EXPECT_EQ(rec.Last("glBindTexture").Int(1), texture->glName);
    const std::vector<GlCall> filters = rec.Calls("glTexParameteri");
    EXPECT_EQ(filters[0].Int(1), GL_TEXTURE_MAG_FILTER);
    EXPECT_EQ(filters[0].Int(2), GL_LINEAR);
    EXPECT_EQ(filters[1].Int(1), GL_TEXTURE_MIN_FILTER);
    EXPECT_EQ(filters[1].Int(2), texture == &even ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
  }
}

TEST_F(TextureTest, FailedLoadsLeaveAnEmptyTexture) {
  dir.WriteFile("textures/grey.tga", std::string("\0\0\3\0\0\0\0\0\0\0\0\0\1\0\1\0\x08\0\x7f", 19));
  Texture missing, grey;
  EXPECT_FALSE(missing.Load("textures/none.tga", false));
  EXPECT_FALSE(grey.Load("textures/grey.tga", false));
  EXPECT_EQ(grey.glName, Texture::kNoName);
  EXPECT_EQ(grey.pixels, nullptr);
  EXPECT_EQ(rec.Count("glGenTextures"), 0u);
}

TEST_F(TextureTest, LongPathsAreCutInTheName) {
  const std::string path = "textures/" + std::string(70, 'n') + ".tga";
  WriteImage(path, 1, 1, 24);
  Texture texture;
  ASSERT_TRUE(texture.Load(path.c_str(), false));
  EXPECT_EQ(std::string(texture.name), path.substr(0, 63));
}

}  // namespace
