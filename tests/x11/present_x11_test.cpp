#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"
#include "resources/settings.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace {

constexpr const char* kRed = "255,0,0";
constexpr const char* kBlack = "0,0,0";

// The game at 640 × 480 on a wide 1280 × 720 desktop.
class WideDesktop : public ::testing::Test {
 protected:
  WideDesktop() : xvfb_(1280, 720) {}

  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    setenv("ALSOFT_DRIVERS", "null", 1);
    Settings = SettingsRecord{};
    Settings.screenWidth = 640;
    Settings.screenHeight = 480;
    Settings.colorDepth = 32;
    Settings.fullScreen = true;
    assetDirectory_ = folder_.withSlash();
    config_.assetDirectory = assetDirectory_.c_str();
  }

  void TearDown() override {
    StopEngine();
    AllowFramebufferObjects(true);
  }

  // Red frames until the screen shows one at (x, y).
  bool PresentRedUntilSeenAt(int x, int y) {
    return WaitFor([x, y] {
      gl.glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
      gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
      PresentFrame();
      gl.glFinish();
      return ScreenPixel(x, y) == kRed;
    });
  }

  std::string ConsoleLog() const { return folder_.ReadFile("conlog.txt"); }

  Xvfb xvfb_;
  TempDir folder_;
  std::string assetDirectory_;
  EngineConfig config_;
};

TEST_F(WideDesktop, FullScreenKeepsTheDesktopAndPillarboxesTheGameUnchanged) {
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_NE(ConsoleLog().find("presenting through a framebuffer"), std::string::npos) << ConsoleLog();
  ASSERT_TRUE(PresentRedUntilSeenAt(640, 360));
  // 960 × 720 in the middle: bars of 160 on either side.
  EXPECT_EQ(ScreenPixel(159, 360), kBlack);
  EXPECT_EQ(ScreenPixel(160, 0), kRed);
  EXPECT_EQ(ScreenPixel(1119, 719), kRed);
  EXPECT_EQ(ScreenPixel(1120, 360), kBlack);

  // The game still sees its own screen, before and after a present.
  GLint viewport[4] = {};
  gl.glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WideDesktop, WithoutFramebufferObjectsTheGameDrawsStraightIntoTheWindow) {
  AllowFramebufferObjects(false);
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_NE(ConsoleLog().find("presenting straight into the window"), std::string::npos) << ConsoleLog();
  EXPECT_FALSE(OffscreenFrameActive());
  // Xvfb cannot switch modes: the window keeps the game's size in the corner
  // and the picture is not scaled, as it always was.
  ASSERT_TRUE(PresentRedUntilSeenAt(10, 10));
  EXPECT_EQ(ScreenPixel(639, 479), kRed);
  EXPECT_EQ(ScreenPixel(640, 360), kBlack);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
