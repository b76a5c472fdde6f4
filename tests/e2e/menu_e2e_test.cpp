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

// The loading bar's green frame at the foot of the title screen.
bool IsTitle(const Shot& shot) { return shot.Count(160, 450, 480, 480, Greenish) > 100; }

class MenuRun : public GameRun {};

TEST_F(MenuRun, StartsThroughIntroAndTitleIntoTheMenuWhoseStartButtonLightsUnderThePointer) {
  Prepare({.highScore = 100});
  Launch();
  EXPECT_TRUE(WaitForScreen(IsTitle, 40000).valid()) << "no title screen with a loading bar";
  Take("title");
  const Shot menu = WaitForMenu();
  ASSERT_TRUE(menu.valid()) << "no menu; output: " << Output();
  Take("menu");

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
  ClickAt(0, 0);  // Options
  Pause(800);
  Shot before = Take("options");
  EXPECT_FALSE(IsMenu(before));

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
    before = Take();
    Click();
    Pause(700);
    const Shot after = Take();
    EXPECT_GT(after.Changed(before, Inset(group.place, 2)), 30) << group.name;
  }
  EXPECT_EQ(Saved("ScreenWidth"), "640");  // nothing saved before OK

  // OK after a resolution change: the restart notice, then the menu.
  ClickAt(0.5, -0.45);
  Pause(1200);
  const Shot notice = Take("restart-notice");
  EXPECT_FALSE(IsMenu(notice));
  const PixelRect text = Inset(MenuRect(-0.4, 0.4, 0.1, -0.5), 4);
  EXPECT_GT(notice.MeanBrightness(text.x0, text.y0, text.x1, text.y1), 10);
  Click();
  ASSERT_TRUE(WaitForMenu(10000).valid()) << "the notice did not lead back to the menu";
  EXPECT_EQ(Saved("ScreenWidth"), "800");
  EXPECT_EQ(Saved("ScreenHeight"), "600");
  EXPECT_EQ(Saved("ColorDepth"), "16");
  EXPECT_EQ(Saved("GLSL"), "0");
  EXPECT_EQ(Saved("Sound"), "0");
  EXPECT_EQ(Saved("Brightness"), "2");

  // Escape leaves without saving; the change is written at exit.
  ClickAt(0, 0);
  Pause(800);
  ClickAt(0.06, -0.18);  // sound on again
  Pause(700);
  Hold("Escape", 100);
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
  ClickAt(0, -0.145);
  Pause(700);
  const Shot cleared = Take("menu-cleared");
  EXPECT_GT(cleared.Changed(menu, kHighScoreLine), 20);
  EXPECT_TRUE(IsMenu(cleared));
  EXPECT_EQ(Saved("HighScore"), "4321");
  ExitThroughTheMenu();
  EXPECT_EQ(Saved("HighScore"), "0");
}

}  // namespace
}  // namespace e2e
