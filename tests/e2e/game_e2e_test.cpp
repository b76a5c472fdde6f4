// Whole games of the game's own binary under Xvfb: from the menu through the
// story into level 1, play with real keys, the ending, the credits and back.
#include "game_run.h"
#include "play_screens.h"

namespace e2e {
namespace {

// The ship sits in the middle when a level starts.
bool ShowsShip(const Shot& shot) { return shot.Count(295, 215, 345, 265, Bright) > 15; }
// Light pixels where a score's second and third digits stand ("Score:" and
// a lone 0 end before them): every scoring hit is worth at least 250.
int ScoreDigitPixels(const Shot& shot) {
  return shot.Count(216, 458, 248, 476, [](Rgb c) { return c.r > 120 && c.g > 120 && c.b > 120; });
}
// "NEW HIGH SCORE:N" in green on row 27 of the 40 × 30 grid.
bool ShowsRecord(const Shot& shot) { return shot.Count(0, 28, 640, 52, Greenish) > 30; }

class GameRunE2e : public GameRun {
 protected:
  // From the menu: Start, the story frame skipped with Space, the story
  // panel, the level intro, until play begins. Returns the first play shot.
  Shot StartALevel(bool keepShots) {
    const Shot story = ClickAtUntil(0, 0.135, [](const Shot& shot) { return !IsMenu(shot); });
    EXPECT_TRUE(story.valid()) << "Start did not leave the menu";
    Pause(500);
    if (keepShots) Take("story-frame");
    HoldKey("space", 100);
    Pause(600);
    if (keepShots) Take("story-panel");
    const Shot intro = WaitForScreen(IsLevelIntro, 15000);
    EXPECT_TRUE(intro.valid()) << "no \"Level: 1\" intro";
    if (keepShots) Keep(intro, "level-intro");
    return WaitForScreen(IsGameplay, 15000);
  }

  // Q, the game-over screen, the credits skipped with Escape, the menu.
  // Returns the last shot of the game-over screen, where the picture has
  // faded in and the record line is at its brightest.
  Shot LoseAndReturnToTheMenu(const std::string& gameOverShot) {
    HoldKey("q", 100);
    const Shot over = LastWhile(WaitForScreen(IsGameOver, 10000), IsGameOver);
    EXPECT_TRUE(over.valid()) << "no game-over screen";
    Keep(over, gameOverShot);
    Pause(1500);
    Take("credits");
    HoldKey("Escape", 100);
    EXPECT_TRUE(WaitForMenu(10000).valid()) << "no menu after the credits";
    return over;
  }

  void ExpectCleanLog() {
    const std::string log = ConsoleLog();
    EXPECT_NE(log.find("llvmpipe"), std::string::npos);
    EXPECT_EQ(log.find("Shader"), std::string::npos) << log;
  }
};

TEST_F(GameRunE2e, AGameWithShadersIsPlayedGivenUpAndLeavesAnEqualledHighScoreAlone) {
  Prepare({.glsl = 1, .highScore = 0});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  const Shot play = StartALevel(true);
  ASSERT_TRUE(play.valid()) << "play did not begin";
  Pause(300);
  const Shot first = Take("gameplay-glsl");
  EXPECT_TRUE(ShowsShip(first));
  Pause(1000);
  EXPECT_GT(MovedPixels(first, Take()), 40) << "no asteroid moves";

  // A score of 0 only equals the stored 0: no record. The ship stays where it
  // began: flying, it may ram an asteroid or pick up a power-up, and score.
  const Shot over = LoseAndReturnToTheMenu("game-over");
  EXPECT_FALSE(ShowsRecord(over));
  ExitThroughTheMenu();
  EXPECT_EQ(Saved("HighScore"), "0");
  ExpectCleanLog();
}

TEST_F(GameRunE2e, TheFixedFunctionPathShowsTheShipAndAsteroidsToo) {
  Prepare({.glsl = 0});
  Launch();
  ASSERT_TRUE(WaitForMenu().valid()) << Output();
  ASSERT_TRUE(StartALevel(false).valid()) << "play did not begin";
  Pause(300);
  const Shot first = Take("gameplay-fixed");
  EXPECT_TRUE(ShowsShip(first));
  Pause(1000);
  EXPECT_GT(MovedPixels(first, Take()), 40) << "no asteroid moves";

  // Turn and thrust: the ship leaves its place.
  HoldKey("Left", 300);
  HoldKey("Up", 500);
  Pause(300);
  const Shot moved = Take("gameplay-moved");
  EXPECT_TRUE(IsGameplay(moved));
  EXPECT_GT(moved.Changed(first, 280, 200, 360, 280), 30);
  LoseAndReturnToTheMenu("game-over-fixed");
  ExitThroughTheMenu();
  ExpectCleanLog();
}

TEST_F(GameRunE2e, ABeatenHighScoreIsShownAndSaved) {
  Prepare({.glsl = 0, .highScore = 0});
  Launch();
  const Shot menu = WaitForMenu();
  ASSERT_TRUE(menu.valid()) << Output();
  const Shot play = StartALevel(false);
  ASSERT_TRUE(play.valid()) << "play did not begin";

  // Spin and fire until the score has more than one digit, seen on two
  // shots so that an asteroid or debris drifting over the HUD cannot pass
  // for points.
  const int before = ScoreDigitPixels(play);
  int seen = 0;
  Shot now;
  for (int round = 0; round < 30 && seen < 2; ++round) {
    RunCommand("xdotool keydown space keydown Left sleep 1.5 keyup Left keyup space");
    now = Take();
    if (IsGameplay(now) && ScoreDigitPixels(now) > before + 12) ++seen;
  }
  Keep(now, "gameplay-scored");
  ASSERT_EQ(seen, 2) << "no points in 45 s of firing";

  const Shot over = LoseAndReturnToTheMenu("game-over-record");
  EXPECT_TRUE(ShowsRecord(over));
  const Shot after = WaitForMenu(5000);
  EXPECT_GT(after.Changed(menu, 240, 410, 400, 426), 20) << "the menu still shows the old high score";
  ExitThroughTheMenu();
  EXPECT_GT(std::atoi(Saved("HighScore").c_str()), 0);
}

}  // namespace
}  // namespace e2e
