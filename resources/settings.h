#pragma once
#include <cstdint>
#include <vector>

#include "platform/controls.h"

// Volume steps 0 (silent) .. 10 (the mix as it was before the steps existed);
// a step scales the amplitude linearly, so 5 is 6 dB down.
constexpr int32_t kFullVolume = 10;

// The player's settings and high score, kept in "config/ss.rep" under the
// asset directory. Written by the main thread only.
struct SettingsRecord {
  int32_t screenWidth = 800;
  int32_t screenHeight = 600;
  int32_t colorDepth = 16;
  int32_t brightness = 0;     // gamma step 0..2
  bool glslEnabled = false;   // shaders in use during this run
  bool glslRequested = false; // the player's saved choice
  bool soundEnabled = false;  // sound plays during this run
  bool soundWithheld = false;  // the file asks for sound, but no audio device
                               // opened: off for this run, still saved as on
  int32_t highScore = 0;
  bool fullScreen = false;    // stored as kFullScreenKey; missing means full screen
  // Not stored: the file's screen size was one no window can show (below
  // 320 x 240 or above 16384 on a side) and LoadSettings put 640 x 480 in
  // its place; the caller logs it and saves.
  bool screenSizeReplaced = false;
  // The Controls screen's: stored as kKeyBindingKeys, kPadBindingKeys,
  // kRumbleKey and the two volume keys; a file without them gives these
  // defaults.
  ControlBindings bindings = kDefaultBindings;
  bool rumble = true;
  int32_t musicVolume = kFullVolume;    // 0..kFullVolume
  int32_t effectsVolume = kFullVolume;  // 0..kFullVolume
};

extern SettingsRecord Settings;

// Start-up, before the engine: defaults, then the values the file holds.
// A width or height outside kMinScreenWidth x kMinScreenHeight ..
// kMaxScreenSide becomes 640 x 480, with screenSizeReplaced set. Of the
// Controls keys, a value that cannot be used (a key code that is not
// BindableKey, a button that is not BindablePadButton, a volume outside
// 0..kFullVolume, a rumble switch other than 0 or 1) gives that key's
// default; of two actions on one key or button the first keeps it and the
// later gets its default, or another free default when that is taken.
void LoadSettings();

// A smaller window cannot hold the menus; a larger one is past what any GL
// renders into (a width of 0 would open a 1 x 1 window, saved back forever).
constexpr int32_t kMinScreenWidth = 320;
constexpr int32_t kMinScreenHeight = 240;
constexpr int32_t kMaxScreenSide = 16384;
// Full screen or a window, stored as a type-3 value of the game's section.
constexpr const char* kFullScreenKey = "FullScreen";
constexpr int32_t kFullScreenOn = 1;
constexpr int32_t kFullScreenOff = 0;

// Type-3 keys of the game's section, each written only once it differs from
// its default or the file already has it.
constexpr const char* kKeyBindingKeys[kActionCount] = {"KeyTurnLeft", "KeyTurnRight", "KeyThrust",
                                                       "KeyFire",     "KeyGiveUp",    "KeyPause"};
constexpr const char* kPadBindingKeys[kActionCount] = {"PadTurnLeft", "PadTurnRight", "PadThrust",
                                                       "PadFire",     "PadGiveUp",    "PadPause"};
constexpr const char* kRumbleKey = "Rumble";
constexpr const char* kMusicVolumeKey = "MusicVolume";
constexpr const char* kEffectsVolumeKey = "EffectsVolume";
constexpr int32_t kRumbleOn = 1;
constexpr int32_t kRumbleOff = 0;

// The Controls screen's keys with the values a record holds, in file order;
// of a default SettingsRecord, the defaults.
struct StoredValue {
  const char* key;
  int32_t value;
};
std::vector<StoredValue> ControlsKeyValues(const SettingsRecord& record);

// Shutdown and after the options screen: writes the seven values back, and
// kFullScreenKey when the file has it or the game is windowed, and each of
// the Controls keys when the file has it or its value is not the default,
// keeping every other section and value of the file.
void SaveSettings();
