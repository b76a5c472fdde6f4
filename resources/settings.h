#pragma once
#include <cstdint>

// The player's settings and high score, kept in "config/ss.rep" under the
// asset directory. Written by the main thread only.
struct SettingsRecord {
  int32_t screenWidth = 800;
  int32_t screenHeight = 600;
  int32_t colorDepth = 16;
  int32_t brightness = 0;     // gamma step 0..2
  bool glslEnabled = false;   // shaders in use during this run
  bool glslRequested = false; // the player's saved choice
  bool soundEnabled = false;   // sound plays during this run
  bool soundWithheld = false;  // the file asks for sound, but no audio device
                               // opened: off for this run, still saved as on
  int32_t highScore = 0;
  bool fullScreen = false;    // not stored; set by every LoadSettings
};

extern SettingsRecord Settings;

// Start-up, before the engine: defaults, then the values the file holds.
void LoadSettings();
// Shutdown and after the options screen: writes the seven values back,
// keeping every other section and value of the file.
void SaveSettings();
