// The game at 640 × 480 on a wider desktop (1280 × 720): the desktop's mode
// never changes, full screen shows the picture scaled into 960 × 720 between
// black bars, Alt+Enter gives a window of the game's size and back, and the
// window's close button ends the game with the window remembered.
#include <cstdlib>

#include "e2e/game_run.h"
#include "support/x_display.h"

namespace e2e {
namespace {

constexpr int kDesktopWidth = 1280;
constexpr int kDesktopHeight = 720;
constexpr const char* kTitle = "KelpforgeSoftware | StarfieldStampede";

// Where the game's picture lies on the desktop.
struct Placement {
  double scale;
  int x, y;
};
constexpr Placement kFullScreen = {1.5, 160, 0};  // 960 × 720, bars of 160
constexpr Placement kWindowed = {1.0, 320, 120};  // centred, 1:1

class WideDesktopRun : public GameRun {
 protected:
  // Constructed after GameRun's own server, so DISPLAY names this one.
  WideDesktopRun() : desktop_(kDesktopWidth, kDesktopHeight) {}

  // The desktop now, read back into the game's 640 × 480 through a placement
  // (each game pixel from the middle of its screen pixels), and the rest of
  // the desktop's pixels that are not black.
  Shot Seen(const Placement& at, int* litOutside) {
    // Through ImageMagick: a root holding a smaller window of Xvfb's
    // DirectColor visual dumps as DirectColor, which ParseXwd leaves alone.
    const std::string raw = (folder_ / "desktop.rgb").string();
    if (RunCommand("xwd -root -silent 2>/dev/null | convert xwd:- -depth 8 rgb:'" + raw +
                   "' 2>/dev/null") != 0) {
      return {};
    }
    const Shot desktop(kDesktopWidth, kDesktopHeight, folder_.ReadFile("desktop.rgb"));
    if (!desktop.valid()) return {};
    std::string game(static_cast<std::size_t>(kWidth) * kHeight * 3, '\0');
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const Rgb c = desktop.At(at.x + static_cast<int>((x + 0.5) * at.scale),
                                 at.y + static_cast<int>((y + 0.5) * at.scale));
        char* out = &game[(static_cast<std::size_t>(y) * kWidth + x) * 3];
        out[0] = static_cast<char>(c.r), out[1] = static_cast<char>(c.g),
        out[2] = static_cast<char>(c.b);
      }
    }
    const int right = at.x + static_cast<int>(kWidth * at.scale);
    const int bottom = at.y + static_cast<int>(kHeight * at.scale);
    auto lit = [](Rgb c) { return c.r + c.g + c.b > 0; };
    *litOutside = desktop.Count(0, 0, at.x, kDesktopHeight, lit) +
                  desktop.Count(right, 0, kDesktopWidth, kDesktopHeight, lit) +
                  desktop.Count(at.x, 0, right, at.y, lit) +
                  desktop.Count(at.x, bottom, right, kDesktopHeight, lit);
    return Shot(kWidth, kHeight, std::move(game));
  }

  // True once the menu shows at that placement with nothing lit around it.
  bool MenuShowsAt(const Placement& at, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end && Running()) {
      int litOutside = -1;
      const Shot shot = Seen(at, &litOutside);
      if (shot.valid() && IsMenu(shot) && litOutside == 0) return true;
      Pause(200);
    }
    return false;
  }

  static void AltEnter() {
    RunCommand("xdotool keydown alt keydown Return sleep 0.1 keyup Return keyup alt");
  }

  Xvfb desktop_;
};

TEST_F(WideDesktopRun, TheDesktopKeepsItsModeAltEnterWindowsAndTheCloseButtonEndsTheGameWindowed) {
  ASSERT_TRUE(desktop_.running());
  Prepare({});
  const ScreenMode before = ReadScreenMode();
  ASSERT_NE(before.mode, 0u);
  ASSERT_EQ(before.width, kDesktopWidth);
  Launch();

  // Full screen at the desktop's own size: the high-score line of the menu
  // lands where 1.5 times its place, 160 pixels in, puts it.
  ASSERT_TRUE(MenuShowsAt(kFullScreen, 60000)) << Output();
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());
  EXPECT_NE(ConsoleLog().find("presenting through a framebuffer, drawable 1280 x 720"),
            std::string::npos)
      << ConsoleLog();

  AltEnter();
  EXPECT_TRUE(MenuShowsAt(kWindowed, 10000)) << "no 640 x 480 window in the middle";
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());
  AltEnter();
  EXPECT_TRUE(MenuShowsAt(kFullScreen, 10000)) << "not back to full screen";
  AltEnter();
  ASSERT_TRUE(MenuShowsAt(kWindowed, 10000));

  // The close button, as a window manager sends it.
  const std::string id = FindWindowNamed(kTitle);
  ASSERT_FALSE(id.empty());
  ASSERT_TRUE(SendCloseRequest(std::strtoul(id.c_str(), nullptr, 10)));
  const int status = WaitForExit(20000);
  ASSERT_NE(status, -1) << "the close button did not end the game";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Saved("FullScreen"), "0");
  EXPECT_EQ(ReadScreenMode(), before) << Describe(ReadScreenMode());
}

}  // namespace
}  // namespace e2e
