// The game's own binary under Xvfb from the intro to the main menu and
// through the options screen, driven with real X input.
#include "game_run.h"

namespace e2e {
namespace {

// The main menu's buttons.
const PixelRect kStart = MenuRect(-0.15, 0.15, 0.2, 0.07);
const PixelRect kOptions = MenuRect(-0.17, 0.17, 0.06, -0.07);
const PixelRect kClearHigh = MenuRect(-0.27, 0.27, -0.08, -0.21);
const PixelRect kExit = MenuRect(-0.15, 0.15, -0.22, -0.35);
const PixelRect kHighScoreLine = {240, 410, 400, 426};

// The title picture's orange lettering, which stands lower than the menu's;
// the picture shows from the first fraction of a second, the bar only while
// the catalogue loads.
bool IsTitle(const Shot& shot) {
  return shot.Count(170, 150, 470, 200, [](Rgb c) { return c.r > 200 && c.g > 90 && c.g < 200 && c.b < 100; }) > 400;
}
// The loading bar's green frame at the foot of the title screen.
bool ShowsLoadingBar(const Shot& shot) { return shot.Count(160, 450, 480, 480, Greenish) > 100; }

// The options screen's pale yellow labels down the left side.
bool IsOptions(const Shot& shot) {
  return shot.Count(15, 160, 150, 380, [](Rgb c) { return c.r > 200 && c.g > 170 && c.b < 170; }) > 1000;
}

class MenuRun : public GameRun {};

TEST_F(MenuRun, StartsThroughIntroAndTitleIntoTheMenuWhoseStartButtonLightsUnderThePointer) {
  Prepare({.highScore = 100});
  Launch();
  // The picture kept shows the bar when the load is slow enough to catch it.
  const Shot title = LastWhile(WaitForScreen(IsTitle, 40000), IsTitle, ShowsLoadingBar);
  EXPECT_TRUE(title.valid()) << "no title screen";
  Keep(title, "title");
  const Shot menu = WaitForMenu();
  ASSERT_TRUE(menu.valid()) << "no menu; output: " << Output();
  Keep(menu, "menu");

  for (const PixelRect& button : {kStart, kOptions, kClearHigh, kExit}) {
    const PixelRect inside = Inset(button, 4);
    EXPECT_GT(menu.MeanBrightness(inside.x0, inside.y0, inside.x1, inside.y1), 30) << button.x0 << "," << button.y0;
  }
  // Between the buttons and the asteroid picture lies bare background.
  const PixelRect beside = MenuRect(0.3, 0.45, 0.2, -0.05);
  EXPECT_LT(menu.MeanBrightness(beside.x0, beside.y0, beside.x1, beside.y1), 12);

  // The pointer starts on Options; moved onto Start, Start lights up and
  // Options goes back to normal.
  PointAt(0, 0.135);
  Pause(600);
  const Shot hovered = Take("menu-start-active");
  EXPECT_GT(hovered.Changed(menu, Inset(kStart, 4)), 100);
  EXPECT_GT(hovered.Changed(menu, Inset(kOptions, 4)), 100);
  EXPECT_EQ(hovered.Changed(menu, Inset(kExit, 4)), 0);

  ExitThroughTheMenu();
  const std::string log = ConsoleLog();
  EXPECT_NE(log.find("loading library: libGL.so.1... Success!"), std::string::npos);
  EXPECT_NE(log.find("llvmpipe"), std::string::npos);
  EXPECT_EQ(log.find("Shader"), std::string::npos) << log;
  EXPECT_EQ(Saved("HighScore"), "100");
}

TEST_F(MenuRun, OptionsCycleOnClickAndAreSavedAfterOkButNotAfterEscape) {
  Prepare({.glsl = 1, .sound = 1, .colorDepth = 32, .brightness = 0});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  const Shot options = ClickAtUntil(0, 0, IsOptions);
  ASSERT_TRUE(options.valid()) << "Options did not open";
  Keep(options, "options");

  struct Group {
    const char* name;
    double x, y;
    PixelRect place;
  };
  const Group groups[] = {
      {"resolution", 0.2, 0.15, MenuRect(0, 0.4, 0.2, 0.1)},
      {"colour depth", 0.15, 0.04, MenuRect(0, 0.3, 0.09, -0.01)},
      {"GLSL", 0.06, -0.07, MenuRect(0, 0.125, -0.02, -0.12)},
      {"sound", 0.06, -0.18, MenuRect(0, 0.125, -0.13, -0.23)},
      {"brightness", 0.1, -0.3, MenuRect(0, 0.225, -0.24, -0.33)},
  };
  for (const Group& group : groups) {
    PointAt(group.x, group.y);
    Pause(400);
    EXPECT_TRUE(ClickChanging(Inset(group.place, 2)).valid()) << group.name << " did not change";
  }
  EXPECT_EQ(Saved("ScreenWidth"), "640");  // nothing saved before OK

  // OK after a resolution change: the restart notice, then the menu.
  const Shot notice = ClickAtUntil(0.5, -0.45, [](const Shot& shot) { return !IsOptions(shot) && !IsMenu(shot); });
  ASSERT_TRUE(notice.valid()) << "OK did not leave the options";
  Pause(500);
  Take("restart-notice");
  const PixelRect text = Inset(MenuRect(-0.4, 0.4, 0.1, -0.5), 4);
  EXPECT_GT(notice.MeanBrightness(text.x0, text.y0, text.x1, text.y1), 10);
  ASSERT_TRUE(ClickUntil(IsMenu).valid()) << "the notice did not lead back to the menu, its text in place";
  EXPECT_EQ(Saved("ScreenWidth"), "800");
  EXPECT_EQ(Saved("ScreenHeight"), "600");
  EXPECT_EQ(Saved("ColorDepth"), "16");
  EXPECT_EQ(Saved("GLSL"), "0");
  EXPECT_EQ(Saved("Sound"), "0");
  EXPECT_EQ(Saved("Brightness"), "2");

  // Escape leaves without saving; the change is written at exit.
  ASSERT_TRUE(ClickAtUntil(0, 0, IsOptions).valid());
  PointAt(0.06, -0.18);  // sound on again
  Pause(300);
  EXPECT_TRUE(ClickChanging(Inset(groups[3].place, 2)).valid());
  HoldKey("Escape", 100);
  ASSERT_TRUE(WaitForMenu(10000).valid());
  EXPECT_EQ(Saved("Sound"), "0");
  ExitThroughTheMenu();
  EXPECT_EQ(Saved("Sound"), "1");
  EXPECT_EQ(Saved("ScreenWidth"), "800");
}

TEST_F(MenuRun, ClearHighShowsAtOnceAndReachesTheFileAtTheNextSave) {
  Prepare({.highScore = 4321});
  Launch();
  const Shot menu = WaitForMenu();
  ASSERT_TRUE(menu.valid()) << Output();
  PointAt(0, -0.145);
  Pause(300);
  const Shot cleared = ClickChanging(kHighScoreLine);
  EXPECT_TRUE(cleared.valid()) << "the high-score line did not change";
  Keep(cleared, "menu-cleared");
  EXPECT_TRUE(IsMenu(cleared));
  EXPECT_EQ(Saved("HighScore"), "4321");
  ExitThroughTheMenu();
  EXPECT_EQ(Saved("HighScore"), "0");
}

// Ctrl+C or kill in the options screen: a changed option and a cleared high
// score, not yet saved, reach the file, and the game ends with 0.
TEST_F(MenuRun, SigtermInTheOptionsSavesWhatChangedAndEndsWithZero) {
  Prepare({.sound = 1, .highScore = 4321});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  PointAt(0, -0.145);
  Pause(300);
  ASSERT_TRUE(ClickChanging(kHighScoreLine).valid()) << "Clear High did not clear";
  ASSERT_TRUE(ClickAtUntil(0, 0, IsOptions).valid()) << "Options did not open";
  PointAt(0.06, -0.18);
  Pause(400);
  ASSERT_TRUE(ClickChanging(Inset(MenuRect(0, 0.125, -0.13, -0.23), 2)).valid())
      << "sound did not change";
  EXPECT_EQ(Saved("Sound"), "1");

  Signal(SIGTERM);
  const int status = WaitForExit(10000);
  ASSERT_NE(status, -1) << "SIGTERM did not end the game";
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_EQ(Saved("Sound"), "0");
  EXPECT_EQ(Saved("HighScore"), "0");
}

}  // namespace
}  // namespace e2e
