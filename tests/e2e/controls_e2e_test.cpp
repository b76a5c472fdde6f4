// A key rebound on the Controls screen of the game's own binary under Xvfb,
// with real X input: it plays in the game, it is kept in the settings file,
// and Defaults puts the old key back on the next start.
#include "game_run.h"
#include "play_screens.h"

namespace e2e {
namespace {

// Where the screens' buttons stand on the menu plane.
constexpr double kMenuStartY = 0.135;
constexpr double kOptionsControlsX = -0.4, kOptionsControlsY = -0.445;
constexpr double kOkOrBackX = 0.5, kOkOrBackY = -0.45;  // Back stands where OK does
constexpr double kDefaultsX = -0.45, kDefaultsY = -0.45;
// Turn left's key name, the first row of the key column; the pointer rests
// at the left end of the field, clear of the name.
const PixelRect kTurnLeftKey = MenuRect(-0.15, 0.2, 0.34, 0.275);
constexpr double kTurnLeftKeyX = -0.13, kTurnLeftKeyY = 0.3075;

// The code the settings file gives a key, as the game numbers keys.
constexpr const char* kLeftCode = "37";
constexpr const char* kACode = "83";

// The options screen's pale yellow labels down the left side; the Controls
// screen has them too.
bool ShowsGoldLabels(const Shot& shot) {
  return shot.Count(15, 160, 150, 380, [](Rgb c) { return c.r > 200 && c.g > 170 && c.b < 170; }) >
         1000;
}
// The Controls screen's cyan column titles, where the options have their
// orange title.
bool IsControls(const Shot& shot) {
  return ShowsGoldLabels(shot) && shot.Count(300, 62, 570, 84, [](Rgb c) {
    return c.b > 150 && c.g > 150 && c.r < 130;
  }) > 60;
}
bool IsOptions(const Shot& shot) { return ShowsGoldLabels(shot) && !IsControls(shot); }

// The ship's place in the middle of the play screen.
int ShipChanged(const Shot& a, const Shot& b) { return a.Changed(b, 280, 200, 360, 280); }

class ControlsRun : public GameRun {
 protected:
  // From the menu to the Controls screen, through the options.
  void OpenControls() {
    ASSERT_TRUE(ClickAtUntil(0, 0, IsOptions).valid()) << "Options did not open";
    ASSERT_TRUE(ClickAtUntil(kOptionsControlsX, kOptionsControlsY, IsControls).valid())
        << "Controls did not open";
  }
  // Back to the options, then OK, which saves, into the menu.
  void BackAndOk() {
    ASSERT_TRUE(ClickAtUntil(kOkOrBackX, kOkOrBackY, IsOptions).valid()) << "Back did not return";
    ASSERT_TRUE(ClickUntil(IsMenu).valid()) << "OK did not lead to the menu";
  }
};

TEST_F(ControlsRun, AReboundTurnKeyPlaysIsSavedAndDefaultsPutsTheOldOneBackAfterARestart) {
  Prepare({.glsl = 0});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  ASSERT_NO_FATAL_FAILURE(OpenControls());

  // Turn left from Left to A: the click asks for a key, A answers it.
  PointAt(kTurnLeftKeyX, kTurnLeftKeyY);
  Pause(400);
  const Shot before = Take("controls");
  const Shot asking =
      ClickUntil([&](const Shot& now) { return now.Changed(before, kTurnLeftKey) > 30; });
  ASSERT_TRUE(asking.valid()) << "the click did not ask for a key";
  Keep(asking, "controls-asking");
  HoldKey("a", 150);
  const Shot bound = WaitForScreen(
      [&](const Shot& now) {
        return now.Changed(asking, kTurnLeftKey) > 30 && now.Changed(before, kTurnLeftKey) > 10;
      },
      5000);
  ASSERT_TRUE(bound.valid()) << "A was not taken";
  Keep(bound, "controls-bound");
  EXPECT_EQ(Saved("KeyTurnLeft"), "");  // nothing is saved before OK
  ASSERT_NO_FATAL_FAILURE(BackAndOk());
  EXPECT_EQ(Saved("KeyTurnLeft"), kACode);

  // In play, Left no longer turns the ship and A does. Left goes first, so
  // that any change it made would be seen against the ship as it started.
  // No thrust and no shots: the ship stays in its place.
  ASSERT_TRUE(ClickAtUntil(0, kMenuStartY, [](const Shot& shot) { return !IsMenu(shot); }).valid());
  Pause(500);
  HoldKey("space", 100);
  ASSERT_TRUE(WaitForScreen(IsLevelIntro, 15000).valid()) << "no level intro";
  ASSERT_TRUE(WaitForScreen(IsGameplay, 15000).valid()) << "play did not begin";
  Pause(300);
  const Shot still = Take("rebound-play");
  HoldKey("Left", 400);
  const Shot afterLeft = Take();
  HoldKey("a", 400);
  const Shot turned = Take("rebound-turned");
  EXPECT_LT(ShipChanged(afterLeft, still), 10) << "Left still turns the ship";
  EXPECT_GT(ShipChanged(turned, afterLeft), 30) << "A does not turn the ship";

  // Given up, the credits skipped, and out through Exit.
  HoldKey("q", 100);
  ASSERT_TRUE(WaitForScreen(IsGameOver, 10000).valid()) << "Q did not give up";
  ASSERT_TRUE(WaitForScreen([](const Shot& shot) { return !IsGameOver(shot); }, 10000).valid());
  Pause(500);
  HoldKey("Escape", 100);
  ASSERT_TRUE(WaitForMenu(10000).valid()) << "no menu after the credits";
  ASSERT_NO_FATAL_FAILURE(ExitThroughTheMenu());
  EXPECT_EQ(Saved("KeyTurnLeft"), kACode);

  // The next start reads A back; Defaults puts Left in its place, and the
  // file keeps the key with Left's code.
  ASSERT_NO_FATAL_FAILURE(Relaunch());
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  ASSERT_NO_FATAL_FAILURE(OpenControls());
  PointAt(kTurnLeftKeyX, kTurnLeftKeyY);
  Pause(400);
  const Shot readBack = Take("controls-read-back");
  EXPECT_LT(readBack.Changed(bound, kTurnLeftKey), 10) << "the restart lost A";
  PointAt(kDefaultsX, kDefaultsY);
  Pause(400);
  const Shot defaults = ClickChanging(kTurnLeftKey);
  ASSERT_TRUE(defaults.valid()) << "Defaults did not change turn left's key";
  Keep(defaults, "controls-defaults");
  ASSERT_NO_FATAL_FAILURE(BackAndOk());
  EXPECT_EQ(Saved("KeyTurnLeft"), kLeftCode);
  ASSERT_NO_FATAL_FAILURE(ExitThroughTheMenu());
  EXPECT_EQ(Saved("KeyTurnLeft"), kLeftCode);
}

}  // namespace
}  // namespace e2e
