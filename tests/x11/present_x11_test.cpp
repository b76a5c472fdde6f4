#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"
#include "resources/settings.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace {

struct Colour {
  int r, g, b;
};
constexpr Colour kRed = {255, 0, 0};
constexpr Colour kBlack = {0, 0, 0};

// Within one level: on the mode-change path the display's gamma ramp, once
// the window has the focus, shows level 0 as 1.
bool Shows(const std::string& pixel, Colour colour) {
  Colour seen{};
  if (std::sscanf(pixel.c_str(), "%d,%d,%d", &seen.r, &seen.g, &seen.b) != 3) return false;
  return std::abs(seen.r - colour.r) <= 1 && std::abs(seen.g - colour.g) <= 1 &&
         std::abs(seen.b - colour.b) <= 1;
}

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
      return Shows(ScreenPixel(x, y), kRed);
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
  EXPECT_TRUE(Shows(ScreenPixel(159, 360), kBlack)) << ScreenPixel(159, 360);
  EXPECT_TRUE(Shows(ScreenPixel(160, 0), kRed)) << ScreenPixel(160, 0);
  EXPECT_TRUE(Shows(ScreenPixel(1119, 719), kRed)) << ScreenPixel(1119, 719);
  EXPECT_TRUE(Shows(ScreenPixel(1120, 360), kBlack)) << ScreenPixel(1120, 360);

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
  EXPECT_TRUE(Shows(ScreenPixel(639, 479), kRed)) << ScreenPixel(639, 479);
  EXPECT_TRUE(Shows(ScreenPixel(640, 360), kBlack)) << ScreenPixel(640, 360);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
