#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"
#include "platform/picture_brightness.h"
#include "support/recording_gl.h"

namespace {

constexpr GLuint kFramebufferName = 7;
constexpr GLhandleARB kGameProgram = 5;

TEST(FitPicture, KeepsTheShapeCentresItAndIsSharpOnlyAtWholeMultiples) {
  struct Case {
    int32_t pictureWidth, pictureHeight, drawableWidth, drawableHeight;
    PictureRect expected;
  };
  const std::vector<Case> cases = {
      {640, 480, 640, 480, {0, 0, 640, 480, true}},           // the old set-up: 1:1
      {640, 480, 1280, 720, {160, 0, 960, 720, false}},       // wide screen: pillarbox
      {640, 480, 1280, 960, {0, 0, 1280, 960, true}},         // twice over
      {640, 480, 1300, 960, {10, 0, 1280, 960, true}},        // twice, bars of 10
      {800, 600, 800, 1000, {0, 200, 800, 600, true}},        // tall window: letterbox
      {1024, 768, 1920, 1080, {240, 0, 1440, 1080, false}},
      {640, 480, 641, 481, {0, 0, 641, 480, false}},          // one pixel too many
      {640, 480, 0, 480, {0, 0, 0, 0, false}},                // minimised
  };
  for (const Case& c : cases) {
    const PictureRect got = FitPicture(c.pictureWidth, c.pictureHeight, c.drawableWidth, c.drawableHeight);
    const std::string where = std::to_string(c.drawableWidth) + " x " + std::to_string(c.drawableHeight);
    EXPECT_EQ(got.x, c.expected.x) << where;
    EXPECT_EQ(got.y, c.expected.y) << where;
    EXPECT_EQ(got.width, c.expected.width) << where;
    EXPECT_EQ(got.height, c.expected.height) << where;
    EXPECT_EQ(got.sharp, c.expected.sharp) << where;
  }
}

class PresentPass : public ::testing::Test {
 protected:
  void SetUp() override {
    gl.arbFramebufferObject = true;
    gl.arbMultitexture = true;
    rec.OnCall("glGenFramebuffers", [](GlCall& call) {
      *static_cast<GLuint*>(const_cast<void*>(call.Pointer(1))) = kFramebufferName;
    });
    rec.OnCall("glGenRenderbuffers", [](GlCall& call) {
      *static_cast<GLuint*>(const_cast<void*>(call.Pointer(1))) = 3;
    });
    rec.SetReturn("glCheckFramebufferStatus", GL_FRAMEBUFFER_COMPLETE);
    rec.SetReturn("glGetHandleARB", kGameProgram);
  }
  void TearDown() override {
    DestroyOffscreenFrame();
    AllowFramebufferObjects(true);
    gl.arbFramebufferObject = gl.extFramebufferObject = gl.extPackedDepthStencil = gl.arbMultitexture = false;
  }

  // The calls from the last bind of the window's framebuffer on.
  std::vector<GlCall> PassCalls() const {
    std::vector<GlCall> calls = rec.Calls();
    std::size_t start = 0;
    for (std::size_t k = 0; k < calls.size(); ++k) {
      if (calls[k].name == "glBindFramebuffer" && calls[k].Int(1) == 0) start = k;
    }
    return std::vector<GlCall>(calls.begin() + start, calls.end());
  }

  RecordingGl rec;
};

TEST_F(PresentPass, AFramePresentedIntoAWideWindowIsPillarboxedSmoothAndLeavesTheGameStateAsItWas) {
  ASSERT_TRUE(CreateOffscreenFrame(640, 480, false));
  EXPECT_TRUE(OffscreenFrameActive());
  EXPECT_EQ(rec.Last("glBindFramebuffer").Int(1), kFramebufferName) << "the game draws into it at once";
  EXPECT_EQ(rec.Last("glRenderbufferStorage").Int(1), GL_DEPTH24_STENCIL8);
  EXPECT_EQ(rec.Last("glTexImage2D").Int(2), GL_RGBA8);
  EXPECT_EQ(rec.Last("glTexImage2D").Int(3), 640);
  EXPECT_EQ(rec.Count("glFramebufferRenderbuffer"), 2u) << "depth and stencil";

  rec.Clear();
  DrawOffscreenFrame(1280, 720);
  const std::vector<GlCall> pass = PassCalls();
  ASSERT_FALSE(pass.empty());
  // The window's framebuffer is bound before the state is saved, so the
  // saved draw buffer is the window's own.
  EXPECT_EQ(pass[1].name, "glPushAttrib");
  EXPECT_EQ(pass.back().name, "glUseProgramObjectARB");
  EXPECT_EQ(pass.back().Int(0), static_cast<int64_t>(kGameProgram)) << "the game's shader is put back";
  EXPECT_EQ(pass[pass.size() - 2].name, "glPopAttrib");

  std::vector<std::vector<int64_t>> viewports;
  int depth = 0;
  for (std::size_t k = 1; k < pass.size(); ++k) {
    const GlCall& call = pass[k];
    if (call.name == "glViewport") viewports.push_back({call.Int(0), call.Int(1), call.Int(2), call.Int(3)});
    if (call.name == "glPushMatrix") ++depth;
    if (call.name == "glPopMatrix") --depth;
    if (call.name == "glBindFramebuffer") ADD_FAILURE() << "the swap comes before the game's framebuffer is bound again";
  }
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(rec.Count("glPushMatrix"), 3u) << "texture, projection and model-view";
  EXPECT_EQ(viewports, (std::vector<std::vector<int64_t>>{{0, 0, 1280, 720}, {160, 0, 960, 720}}))
      << "the bars are cleared, then the picture fills its rectangle";
  EXPECT_EQ(rec.Last("glTexParameteri").Int(2), GL_LINEAR);

  rec.Clear();
  DrawOffscreenFrame(640, 480);
  EXPECT_EQ(rec.Last("glTexParameteri").Int(2), GL_NEAREST) << "1:1 copies texel for pixel";
  BindOffscreenFrame();
  EXPECT_EQ(rec.Last("glBindFramebuffer").Int(1), kFramebufferName);

  DestroyOffscreenFrame();
  EXPECT_FALSE(OffscreenFrameActive());
  EXPECT_EQ(rec.Last("glBindFramebuffer").Int(1), 0);
  EXPECT_EQ(rec.Count("glDeleteFramebuffers"), 1u);
}

TEST_F(PresentPass, SixteenBitColourFallsBackWhenRefusedAndNoFramebufferMeansTheWindowDirectly) {
  int checks = 0;
  rec.OnCall("glCheckFramebufferStatus", [&checks](GlCall& call) {
    call.result.i = ++checks == 1 ? GL_FRAMEBUFFER_UNSUPPORTED : GL_FRAMEBUFFER_COMPLETE;
  });
  ASSERT_TRUE(CreateOffscreenFrame(640, 480, true));
  const std::vector<GlCall> uploads = rec.Calls("glTexImage2D");
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].Int(2), GL_RGB5);
  EXPECT_EQ(uploads[1].Int(2), GL_RGBA8);
  DestroyOffscreenFrame();

  rec.OnCall("glCheckFramebufferStatus", [](GlCall& call) { call.result.i = GL_FRAMEBUFFER_UNSUPPORTED; });
  EXPECT_FALSE(CreateOffscreenFrame(640, 480, false));
  EXPECT_FALSE(OffscreenFrameActive());
  EXPECT_EQ(rec.Last("glBindFramebuffer").Int(1), 0) << "a refused framebuffer leaves the window's bound";
  rec.Clear();
  DrawOffscreenFrame(1280, 720);
  BindOffscreenFrame();
  EXPECT_TRUE(rec.Calls().empty());

  // The older extension only counts with packed depth-stencil.
  gl.arbFramebufferObject = false;
  gl.extFramebufferObject = true;
  EXPECT_FALSE(CreateOffscreenFrame(640, 480, false));
  EXPECT_FALSE(FramebufferObjectsOffered("GL_EXT_framebuffer_object GL_ARB_multitexture"));
  EXPECT_TRUE(FramebufferObjectsOffered("GL_EXT_framebuffer_object GL_EXT_packed_depth_stencil"));
  EXPECT_TRUE(FramebufferObjectsOffered("GL_ARB_multitexture GL_ARB_framebuffer_object"));
  EXPECT_FALSE(FramebufferObjectsOffered("GL_ARB_framebuffer_objects"));

  AllowFramebufferObjects(false);
  gl.arbFramebufferObject = true;
  EXPECT_FALSE(FramebufferObjectsOffered("GL_ARB_framebuffer_object"));
  EXPECT_FALSE(CreateOffscreenFrame(640, 480, false));
}

TEST_F(PresentPass, BrightnessBelowHighGoesThroughItsProgramAndTheGamesComesBack) {
  gl.arbShaderObjects = gl.arbShadingLanguage100 = true;
  rec.SetReturn("glCreateProgramObjectARB", 9);
  rec.SetReturn("glCreateShaderObjectARB", 4);
  rec.OnCall("glGetObjectParameterivARB",
             [](GlCall& call) { *static_cast<GLint*>(const_cast<void*>(call.Pointer(2))) = 1; });
  ASSERT_TRUE(CreateOffscreenFrame(640, 480, false));
  ASSERT_TRUE(CreatePictureBrightness());
  const int64_t brightnessProgram = rec.Last("glLinkProgramARB").Int(0);
  for (int32_t step : {0, 1, 2}) {
    SetPictureBrightnessStep(step);
    rec.Clear();
    DrawOffscreenFrame(640, 480);
    const std::vector<GlCall> programs = rec.Calls("glUseProgramObjectARB");
    ASSERT_FALSE(programs.empty());
    EXPECT_EQ(programs.back().Int(0), static_cast<int64_t>(kGameProgram)) << step;
    if (step == 0) {
      EXPECT_EQ(programs.size(), 2u) << "High is the picture untouched";
      EXPECT_EQ(rec.Count("glUniform1fARB"), 0u);
    } else {
      ASSERT_EQ(programs.size(), 3u) << step;
      EXPECT_EQ(programs[1].Int(0), brightnessProgram);
      EXPECT_FLOAT_EQ(static_cast<float>(rec.Last("glUniform1fARB").Float(1)),
                      step == 1 ? 1.33f : 1.66f);
    }
  }
  DestroyPictureBrightness();
  SetPictureBrightnessStep(0);
  gl.arbShaderObjects = gl.arbShadingLanguage100 = false;
}

}  // namespace
