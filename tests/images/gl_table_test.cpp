#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/gl_table.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

// The mean of each 2 × 2 block, computed the slow way.
std::vector<uint8_t> Halve(const std::vector<uint8_t>& level, int width, int height, int pixelSize) {
  std::vector<uint8_t> out;
  for (int y = 0; y < height / 2; ++y) {
    for (int x = 0; x < width / 2; ++x) {
      for (int c = 0; c < pixelSize; ++c) {
        auto at = [&](int xx, int yy) { return level[(yy * width + xx) * pixelSize + c]; };
        out.push_back(static_cast<uint8_t>(
            (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1)) / 4));
      }
    }
  }
  return out;
}

std::vector<uint8_t> Noise(std::size_t size) {
  std::vector<uint8_t> bytes(size);
  uint32_t state = 12345;
  for (uint8_t& b : bytes) {
    state = state * 214013 + 2531011;
    b = static_cast<uint8_t>(state >> 16);
  }
  return bytes;
}

TEST(BuildMipmaps, SquareImageGetsEveryLevelOfBoxAverages) {
  for (int components : {4, 3}) {
    RecordingGl rec;
    const int pixelSize = components;
    std::vector<uint8_t> level = Noise(256 * 256 * pixelSize);
    const GLenum format = components == 3 ? GL_RGB : GL_RGBA;
    ASSERT_TRUE(BuildMipmaps(GL_TEXTURE_2D, components, 256, 256, format, level.data()));
    const std::vector<GlCall> uploads = rec.Calls("glTexImage2D");
    ASSERT_EQ(uploads.size(), 9u);
    int side = 256;
    for (std::size_t n = 0; n < uploads.size(); ++n) {
      const GlCall& call = uploads[n];
      EXPECT_EQ(call.Int(1), static_cast<int64_t>(n));
      EXPECT_EQ(call.Int(2), components);
      EXPECT_EQ(call.Int(3), side);
      EXPECT_EQ(call.Int(4), side);
      EXPECT_EQ(call.Int(6), format);
      ASSERT_EQ(call.data, level) << "level " << n << " with " << components << " components";
      level = Halve(level, side, side, pixelSize);
      side /= 2;
    }
    EXPECT_EQ(rec.Count("glTexParameteri"), 0u);
  }
}

TEST(BuildMipmaps, AveragesTruncateTowardsZero) {
  RecordingGl rec;
  const std::vector<uint8_t> pixels = {255, 0, 1, 1, 254, 0, 1, 2, 255, 0, 0, 3, 255, 1, 0, 3};
  ASSERT_TRUE(BuildMipmaps(GL_TEXTURE_2D, 4, 2, 2, GL_RGBA, pixels.data()));
  EXPECT_EQ(rec.Last("glTexImage2D").data, std::vector<uint8_t>({254, 0, 0, 2}));
}

TEST(BuildMipmaps, OtherSizesKeepLevelZeroOnly) {
  RecordingGl rec;
  const std::vector<uint8_t> pixels = Noise(100 * 100 * 4);
  EXPECT_FALSE(BuildMipmaps(GL_TEXTURE_2D, 4, 100, 100, GL_RGBA, pixels.data()));
  ASSERT_EQ(rec.Count("glTexImage2D"), 1u);
  EXPECT_EQ(rec.Last("glTexImage2D").data, pixels);
  EXPECT_EQ(rec.Calls("glPixelStorei").front().Int(1), 1);
  rec.Clear();
  EXPECT_FALSE(BuildMipmaps(GL_TEXTURE_2D, 4, 1, 1, GL_RGBA, pixels.data()));
  EXPECT_EQ(rec.Count("glTexImage2D"), 1u);
}

TEST(BuildMipmaps, NonSquareChainStopsBeforeASideReachesZero) {
  for (auto [width, height] : {std::pair{8, 2}, std::pair{2, 8}}) {
    RecordingGl rec;
    const std::vector<uint8_t> pixels = Noise(width * height * 4);
    ASSERT_TRUE(BuildMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, pixels.data()));
    const std::vector<GlCall> uploads = rec.Calls("glTexImage2D");
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[1].Int(3), width / 2);
    EXPECT_EQ(uploads[1].Int(4), height / 2);
    EXPECT_EQ(uploads[1].data, Halve(pixels, width, height, 4));
    // GL is told where the chain ends so the texture stays complete.
    const GlCall maxLevel = rec.Last("glTexParameteri");
    EXPECT_EQ(maxLevel.Int(1), GL_TEXTURE_MAX_LEVEL);
    EXPECT_EQ(maxLevel.Int(2), 1);
  }
}

TEST(Perspective, BuildsTheGamesProjectionWithTheAngleInRadians) {
  RecordingGl rec;
  GLdouble seen[16] = {};
  rec.OnCall("glMultMatrixd", [&](GlCall& call) {
    std::copy_n(static_cast<const GLdouble*>(call.Pointer(0)), 16, seen);
  });
  Perspective(45.0, 4.0 / 3.0, 1.0, 100.0);
  const double f = 1.0 / std::tan(22.5);
  EXPECT_NEAR(f, 1.7926, 1e-4);
  for (int i = 0; i < 16; ++i) {
    double expected = 0;
    if (i == 0) expected = f * 3.0 / 4.0;
    if (i == 5) expected = f;
    if (i == 10) expected = 101.0 / -99.0;
    if (i == 11) expected = -1.0;
    if (i == 14) expected = 200.0 / -99.0;
    EXPECT_NEAR(seen[i], expected, 1e-12) << "element " << i;
  }
  // The menu plane at distance 1 spans about ±0.5578 in y.
  EXPECT_NEAR(1.0 / seen[5], 0.5578, 1e-4);
}

class GlExtensionsTest : public ::testing::Test {
 protected:
  static void* Lookup(const char* name) {
    asked.insert(name);
    return reinterpret_cast<void*>(0x1234);
  }
  void SetUp() override {
    asked.clear();
    SetGlProcAddressFunction(&Lookup);
  }
  void TearDown() override { SetGlProcAddressFunction(nullptr); }

  static std::set<std::string> asked;
  RecordingGl rec;
};
std::set<std::string> GlExtensionsTest::asked;

TEST_F(GlExtensionsTest, RecognisesWholeNamesOnlyIncludingTheLast) {
  rec.SetString(GL_EXTENSIONS,
                "GL_ARB_multitextureX GL_ARB_shader_objects  GL_EXT_foo GL_ARB_vertex_shader_extra "
                "GL_arb_point_sprite GL_ARB_shading_language_100");
  ASSERT_TRUE(ReadGlExtensions());
  EXPECT_TRUE(gl.arbShaderObjects);
  EXPECT_TRUE(gl.arbShadingLanguage100);
  EXPECT_FALSE(gl.arbMultitexture);
  EXPECT_FALSE(gl.arbVertexShader);
  EXPECT_FALSE(gl.arbPointSprite);
  EXPECT_EQ(reinterpret_cast<void*>(gl.glCreateShaderObjectARB), reinterpret_cast<void*>(0x1234));
  EXPECT_TRUE(asked.count("glGetShaderSourceARB"));
  EXPECT_EQ(asked.size(), 39u) << "only the shader-object entry points are fetched";
  EXPECT_FALSE(asked.count("glActiveTextureARB"));
}

TEST_F(GlExtensionsTest, FlagsAreClearedAndLongNamesSkipped) {
  gl.arbMultitexture = true;
  rec.SetString(GL_EXTENSIONS, std::string(70, 'G') + " GL_ARB_vertex_program GL_ARB_vertex_shader");
  ReadGlExtensions();
  EXPECT_FALSE(gl.arbMultitexture);
  EXPECT_TRUE(gl.arbVertexProgram);
  EXPECT_TRUE(gl.arbVertexShader);
  EXPECT_EQ(asked.size(), 46u);
  EXPECT_TRUE(asked.count("glGetAttribLocationARB"));
  // Driver strings are read in the logged order.
  std::vector<int64_t> queried;
  for (const GlCall& call : rec.Calls("glGetString")) queried.push_back(call.Int(0));
  EXPECT_EQ(std::vector<int64_t>(queried.begin(), queried.begin() + 4),
            std::vector<int64_t>({GL_RENDERER, GL_VENDOR, GL_VERSION, GL_EXTENSIONS}));
}

TEST_F(GlExtensionsTest, EveryKnownExtensionHasItsFlag) {
  rec.SetString(GL_EXTENSIONS,
                "GL_ARB_multitexture GL_ARB_point_parameters GL_ARB_texture_compression GL_ARB_transpose_matrix "
                "GL_ARB_texture_env_add GL_ARB_texture_cube_map GL_ARB_texture_env_combine "
                "GL_ARB_texture_env_crossbar GL_ARB_texture_env_dot3 GL_ARB_vertex_buffer_object "
                "GL_ARB_point_sprite GL_ARB_shader_objects GL_ARB_vertex_program GL_ARB_vertex_shader "
                "GL_ARB_fragment_shader GL_ARB_shading_language_100 GL_ARB_fragment_program "
                "GL_ARB_texture_non_power_of_two ");
  ReadGlExtensions();
  int raised = 0;
#define SS_GL_EXTENSION(flag, text, group) raised += gl.flag ? 1 : 0;
#include "platform/gl_extensions.inc"
#undef SS_GL_EXTENSION
  EXPECT_EQ(raised, 18);
  EXPECT_EQ(asked.size(), 34u + 2 + 7 + 4 + 11 + 39 + 46 + 19);
}

TEST(GlLibrary, LoadsByNameLogsTheLibraryAndUnloadsToNull) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  ASSERT_TRUE(StartConsoleLog());
  EXPECT_FALSE(LoadGl(nullptr));
  EXPECT_FALSE(LoadGl("libnot-a-gl-library.so.9"));
  const bool loaded = LoadGl(kGlLibraryName);
  if (loaded) {
    EXPECT_NE(gl.library, nullptr);
    EXPECT_NE(gl.glBindTexture, nullptr);
    EXPECT_NE(gl.glViewport, nullptr);
    EXPECT_NE(gl.glAccum, nullptr);
  }
  gl.arbShadingLanguage100 = true;
  EXPECT_TRUE(UnloadGl());
  EXPECT_TRUE(UnloadGl());
  EXPECT_EQ(gl.library, nullptr);
  EXPECT_EQ(gl.glBindTexture, nullptr);
  EXPECT_EQ(gl.glUseProgramObjectARB, nullptr);
  EXPECT_TRUE(gl.arbShadingLanguage100);
  gl = GlTable{};
  StopConsoleLog();
  StopAssetDirectory();
  std::string expected = "loading library: libnot-a-gl-library.so.9... Failed\n";
  if (loaded) expected += "loading library: libGL.so.1... Success!\n";
  EXPECT_EQ(dir.ReadFile("conlog.txt"), expected);
}

}  // namespace
