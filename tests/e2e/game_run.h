#pragma once
// What the end-to-end tests of the game's screens share: the built game
// copied with its base/ into a folder of its own, a settings file written
// there with depotbuilder, a private X server of the settings' size, real
// input through xdotool, and screenshots that a test can read pixel by
// pixel. Screenshots are also kept under <build>/screenshots/ by name.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/screen_capture.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace e2e {

namespace fs = std::filesystem;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Half the view at the menu plane z = -1 (1 / 1.7926 high, 4:3 wide).
constexpr double kMenuHalfHeight = 0.55785;
constexpr double kMenuHalfWidth = kMenuHalfHeight * 4 / 3;

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A rectangle of the screen in pixels, [x0, x1) × [y0, y1).
struct PixelRect {
  int x0, y0, x1, y1;
};

// A screenshot in memory.
class Shot {
 public:
  Shot() = default;
  Shot(int width, int height, std::string rgb) : width_(width), height_(height), rgb_(std::move(rgb)) {}

  bool valid() const { return rgb_.size() == static_cast<std::size_t>(width_ * height_ * 3) && width_ > 0; }
  Rgb At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {static_cast<uint8_t>(rgb_[at]), static_cast<uint8_t>(rgb_[at + 1]), static_cast<uint8_t>(rgb_[at + 2])};
  }
  // Pixels of the rectangle [x0, x1) × [y0, y1) for which test holds.
  int Count(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
      for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) count += test(At(x, y)) ? 1 : 0;
    }
    return count;
  }
  double MeanBrightness(int x0, int y0, int x1, int y1) const {
    double sum = 0;
    int pixels = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x, ++pixels) {
        const Rgb c = At(x, y);
        sum += (c.r + c.g + c.b) / 3.0;
      }
    }
    return pixels ? sum / pixels : 0;
  }
  // Pixels of the rectangle that differ clearly (by more than 90 summed over
  // the channels) from the other shot: changed text, not flicker.
  int Changed(const Shot& other, int x0, int y0, int x1, int y1) const {
    int changed = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const Rgb a = At(x, y), b = other.At(x, y);
        changed += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 90 ? 1 : 0;
      }
    }
    return changed;
  }
  int Changed(const Shot& other, PixelRect rect) const { return Changed(other, rect.x0, rect.y0, rect.x1, rect.y1); }
  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& rgb() const { return rgb_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::string rgb_;
};

// A rectangle of the menu plane in screen pixels.
inline PixelRect MenuRect(double left, double right, double top, double bottom) {
  auto px = [](double x) { return static_cast<int>(std::lround((x / kMenuHalfWidth + 1) / 2 * kWidth)); };
  auto py = [](double y) { return static_cast<int>(std::lround((1 - y / kMenuHalfHeight) / 2 * kHeight)); };
  return {px(left), py(top), px(right), py(bottom)};
}
// The same rectangle pulled in by margin pixels on every side.
inline PixelRect Inset(PixelRect rect, int margin) {
  return {rect.x0 + margin, rect.y0 + margin, rect.x1 - margin, rect.y1 - margin};
}

inline bool Greenish(Rgb c) { return c.g > 120 && c.g > c.r + 50 && c.g > c.b + 50; }
inline bool Bright(Rgb c) { return c.r > 170 && c.g > 170 && c.b > 170; }

// The built game in a folder of its own, with a settings file of its own.
class GameRun : public testing::Test {
 protected:
  struct Setup {
    int glsl = 1;
    int sound = 1;
    int colorDepth = 32;
    int brightness = 0;
    int highScore = 0;
  };

  GameRun() : xvfb_(kWidth, kHeight) {}

  ~GameRun() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  // Copies the game and its base/ (without the build's own settings and
  // log), then writes the settings with depotbuilder.
  void Prepare(const Setup& setup) {
    ASSERT_TRUE(xvfb_.running());
    const fs::path bin(SS_BIN_DIR);
    ASSERT_TRUE(fs::exists(bin / "base/textures")) << "no generated asset tree in " << bin;
    fs::copy_file(bin / "starfield-stampede", folder_ / "starfield-stampede");
    fs::create_directories(folder_ / "base/config");
    for (const auto& entry : fs::directory_iterator(bin / "base")) {
      const std::string name = entry.path().filename().string();
      if (name == "config" || name == "conlog.txt") continue;
      fs::copy(entry.path(), folder_ / "base" / name, fs::copy_options::recursive);
    }
    const std::string command = (bin / "depotbuilder").string() + " create --force " + SettingsFile() +
                                " ScreenWidth=" + std::to_string(kWidth) + " ScreenHeight=" + std::to_string(kHeight) +
                                " ColorDepth=" + std::to_string(setup.colorDepth) +
                                " Brightness=" + std::to_string(setup.brightness) +
                                " GLSL=" + std::to_string(setup.glsl) + " Sound=" + std::to_string(setup.sound) +
                                " HighScore=" + std::to_string(setup.highScore) + " > /dev/null";
    ASSERT_EQ(RunCommand(command), 0) << command;
  }

  std::string SettingsFile() const { return (folder_ / "base/config/ss.rep").string(); }
  // A value of the settings file as depotbuilder reads it; "" when missing.
  std::string Saved(const std::string& key) const {
    return CommandOutput((fs::path(SS_BIN_DIR) / "depotbuilder").string() + " get " + SettingsFile() +
                         " StarfieldStampede " + key + " 2>/dev/null");
  }
  std::string ConsoleLog() const { return folder_.ReadFile("base/conlog.txt"); }
  // What the game wrote to its terminal and to its log: a start that failed
  // says why in the log.
  std::string Output() const {
    return folder_.ReadFile("output.txt") + "\nconlog.txt:\n" + ConsoleLog();
  }

  void Launch() {
    const std::string program = (folder_ / "starfield-stampede").string();
    const std::string output = (folder_ / "output.txt").string();
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      setenv("ALSOFT_DRIVERS", "null", 1);
      for (const auto& [name, value] : launchEnvironment_) setenv(name.c_str(), value.c_str(), 1);
      if (!freopen(output.c_str(), "w", stdout) || !freopen(output.c_str(), "a", stderr)) _exit(126);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  // Starts the game again in the same folder, on the files the last run left,
  // once that run has ended. The new run's pointer starts on Options.
  void Relaunch() {
    ASSERT_FALSE(Running()) << "the last run is still going";
    pointerX_ = pointerY_ = 0;
    Launch();
  }

  // Sends a signal to the running game.
  void Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
  }

  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    pid_ = -1;
    exitStatus_ = status;
    return false;
  }
  // The wait status once the game has ended, or -1 after timeoutMs.
  int WaitForExit(int timeoutMs) {
    if (!WaitFor([this] { return !Running(); }, timeoutMs)) return -1;
    return exitStatus_;
  }

  // The screen now; a named shot is also kept under <build>/screenshots/.
  Shot Take(const std::string& name = "") {
    const Capture capture = CaptureScreen((folder_ / "screen.xwd").string());
    if (!capture.valid() || capture.width != kWidth || capture.height != kHeight) return {};
    Shot shot(capture.width, capture.height, capture.rgb);
    if (!name.empty()) Keep(shot, name);
    return shot;
  }
  // Keeps an earlier shot as <build>/screenshots/<name>.png.
  void Keep(const Shot& shot, const std::string& name) {
    if (!shot.valid()) return;
    const fs::path kept = fs::path(SS_BIN_DIR).parent_path() / "screenshots";
    fs::create_directories(kept);
    folder_.WriteFile("kept.rgb", shot.rgb());
    RunCommand("convert -size " + std::to_string(shot.width()) + "x" + std::to_string(shot.height()) +
               " -depth 8 rgb:" + (folder_ / "kept.rgb").string() + " " + (kept / (name + ".png")).string() +
               " 2>/dev/null");
  }

  // Takes screenshots until one passes test (the game must keep running);
  // the passing one, or an invalid shot after timeoutMs.
  Shot WaitForScreen(const std::function<bool(const Shot&)>& test, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end && Running()) {
      Shot shot = Take();
      if (shot.valid() && test(shot)) return shot;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Take("timed-out");  // what the screen showed instead
    return {};
  }

  // Follows a screen that passed test: takes shots while test still holds and
  // returns the last that did, or the first that is also good enough.
  Shot LastWhile(Shot shot, const std::function<bool(const Shot&)>& test,
                 const std::function<bool(const Shot&)>& goodEnough = nullptr) {
    for (int tries = 0; tries < 300 && shot.valid() && !(goodEnough && goodEnough(shot)); ++tries) {
      Shot later = Take();
      if (!test(later)) break;
      shot = std::move(later);
    }
    return shot;
  }

  // The main menu shows its high-score line in green at cell (30, 7) of the
  // 80 × 60 grid, where no other screen draws green. It stays there after a
  // resolution change in the options, which waits for the next start.
  static bool IsMenu(const Shot& shot) { return shot.Count(230, 405, 410, 430, Greenish) > 15; }
  Shot WaitForMenu(int timeoutMs = 60000) { return WaitForScreen(IsMenu, timeoutMs); }

  // The menu pointer moves 500 counts per unit of the menu plane.
  void MovePointer(double dx, double dy) {
    MoveMouseBy(static_cast<int>(std::lround(dx / 0.002)), static_cast<int>(std::lround(-dy / 0.002)));
    pointerX_ += dx;
    pointerY_ += dy;
  }
  void PointAt(double x, double y) { MovePointer(x - pointerX_, y - pointerY_); }
  static void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

  // A click as a player makes it: down for 150 ms, several polls, and
  // shorter than the 200 ms a menu waits after taking a click; pressed and
  // released by one xdotool process, as HoldKey does.
  void Click() { RunCommand("xdotool mousedown 1 sleep 0.15 mouseup 1"); }
  // The menus read the button once a frame, so on a busy machine a frame
  // can outlast a click. Clicks again (at most three times in all) until
  // the screen passes test; the passing shot, or an invalid one.
  Shot ClickUntil(const std::function<bool(const Shot&)>& test) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Click();
      if (Shot shot = WaitForScreen(test, 4000); shot.valid()) return shot;
    }
    return {};
  }
  // The same click on the menu plane's point (x, y), where the pointer rests
  // a moment first.
  Shot ClickAtUntil(double x, double y, const std::function<bool(const Shot&)>& test) {
    PointAt(x, y);
    Pause(300);
    return ClickUntil(test);
  }
  // A click that changes the screen in the rectangle by more than 30 pixels.
  Shot ClickChanging(PixelRect rect) {
    const Shot before = Take();
    if (!before.valid()) return {};
    return ClickUntil([&](const Shot& now) { return now.Changed(before, rect) > 30; });
  }

  // Leaves through the menu's Exit button and expects a clean end.
  void ExitThroughTheMenu() {
    PointAt(0, -0.285);
    Pause(300);
    int status = -1;
    for (int attempt = 0; attempt < 3 && status == -1; ++attempt) {
      Click();
      status = WaitForExit(attempt < 2 ? 5000 : 20000);
    }
    ASSERT_NE(status, -1) << "the game did not end";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  }

  Xvfb xvfb_;
  TempDir folder_;
  // Variables set for the game on top of the test's own, by name.
  std::vector<std::pair<std::string, std::string>> launchEnvironment_;

 private:
  pid_t pid_ = -1;
  int exitStatus_ = 0;
  double pointerX_ = 0;  // where the game's menu pointer is, as far as the test moved it
  double pointerY_ = 0;
};

}  // namespace e2e
