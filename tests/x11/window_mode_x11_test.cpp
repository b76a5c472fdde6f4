#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "resources/settings.h"
#include "support/temp_dir.h"
#include "support/x_display.h"
#include "support/xvfb.h"

namespace {

constexpr const char* kRed = "255,0,0";
constexpr const char* kBlack = "0,0,0";
constexpr const char* kTitle = "KelpforgeSoftware | StarfieldStampede";

// The game at 640 × 480 on a 1280 × 720 desktop without a window manager.
class WindowMode : public ::testing::Test {
 protected:
  WindowMode() : xvfb_(1280, 720) {}

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

  void TearDown() override { StopEngine(); }

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
      if (ScreenPixel(x, y) == kRed && ScreenPixel(bx, by) == kBlack) return true;
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }

  static bool EnterHeld() {
    uint8_t keys[kKeyCount] = {};
    SnapshotKeys(keys);
    return Pressed(keys[kKeyEnter]);
  }

  Xvfb xvfb_;
  TempDir folder_;
  std::string assetDirectory_;
  EngineConfig config_;
};

TEST_F(WindowMode, AltEnterAndF11SwitchToAWindowOfTheGamesSizeAndBackWithoutTouchingTheMode) {
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
  EXPECT_EQ(ScreenPixel(959, 599), kRed);
  EXPECT_EQ(ScreenPixel(960, 360), kBlack);
  EXPECT_EQ(ScreenPixel(640, 600), kBlack);
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());

  // A plain Enter still reaches the game.
  RunCommand("xdotool keydown Return");
  EXPECT_TRUE(WaitFor(EnterHeld, 1000));
  RunCommand("xdotool keyup Return");

  HoldKeyBriefly("F11");
  EXPECT_TRUE(WaitFor([] { return WindowIsFullScreen(); }));
  EXPECT_TRUE(PresentRedUntil(160, 0, 1120, 719)) << "not full screen again";
  EXPECT_EQ(ScreenPixel(1119, 719), kRed);
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());

  StopEngine();
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());
}

TEST_F(WindowMode, AWindowLetsGoOfTheMouseWhenItLosesTheFocusAndTakesItBack) {
  Settings.fullScreen = false;
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_FALSE(WindowIsFullScreen());
  const std::string id = FindWindowNamed(kTitle);
  ASSERT_FALSE(id.empty());
  const unsigned long window = std::strtoul(id.c_str(), nullptr, 10);
  EXPECT_TRUE(WaitFor([] { return PointerGrabbedElsewhere(); }))
      << "the focused game holds the mouse";
  {
    FocusElsewhere other;
    ASSERT_TRUE(other.holds());
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
