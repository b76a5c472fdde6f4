#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/asset_directory.h"
#include "resources/settings.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFailureText =
    "Starfield Stampede failed to initialize.  Please read the FAQ for possible solutions.";
constexpr const char* kTitle = "KelpforgeSoftware | StarfieldStampede";

// The built game, copied with a base/ of its own so that runs never touch the
// build tree, and a settings file for 640 × 480.
class GameBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(SS_BIN_DIR) / "starfield-stampede", folder_ / "starfield-stampede");
    fs::create_directories(folder_ / "base/config");
    std::string base = (folder_ / "base").string();
    ASSERT_TRUE(StartAssetDirectoryAt(base.c_str()));
    Settings = SettingsRecord{};
    Settings.screenWidth = 640;
    Settings.screenHeight = 480;
    Settings.colorDepth = 32;
    Settings.highScore = 4321;
    SaveSettings();
    StopAssetDirectory();
    ASSERT_TRUE(fs::exists(settingsFile()));
  }

  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  fs::path settingsFile() const { return folder_ / "base/config/ss.rep"; }
  std::string ConsoleLog() const { return folder_.ReadFile("base/conlog.txt"); }
  std::string Output() const { return folder_.ReadFile("output.txt"); }

  // Starts the game with OpenAL's null output, with or without the display.
  void Launch(bool withDisplay) {
    std::string program = (folder_ / "starfield-stampede").string();
    std::string output = (folder_ / "output.txt").string();
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      setenv("ALSOFT_DRIVERS", "null", 1);
      if (!withDisplay) {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
      }
      if (!freopen(output.c_str(), "w", stdout) || !freopen(output.c_str(), "a", stderr)) _exit(126);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  // The game's wait status once it has ended, or -1 after timeoutMs.
  int WaitForExit(int timeoutMs) {
    int status = 0;
    bool ended = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
    if (!ended) return -1;
    pid_ = -1;
    return status;
  }

  bool Started() const { return ConsoleLog().find("GL_ARB_shading_language_100") != std::string::npos; }

  TempDir folder_;
  pid_t pid_ = -1;
};

TEST_F(GameBinary, StartsWritesTheStartUpLogAndEndsOnEscapeWithZero) {
  Xvfb xvfb(640, 480);
  ASSERT_TRUE(xvfb.running());
  Launch(true);
  ASSERT_TRUE(WaitFor([this] { return Started(); }, 20000)) << Output();
  EXPECT_TRUE(WaitFor([] { return !FindWindowNamed(kTitle).empty(); }));

  std::string log = ConsoleLog();
  std::size_t glLibrary = log.find("loading library: libGL.so.1... Success!\n");
  std::size_t alLibrary = log.find("loading library: libopenal.so.1... Success!\n");
  std::size_t vorbis = log.find("AL_EXT_vorbis not present.  Using fallback.\n");
  std::size_t renderer = log.find("llvmpipe");
  EXPECT_EQ(glLibrary, 0u);
  EXPECT_LT(glLibrary, alLibrary);
  EXPECT_LT(alLibrary, vorbis);
  EXPECT_NE(renderer, std::string::npos);
  EXPECT_LT(vorbis, renderer);

  // The intro and the title ignore keys; Escape ends the game once the menu
  // is up, so keep pressing it until the game has gone.
  int status = -1;
  for (int attempt = 0; attempt < 40 && status == -1; ++attempt) {
    HoldKeyBriefly("Escape");
    status = WaitForExit(1000);
  }
  ASSERT_NE(status, -1) << "Escape did not end the game";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(FindWindowNamed(kTitle).empty());
}

TEST_F(GameBinary, WithoutADisplayShowsTheFailureAndLeavesTheSettingsAlone) {
  // An old time stamp, so that even a rewrite in the same second shows.
  auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  fs::last_write_time(settingsFile(), old);
  std::string before = folder_.ReadFile("base/config/ss.rep");

  Launch(false);
  int status = WaitForExit(20000);
  ASSERT_NE(status, -1) << "the game did not end";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "a failed start is reported as one";
  EXPECT_NE(Output().find(kFailureText), std::string::npos) << Output();

  EXPECT_EQ(folder_.ReadFile("base/config/ss.rep"), before);
  EXPECT_EQ(fs::last_write_time(settingsFile()), old);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_ / "base/config")) ++files;
  EXPECT_EQ(files, 1);
}

// SIGTERM soon after the start: the title finishes its load, the menu is
// never shown, and the game ends normally with the settings saved.
TEST_F(GameBinary, TerminationBySignalEndsTheGameAsExitDoes) {
  Xvfb xvfb(640, 480);
  ASSERT_TRUE(xvfb.running());
  Launch(true);
  ASSERT_TRUE(WaitFor([this] { return Started(); }, 20000)) << Output();
  kill(pid_, SIGTERM);
  int status = WaitForExit(20000);
  ASSERT_NE(status, -1) << "SIGTERM did not end the game";
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_TRUE(FindWindowNamed(kTitle).empty());
}

// A display whose GL driver cannot make a context: no X error ends the
// process, the failure box shows (closed here with Return), the text is on
// stderr and the exit code says the start failed.
TEST_F(GameBinary, AGlDriverThatCannotMakeAContextShowsTheFailureAndExitsOne) {
  Xvfb xvfb(640, 480);
  ASSERT_TRUE(xvfb.running());
  setenv("LIBGL_DRIVERS_PATH", "/nonexistent", 1);
  Launch(true);
  unsetenv("LIBGL_DRIVERS_PATH");
  // The box's name is set in a way xdotool's search does not see.
  std::string box;
  auto findBox = [&box] {
    box = CommandOutput("xwininfo -root -tree 2>/dev/null | awk '/\"Error\"/ {print $1; exit}'");
    return !box.empty();
  };
  EXPECT_TRUE(WaitFor(findBox, 20000)) << Output();
  int status = -1;
  for (int attempt = 0; attempt < 20 && status == -1; ++attempt) {
    if (!box.empty()) RunCommand("xdotool windowfocus " + box + " key Return 2>/dev/null");
    status = WaitForExit(500);
  }
  ASSERT_NE(status, -1) << "the game did not end";
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
  EXPECT_NE(Output().find(kFailureText), std::string::npos) << Output();
  EXPECT_EQ(Output().find("X Error of failed request"), std::string::npos) << Output();
}

}  // namespace
