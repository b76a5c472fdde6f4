#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/offscreen_frame.h"
#include "resources/settings.h"
#include "support/other_window.h"
#include "support/temp_dir.h"
#include "support/x_display.h"
#include "support/xvfb.h"

namespace {

struct Colour {
  int r, g, b;
};
constexpr Colour kRed = {255, 0, 0};
constexpr Colour kBlack = {0, 0, 0};
constexpr const char* kTitle = "KelpforgeSoftware | StarfieldStampede";

// Within one level: on the mode-change path the display's gamma ramp, once
// the window has the focus, shows level 0 as 1.
bool Shows(const std::string& pixel, Colour colour) {
  Colour seen{};
  if (std::sscanf(pixel.c_str(), "%d,%d,%d", &seen.r, &seen.g, &seen.b) != 3) return false;
  return std::abs(seen.r - colour.r) <= 1 && std::abs(seen.g - colour.g) <= 1 &&
         std::abs(seen.b - colour.b) <= 1;
}

// The game at 640 × 480 on a wide 1280 × 720 desktop without a window
// manager.
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

  // Red frames until the screen shows red at (x, y) and black at (bx, by).
  // A screenshot takes a good part of a second on a busy machine, so the
  // wait is on the clock, not a count of tries.
  static bool PresentRedUntil(int x, int y, int bx, int by) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do {
      gl.glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
      gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
      PresentFrame();
      gl.glFinish();
      if (Shows(ScreenPixel(x, y), kRed) && Shows(ScreenPixel(bx, by), kBlack)) return true;
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }

  static bool EnterHeld() {
    uint8_t keys[kKeyCount] = {};
    SnapshotKeys(keys);
    return Pressed(keys[kKeyEnter]);
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
  ASSERT_TRUE(PresentRedUntil(640, 360, 159, 360));
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
  ASSERT_TRUE(PresentRedUntil(10, 10, 640, 360));
  EXPECT_TRUE(Shows(ScreenPixel(639, 479), kRed)) << ScreenPixel(639, 479);
  EXPECT_TRUE(Shows(ScreenPixel(640, 360), kBlack)) << ScreenPixel(640, 360);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WideDesktop, AltEnterAndF11SwitchToAWindowOfTheGamesSizeAndBackWithoutTouchingTheMode) {
  const ScreenMode before = ReadScreenMode();
  ASSERT_NE(before.mode, 0u) << Describe(before);
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_TRUE(WindowIsFullScreen());
  ASSERT_TRUE(PresentRedUntil(160, 360, 159, 360)) << "pillarboxed full screen";

  // The Enter of Alt+Enter is the window's, never a menu's.
  RunCommand("xdotool keydown alt keydown Return");
  EXPECT_TRUE(WaitFor([] { return !WindowIsFullScreen(); }));
  EXPECT_FALSE(WaitFor(EnterHeld, 300)) << "the Enter of Alt+Enter reached the game";
  RunCommand("xdotool keyup Return keyup alt");
  // A window of 640 × 480 in the middle of the screen, drawn 1:1.
  EXPECT_TRUE(PresentRedUntil(320, 120, 319, 360)) << "no game-sized window";
  EXPECT_TRUE(Shows(ScreenPixel(959, 599), kRed)) << ScreenPixel(959, 599);
  EXPECT_TRUE(Shows(ScreenPixel(960, 360), kBlack)) << ScreenPixel(960, 360);
  EXPECT_TRUE(Shows(ScreenPixel(640, 600), kBlack)) << ScreenPixel(640, 600);
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());

  // A plain Enter still reaches the game.
  RunCommand("xdotool keydown Return");
  EXPECT_TRUE(WaitFor(EnterHeld, 1000));
  RunCommand("xdotool keyup Return");

  HoldKeyBriefly("F11");
  EXPECT_TRUE(WaitFor([] { return WindowIsFullScreen(); }));
  EXPECT_TRUE(PresentRedUntil(160, 0, 1120, 719)) << "not full screen again";
  EXPECT_TRUE(Shows(ScreenPixel(1119, 719), kRed)) << ScreenPixel(1119, 719);
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());

  StopEngine();
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());
}

TEST_F(WideDesktop, AWindowLetsGoOfTheMouseWhenItLosesTheFocusAndTakesItBack) {
  Settings.fullScreen = false;
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_FALSE(WindowIsFullScreen());
  const std::string id = FindWindowNamed(kTitle);
  ASSERT_FALSE(id.empty());
  const unsigned long window = std::strtoul(id.c_str(), nullptr, 10);
  EXPECT_TRUE(WaitFor([] { return PointerGrabbedElsewhere(); }))
      << "the focused game holds the mouse";
  {
    OtherWindow other(0, 0, 8, 8);
    ASSERT_TRUE(other.shown() && GiveFocusTo(std::stoul(other.id())));
    EXPECT_TRUE(WaitFor([] { return !PointerGrabbedElsewhere(); }))
        << "the mouse stays held without focus";
    EXPECT_TRUE(WaitFor([] {
      return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE && !SDL_GetRelativeMouseMode();
    })) << "no system cursor while the focus is elsewhere";
  }
  ASSERT_TRUE(GiveFocusTo(window));
  EXPECT_TRUE(WaitFor([] { return PointerGrabbedElsewhere(); })) << "the mouse is not taken back";
  EXPECT_TRUE(SDL_GetRelativeMouseMode());
}

}  // namespace
