#pragma once
#include <cstdint>

class Texture;

// The main menu, the options screen and the restart notice. Each runs its
// own frame loop on the main thread until the player decides, drawn from
// the catalogue's menu sprites (the loader must have finished) with the
// process-wide menu pointer. The GL context must be current. A quit request
// (platform/quit_request.h) ends each of them at once: the main menu then
// returns Exit, the options return "left" with their changes in the live
// settings, which the shutdown saves.

// Selection codes between the menus and the game flow.
constexpr int32_t kSelectNewGame = 0;        // 1..15: a game started at that level
constexpr int32_t kSelectClearHighScore = 16;
constexpr int32_t kSelectExit = 17;
constexpr int32_t kSelectShowMenu = 18;
constexpr int32_t kOptionsAccepted = 19;     // OK, nothing that needs a restart
constexpr int32_t kOptionsLeft = 20;         // Escape: nothing saved
constexpr int32_t kOptionsNeedRestart = 21;  // OK after a resolution, depth or GLSL click

// Start: kSelectNewGame; Exit, Escape or the quit request: kSelectExit.
// Plays "sound/music/SS_menu.ogg" looping (in frontEnd.menuMusic) while it
// runs and shows frontEnd.highScoreText. Options runs the options screen and
// saves the settings unless it was left with Escape; Clear High clears the
// high score without saving. Resets frontEnd.gameTimer.
int32_t MainMenu();

// Edits the live Settings as buttons are clicked: resolution, colour depth
// and GLSL for the next start (restart flag), sound (switches frontEnd.menuMusic) and
// brightness (applied to the display at once); Controls runs the Controls
// screen (controls_screen.h) and comes back here. Returns kOptionsAccepted,
// kOptionsLeft or kOptionsNeedRestart; saves nothing. pointer: the main
// menu's pointer picture.
int32_t OptionsScreen(const Texture& pointer);

// Tells the player that the change needs a restart; returns after a click
// or any key, 500 ms later.
void RestartNoticeScreen(const Texture& pointer);

// Settings.highScore = 0 and frontEnd.highScoreText says so; the settings are written
// at the next save.
void ClearHighScore();
