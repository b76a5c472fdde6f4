// The game's own binary under Xvfb played with a game controller alone (a
// virtual one plugged in by the preload library), and paused by another
// window taking the focus.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "game_run.h"
#include "play_screens.h"
#include "support/other_window.h"

namespace e2e {
namespace {

constexpr const char* kGameWindowTitle = "KelpforgeSoftware | StarfieldStampede";

// The main menu's buttons.
const PixelRect kStart = MenuRect(-0.15, 0.15, 0.2, 0.07);
const PixelRect kExit = MenuRect(-0.15, 0.15, -0.22, -0.35);

// A stick pushed this far moves the menu pointer at a tenth of full tilt,
// about 0.15 of the menu plane a second: slow enough to stop on a button
// seen lit on a screenshot.
constexpr int kSlowTilt = 17830;
constexpr int kFullTilt = 32767;

// The pause draws "PAUSED" in white and its two hint lines in yellow below,
// across the ship's place at the centre: the ship and its shield are white
// and cyan, but never yellow.
bool ShowsPaused(const Shot& shot) {
  const int title = shot.Count(292, 212, 348, 228, Bright);
  const int hints =
      shot.Count(210, 236, 430, 268, [](Rgb c) { return c.r > 150 && c.g > 150 && c.b < 80; });
  return title > 40 && hints > 80;
}
int AllChanged(const Shot& a, const Shot& b) { return a.Changed(b, 0, 0, kWidth, kHeight); }

class PadRun : public GameRun {
 protected:
  PadRun() { signal(SIGPIPE, SIG_IGN); }  // a game that died fails the test, not the runner
  ~PadRun() override {
    if (pad_ >= 0) close(pad_);
  }

  // Launches the game with the virtual controller's library preloaded and
  // waits until the controller is plugged in and takes commands.
  void LaunchWithPad() {
    const std::string pipe = (folder_ / "pad").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    launchEnvironment_ = {{"LD_PRELOAD", SS_VIRTUAL_PAD_LIBRARY}, {"VIRTUAL_PAD_PIPE", pipe}};
    Launch();
    // The library opens its end once the controller is attached.
    ASSERT_TRUE(WaitFor(
        [&] {
          pad_ = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
          return pad_ >= 0 || !Running();
        },
        30000));
    ASSERT_GE(pad_, 0) << "the virtual controller never came; output: " << Output();
    fcntl(pad_, F_SETFL, 0);
  }

  // A game that has ended reads nothing more (the release of the A that
  // chose Exit comes too late): the checks that follow tell a crash.
  void Pad(const std::string& command) {
    const std::string line = command + "\n";
    const ssize_t written = write(pad_, line.data(), line.size());
    if (written < 0 && errno == EPIPE) return;
    ASSERT_EQ(written, static_cast<ssize_t>(line.size())) << command;
  }
  void HoldButton(const std::string& button, int milliseconds) {
    Pad("button " + button + " 1");
    Pause(milliseconds);
    Pad("button " + button + " 0");
  }
  void TiltFor(const std::string& axis, int value, int milliseconds) {
    Pad("axis " + axis + " " + std::to_string(value));
    Pause(milliseconds);
    Pad("axis " + axis + " 0");
  }
  // Tilts the left stick up or down until the screen passes test, then lets
  // it go; the passing shot, or an invalid one.
  Shot SteerPointerUntil(int value, const std::function<bool(const Shot&)>& test) {
    Pad("axis lefty " + std::to_string(value));
    Shot shot = WaitForScreen(test, 8000);
    Pad("axis lefty 0");
    return shot;
  }
  // A as a player presses it; again (at most three times in all) until the
  // screen passes test, since a busy frame can outlast a press.
  Shot PressAUntil(const std::function<bool(const Shot&)>& test) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      HoldButton("a", 150);
      if (Shot shot = WaitForScreen(test, 4000); shot.valid()) return shot;
    }
    return {};
  }

  // Two shots a second apart while paused: the same, showing the pause over
  // play dimmed (the upper left of the view, clear of the texts and of the
  // other window, at about 0.4 of its brightness in play).
  void ExpectStillAndPaused(const std::string& name, const Shot& inPlay) {
    const Shot first = WaitForScreen(ShowsPaused, 5000);
    ASSERT_TRUE(first.valid()) << "no PAUSED";
    EXPECT_LT(first.MeanBrightness(0, 0, kWidth / 2, kHeight / 3),
              0.6 * inPlay.MeanBrightness(0, 0, kWidth / 2, kHeight / 3))
        << "play is not dimmed behind the pause";
    Pause(1000);
    const Shot second = Take(name);
    EXPECT_TRUE(ShowsPaused(second));
    EXPECT_EQ(AllChanged(first, second), 0) << "the paused game moved";
  }
  // Play goes on: the pause has gone and the asteroids move again.
  void ExpectPlayGoesOn(const std::string& after) {
    const Shot resumed = WaitForScreen([](const Shot& shot) { return !ShowsPaused(shot); }, 5000);
    ASSERT_TRUE(resumed.valid()) << "still paused after " << after;
    // A paused game never moves, however long it is watched; a busy machine
    // may take a while to show a moving one.
    const Shot moving = WaitForScreen(
        [&](const Shot& shot) { return !ShowsPaused(shot) && MovedPixels(resumed, shot) > 40; },
        5000);
    EXPECT_TRUE(moving.valid()) << "nothing moves after " << after;
  }

 private:
  int pad_ = -1;
};

TEST_F(PadRun, AGameIsPlayedPausedGivenUpAndLeftWithTheControllerAlone) {
  Prepare({.glsl = 1});
  LaunchWithPad();
  // Lines the controller cannot play are passed over.
  Pad("jump");
  Pad("button nosuch 1");
  Pad("axis leftx far");
  Pad(std::string(5000, 'x'));
  const Shot menu = WaitForMenu();
  ASSERT_TRUE(menu.valid()) << Output();

  // The pointer starts on Options, just below Start.
  const Shot onStart = SteerPointerUntil(
      -kSlowTilt, [&](const Shot& shot) { return shot.Changed(menu, Inset(kStart, 4)) > 100; });
  ASSERT_TRUE(onStart.valid()) << "the stick did not bring the pointer onto Start";
  Keep(onStart, "pad-menu-start");
  ASSERT_TRUE(PressAUntil([](const Shot& shot) { return !IsMenu(shot); }).valid())
      << "A did not start";

  // A skips the story, which alone lasts 17.5 s; the level follows.
  Pause(500);
  HoldButton("a", 150);
  ASSERT_TRUE(WaitForScreen(IsLevelIntro, 12000).valid()) << "A did not skip the story";
  const Shot play = WaitForScreen(IsGameplay, 15000);
  ASSERT_TRUE(play.valid()) << "play did not begin";
  Pause(300);
  const Shot first = Take("pad-play");

  // Turn with the stick, thrust with the trigger, fire with A.
  TiltFor("leftx", -kFullTilt, 300);
  TiltFor("righttrigger", kFullTilt, 500);
  HoldButton("a", 300);
  const Shot moved = Take("pad-moved");
  EXPECT_TRUE(IsGameplay(moved));
  EXPECT_GT(moved.Changed(first, 280, 200, 360, 280), 30) << "the ship did not move";

  HoldButton("start", 150);
  ExpectStillAndPaused("pad-paused", moved);
  HoldButton("start", 150);
  ExpectPlayGoesOn("Start");

  // Back held gives up, from a second pause: the ship still coasting after
  // its thrust can ram its way through the level's last pieces, and a level
  // summary has nothing to give up. The credits follow the game-over picture.
  HoldButton("start", 150);
  ASSERT_TRUE(WaitForScreen(ShowsPaused, 5000).valid()) << "Start did not pause again";
  HoldButton("back", 1500);
  const Shot over = WaitForScreen(IsGameOver, 10000);
  ASSERT_TRUE(over.valid()) << "Back held did not give up";
  ASSERT_TRUE(WaitForScreen([](const Shot& shot) { return !IsGameOver(shot); }, 10000).valid());
  Pause(500);
  Take("pad-credits");
  HoldButton("b", 150);
  const Shot back = WaitForMenu(10000);
  ASSERT_TRUE(back.valid()) << "B did not skip the credits";

  // The pointer is still on Start; down to Exit.
  const Shot onExit = SteerPointerUntil(
      kSlowTilt, [&](const Shot& shot) { return shot.Changed(back, Inset(kExit, 4)) > 100; });
  ASSERT_TRUE(onExit.valid()) << "the stick did not bring the pointer onto Exit";
  int status = -1;
  for (int attempt = 0; attempt < 3 && status == -1; ++attempt) {
    HoldButton("a", 150);
    status = WaitForExit(attempt < 2 ? 5000 : 20000);
  }
  ASSERT_NE(status, -1) << "A on Exit did not end the game";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_NE(ConsoleLog().find("Controller connected: Virtual Test Pad"), std::string::npos);
}

TEST_F(PadRun, AnotherWindowTakingTheFocusPausesPlayUntilPIsPressed) {
  Prepare({.glsl = 0});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  ASSERT_TRUE(ClickAtUntil(0, 0.135, [](const Shot& shot) { return !IsMenu(shot); }).valid());
  Pause(500);
  HoldKey("space", 100);
  ASSERT_TRUE(WaitForScreen(IsLevelIntro, 15000).valid()) << "no level intro";
  const Shot play = WaitForScreen(IsGameplay, 15000);
  ASSERT_TRUE(play.valid()) << "play did not begin";
  const std::string game = FindWindowNamed(kGameWindowTitle);
  ASSERT_FALSE(game.empty());

  // Up in a corner, clear of the pause's texts.
  OtherWindow other(kWidth - 80, 0, 80, 60, std::stoul(game));
  ASSERT_TRUE(other.shown());
  ASSERT_EQ(RunCommand("xdotool windowfocus --sync " + other.id()), 0);
  ExpectStillAndPaused("focus-paused", play);

  ASSERT_EQ(RunCommand("xdotool windowfocus --sync " + game), 0);
  Pause(500);
  EXPECT_TRUE(ShowsPaused(Take())) << "the focus coming back is not a press of P";
  // One press goes on, as it does after a pause that P began: the P still
  // down as play goes on must not pause it again.
  HoldKey("p", 150);
  ExpectPlayGoesOn("one press of P");

  Signal(SIGTERM);
  const int status = WaitForExit(20000);
  EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace e2e
