#pragma once
#include <cstdint>

class Level;

// The spine of the program: the start-up and shutdown sequence, the menu
// loop with its selection codes and the game of fifteen levels. Everything
// here runs on the main thread, which owns the GL context.

// The program entry: loads the settings, starts the engine (on failure the
// engine is stopped, then one message box; returns 1), creates the run's
// front-end objects, shows the intro and the title while loading, runs the
// main menu until it returns kSelectExit or the quit request is raised, then shuts
// down in order, saves the settings and returns 0.
int GameMain();

// What the flow does with a selection code (frontend/menus.h):
// kSelectNewGame plays from the beginning with the story, 1..15 plays from
// that level without it, kSelectClearHighScore clears the high score;
// anything else shows the menu again.
void ActOnSelection(int32_t code);

// One game from startLevel (0: the story, then level 1; else 1..15). Ends
// with the game-won or game-over screen and the credits. Needs the run's
// front-end objects and playerRecord.
void PlayGame(int32_t startLevel);

// The steps the flow takes, in one table that tests may watch or replace,
// as the GL table is replaced. Each entry is the operation of its name; the
// level steps pass the run's frontEnd.gameTimer, first font and gameplay
// music.
struct FlowSteps {
  bool (*startEngine)();
  bool (*stopEngine)();
  void (*showErrorMessage)(const char* caption, const char* text);
  void (*showIntro)();
  void (*showTitleAndLoad)();
  int32_t (*mainMenu)();
  void (*showStoryFrame)();
  void (*showStoryPanel)(int32_t variant);
  void (*levelIntro)(const Level& level);
  bool (*gameplayLoop)(Level& level);
  void (*levelSummary)(const Level& level);
  void (*showGameWon)();
  void (*showGameOver)();
  void (*showCredits)();
};
// Main thread. Holds the real operations until a test changes it.
extern FlowSteps flowSteps;
// The real operations, for putting the table back.
extern const FlowSteps kGameFlowSteps;
