#pragma once
#include <cstddef>
#include <cstdint>

class BitmapFont;
class MusicStream;

// The objects of one run that the screens share. The game flow creates them
// after the engine has started and destroys them at shutdown; the screens
// only use them. Main thread only.

constexpr std::size_t kHighScoreTextSize = 64;

struct FrontEndRecord {
  // The game's frame timer: acquired once, never released. The main menu and
  // the game-over and game-won screens reset it; the game's loops read it.
  int32_t gameTimer = -1;
  // Music of the levels, opened on "sound/music/SS_upbeat-tech.ogg" and
  // played by the gameplay loop.
  MusicStream* gameplayMusic = nullptr;
  // "fonts/default.tga" in cells of a 40 × 30 grid (first) and an 80 × 60
  // grid (second).
  BitmapFont* firstFont = nullptr;
  BitmapFont* secondFont = nullptr;
  // The menu music while MainMenu runs, so the options screen can switch it
  // with the sound setting; null at all other times.
  MusicStream* menuMusic = nullptr;
  // The main menu's line, "High Score:%d" with Settings.highScore (the won
  // game writes it with a blank after the colon).
  char highScoreText[kHighScoreTextSize] = {};
};
extern FrontEndRecord frontEnd;

// Formats frontEnd.highScoreText from a format with one %d.
void FormatHighScoreText(const char* format, int32_t highScore);

// Sleeps the main thread. The screens act while a key or button is held, so
// they pause after acting instead of detecting edges: 200 ms after a change,
// 500 ms after leaving a menu screen.
void PauseScreen(int32_t milliseconds);
// Tests replace the sleep (to run without waiting and to see the pauses);
// nullptr puts the real sleep back.
using ScreenPauseFunction = void (*)(int32_t milliseconds);
void SetScreenPauseFunction(ScreenPauseFunction pause);
