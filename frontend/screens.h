#pragma once
#include <cstdint>

// The screens around the game: intro, title with loading, story pictures,
// game over, game won and credits. Each runs its own frame loop on the main
// thread, driven by elapsed time, and returns when it is done. The GL
// context must be current. Skippable screens end early on Escape, Space or P
// and then pause 200 ms, so the key does not act on the next screen. A quit
// request ends every screen at once, except that the title finishes its load.

// Five seconds of the title picture coming in as two halves; no keys.
void ShowIntro();
// The title while the loader thread fills the catalogue and loads the ship's
// sounds, with a caption and a progress bar from 1.5 s on. Returns once
// everything is loaded (never before 1.5 s), with the shader programs built
// when Settings.glslEnabled.
void ShowTitleAndLoad();
// The first story picture, 15 s; skippable.
void ShowStoryFrame();
// The second story picture with the thrust sound looping, 2.5 s; skippable.
// variant 0 (before level 1): as stored, 1 (before level 5): mirrored left
// to right, 2 (before level 10): upside down.
void ShowStoryPanel(int32_t variant);
// Five seconds of the game-over picture, ten of the game-won one; no keys.
// Both take a final score greater than Settings.highScore (as unsigned
// values) as the new high score, show "NEW HIGH SCORE:%d" and reformat
// frontEnd.highScoreText: "High Score:%d" after a lost game, "High Score: %d" after a
// won one. A new high score is saved (SaveSettings) as soon as it is taken.
// The blend function is set once before the first frame, so from the second
// frame on the pictures are drawn with the one the font's print leaves.
// Reset frontEnd.gameTimer.
void ShowGameOver();
void ShowGameWon();
// The credits picture rising through the screen, 25 s; skippable.
void ShowCredits();
