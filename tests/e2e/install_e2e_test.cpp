// The game as a player gets it: installed into a staging folder (as make
// install with DESTDIR does) or unpacked from the Debian package, started
// under Xvfb by a player whose home is a fresh folder. The installed tree
// must stay as installed; everything the game writes lands in the player's
// data directory, and a file there wins over the installed one.
#include <map>
#include <set>

#include "game_run.h"
#include "resources/tga_writer.h"

namespace {

namespace fs = std::filesystem;

// An installed copy starts from the default settings: 1024 × 768.
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr const char* kAppId = "net.kelpforge.StarfieldStampede";
constexpr const char* kUserFolder = "starfield-stampede";
// The menu's high-score line: green at the foot of the screen, where no
// other screen draws green.
constexpr int kHighScoreX0 = kWidth * 230 / 640, kHighScoreX1 = kWidth * 410 / 640;
constexpr int kHighScoreY0 = kHeight * 405 / 480, kHighScoreY1 = kHeight * 430 / 480;
// The menu pointer moves 500 counts per unit of the menu plane; Exit sits
// 0.285 below where the pointer starts.
constexpr int kCountsToExit = 143;
// The stand-in pointer picture a player drops into their own directory.
constexpr int kPointerSize = 32;

const fs::path kBuild = fs::path(SS_BIN_DIR).parent_path();

using e2e::Rgb;
using e2e::Shot;

bool IsMenu(const Shot& shot) {
  return shot.valid() && shot.width() == kWidth && shot.height() == kHeight &&
         shot.Count(kHighScoreX0, kHighScoreY0, kHighScoreX1, kHighScoreY1, e2e::Greenish) > 30;
}
// Pure magenta, which no generated picture uses.
int Magenta(const Shot& shot) {
  return shot.Count(0, 0, shot.width(), shot.height(), [](Rgb c) { return c.r > 200 && c.g < 40 && c.b > 200; });
}

// Every file under root with its size and modification time, one a line.
std::string Listing(const fs::path& root) {
  std::map<std::string, std::string> lines;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto time = entry.last_write_time().time_since_epoch().count();
    const auto size = entry.is_regular_file() ? entry.file_size() : 0;
    lines[fs::relative(entry.path(), root).string()] = std::to_string(size) + " " + std::to_string(time);
  }
  std::string text;
  for (const auto& [path, facts] : lines) text += path + " " + facts + "\n";
  return text;
}

// The regular files under root, relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

class InstalledGame : public testing::Test {
 protected:
  InstalledGame() : xvfb_(kWidth, kHeight) {}
  ~InstalledGame() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  // Installs the build under /usr in the staging folder; the programs'
  // folder is returned (bin/ for an install).
  fs::path Install() {
    const fs::path stage = work_ / "stage";
    const std::string command = "DESTDIR=" + stage.string() + " cmake --install " + kBuild.string() +
                                " --component game --prefix /usr > " + (work_ / "install.txt").string() + " 2>&1";
    EXPECT_EQ(RunCommand(command), 0) << work_.ReadFile("install.txt");
    return stage / "usr/bin";
  }

  // Starts the game in programs as a player with a fresh home folder and,
  // when given, their own XDG_DATA_HOME.
  void Launch(const fs::path& programs, const std::string& dataHome) {
    const std::string program = (programs / "starfield-stampede").string();
    const std::string output = (work_ / "output.txt").string();
    const std::string home = (work_ / "home").string();
    fs::create_directories(home);
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      setenv("HOME", home.c_str(), 1);
      if (dataHome.empty()) {
        unsetenv("XDG_DATA_HOME");
      } else {
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
      }
      setenv("ALSOFT_DRIVERS", "null", 1);
      // The driver's own shader cache would land in the home folder too.
      setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
      if (!freopen(output.c_str(), "w", stdout) || !freopen(output.c_str(), "a", stderr)) _exit(126);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  bool Running() {
    if (pid_ <= 0) return false;
    if (waitpid(pid_, &status_, WNOHANG) != pid_) return true;
    pid_ = -1;
    return false;
  }

  Shot WaitForMenu() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end && Running()) {
      const Capture capture = CaptureScreen((work_ / "screen.xwd").string());
      Shot shot(capture.width, capture.height, capture.rgb);
      if (IsMenu(shot)) return shot;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
  }

  // Points at Exit and clicks (again, on a busy machine that misses a
  // frame) until the game ends; expects it to end with status 0.
  void ExitThroughTheMenu() {
    MoveMouseBy(0, kCountsToExit);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    bool ended = false;
    for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
      RunCommand("xdotool mousedown 1 sleep 0.15 mouseup 1");
      ended = WaitFor([this] { return !Running(); }, attempt < 2 ? 5000 : 20000);
    }
    ASSERT_TRUE(ended) << "the game did not end";
    EXPECT_TRUE(WIFEXITED(status_) && WEXITSTATUS(status_) == 0) << "status " << status_;
  }

  // One whole visit: start, reach the menu, leave through Exit.
  Shot PlayToTheMenuAndLeave(const fs::path& programs, const std::string& dataHome) {
    Launch(programs, dataHome);
    Shot menu = WaitForMenu();
    // Every data home the tests give lies in the work folder.
    const std::string log = (dataHome.empty() ? std::string("home/.local/share")
                                              : fs::path(dataHome).filename().string()) +
                            "/" + kUserFolder + "/conlog.txt";
    EXPECT_TRUE(menu.valid()) << "no menu; output: " << work_.ReadFile("output.txt")
                              << "\nconlog.txt:\n"
                              << work_.ReadFile(log);
    if (menu.valid()) {
      ExitThroughTheMenu();
    } else if (pid_ > 0) {  // stuck short of the menu: the next visit starts clean
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    return menu;
  }

  std::string Saved(const fs::path& programs, const fs::path& settings, const std::string& key) {
    return CommandOutput((programs / "starfield-stampede-depotbuilder").string() + " get " + settings.string() +
                         " StarfieldStampede " + key + " 2>/dev/null");
  }

  Xvfb xvfb_;
  TempDir work_;

 private:
  pid_t pid_ = -1;
  int status_ = 0;
};

TEST_F(InstalledGame, KeepsThePlayersFilesInTheirOwnFolderAndLeavesTheInstallAsItWas) {
  ASSERT_TRUE(xvfb_.running());
  const fs::path programs = Install();
  const fs::path installed = programs.parent_path();
  const std::string before = Listing(installed);
  const fs::path dataHome = work_ / "data";
  const fs::path mine = dataHome / kUserFolder;

  // First start: the installed defaults, and the player's own files appear
  // beside nothing else.
  const Shot first = PlayToTheMenuAndLeave(programs, dataHome.string());
  EXPECT_EQ(Magenta(first), 0);
  EXPECT_EQ(FilesUnder(dataHome), (std::set<std::string>{"starfield-stampede/config/ss.rep",
                                                          "starfield-stampede/conlog.txt"}));
  EXPECT_TRUE(FilesUnder(work_ / "home").empty());
  EXPECT_EQ(Saved(programs, mine / "config/ss.rep", "ScreenWidth"), "1024");

  // The player's high score survives the next start, and a picture in their
  // folder replaces the installed one.
  ASSERT_EQ(RunCommand((programs / "starfield-stampede-depotbuilder").string() + " set " +
                       (mine / "config/ss.rep").string() + " StarfieldStampede HighScore 4321"),
            0);
  const std::vector<uint8_t> magenta = [] {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < kPointerSize * kPointerSize; ++i) pixels.insert(pixels.end(), {255, 0, 255, 255});
    return pixels;
  }();
  fs::create_directories(mine / "textures/menu");
  ASSERT_TRUE(WriteTga((mine / "textures/menu/Pointer.tga").c_str(),
                       {kPointerSize, kPointerSize, 4, false, magenta.data()}, 32, TgaEncoding::Uncompressed));
  const Shot second = PlayToTheMenuAndLeave(programs, dataHome.string());
  EXPECT_GT(Magenta(second), 100) << "the player's own pointer picture was not shown";
  EXPECT_EQ(Saved(programs, mine / "config/ss.rep", "HighScore"), "4321");

  // Without XDG_DATA_HOME the player's folder is ~/.local/share.
  PlayToTheMenuAndLeave(programs, "");
  EXPECT_EQ(FilesUnder(work_ / "home"), (std::set<std::string>{".local/share/starfield-stampede/config/ss.rep",
                                                               ".local/share/starfield-stampede/conlog.txt"}));

  EXPECT_EQ(Listing(installed), before) << "the installed tree changed";
  EXPECT_EQ(Saved(programs, installed / "share/starfield-stampede/base/config/ss.rep", "HighScore"), "0");
}

TEST_F(InstalledGame, DesktopEntryMetadataAndManPagesPassTheirCheckersAndUninstallRemovesEveryFile) {
  const fs::path share = Install().parent_path() / "share";
  const std::string log = (work_ / "check.txt").string();
  auto passes = [&](const std::string& command) {
    const bool ok = RunCommand(command + " > " + log + " 2>&1") == 0;
    return ok ? std::string() : command + ":\n" + work_.ReadFile("check.txt");
  };
  EXPECT_EQ(passes("desktop-file-validate " + (share / "applications" / (std::string(kAppId) + ".desktop")).string()), "");
  EXPECT_EQ(passes("appstreamcli validate --no-net " +
                   (share / "metainfo" / (std::string(kAppId) + ".metainfo.xml")).string()),
            "");
  for (const char* page : {"man6/starfield-stampede.6.gz", "man1/starfield-stampede-depotbuilder.1.gz",
                           "man1/starfield-stampede-bundletool.1.gz"}) {
    // man prints groff's warnings on stderr and still succeeds, so any
    // output there counts as a failure.
    const std::string command = "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " + (share / "man" / page).string() +
                                " 2>&1 >/dev/null";
    EXPECT_EQ(CommandOutput(command), "") << page;
  }
  for (int size : {16, 32, 48, 64, 128, 256, 512}) {
    const std::string edge = std::to_string(size);
    const fs::path icon = share / "icons/hicolor" / (edge + "x" + edge) / "apps" / (std::string(kAppId) + ".png");
    EXPECT_EQ(CommandOutput("identify -format '%w %h' " + icon.string() + " 2>&1"), edge + " " + edge);
  }

  // The install's manifest names files under the prefix; uninstall puts the
  // staging folder back in front and leaves none of them.
  const fs::path stage = work_ / "stage";
  EXPECT_EQ(passes("DESTDIR=" + stage.string() + " bash " + SS_SOURCE_DIR + "/scripts/uninstall.sh " +
                   (kBuild / "install_manifest_game.txt").string()),
            "");
  EXPECT_TRUE(FilesUnder(stage).empty());
  EXPECT_FALSE(fs::exists(stage / "usr/share/starfield-stampede"));
}

TEST_F(InstalledGame, DebianPackageHoldsTheGameAndRunsUnpacked) {
  ASSERT_TRUE(xvfb_.running());
  const fs::path packages = work_ / "packages";
  ASSERT_EQ(RunCommand("cpack --config " + (kBuild / "CPackConfig.cmake").string() + " -B " + packages.string() +
                       " > " + (work_ / "cpack.txt").string() + " 2>&1"),
            0)
      << work_.ReadFile("cpack.txt");
  std::string deb;
  for (const auto& entry : fs::directory_iterator(packages)) {
    if (entry.path().extension() == ".deb") deb = entry.path().string();
  }
  ASSERT_FALSE(deb.empty()) << work_.ReadFile("cpack.txt");
  EXPECT_EQ(fs::path(deb).filename().string().rfind("starfield-stampede_", 0), 0u) << deb;

  const std::string contents = CommandOutput("dpkg-deb -c " + deb);
  for (const char* file : {"./usr/games/starfield-stampede", "./usr/games/starfield-stampede-depotbuilder",
                           "./usr/share/starfield-stampede/base/config/ss.rep",
                           "./usr/share/starfield-stampede/base/textures/menu/Pointer.tga",
                           "./usr/share/applications/net.kelpforge.StarfieldStampede.desktop",
                           "./usr/share/icons/hicolor/512x512/apps/net.kelpforge.StarfieldStampede.png",
                           "./usr/share/metainfo/net.kelpforge.StarfieldStampede.metainfo.xml",
                           "./usr/share/man/man6/starfield-stampede.6.gz",
                           "./usr/share/doc/starfield-stampede/copyright"}) {
    EXPECT_NE(contents.find(std::string(file) + "\n"), std::string::npos) << file;
  }
  EXPECT_EQ(contents.find("conlog.txt"), std::string::npos);
  const std::string depends = CommandOutput("dpkg-deb -f " + deb + " Depends");
  for (const char* library : {"libgl1", "libopenal1", "libsdl2"}) {
    EXPECT_NE(depends.find(library), std::string::npos) << depends;
  }

  const fs::path unpacked = work_ / "unpacked";
  ASSERT_EQ(RunCommand("dpkg-deb -x " + deb + " " + unpacked.string()), 0);
  PlayToTheMenuAndLeave(unpacked / "usr/games", (work_ / "data").string());
  EXPECT_EQ(FilesUnder(work_ / "data").count("starfield-stampede/config/ss.rep"), 1u);

  if (RunCommand("command -v lintian > /dev/null") == 0) {
    EXPECT_EQ(RunCommand("lintian --fail-on error " + deb + " > " + (work_ / "lintian.txt").string() + " 2>&1"), 0)
        << work_.ReadFile("lintian.txt");
  }
}

}  // namespace
