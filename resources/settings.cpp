#include "resources/settings.h"

#include "platform/asset_directory.h"
#include "resources/repository.h"

SettingsRecord Settings;

namespace {

constexpr const char* settingsFile = "config/ss.rep";
constexpr const char* settingsSection = "StarfieldStampede";

}  // namespace

void LoadSettings() {
  // Runs before the engine has started the asset directory; a tool or test
  // that already started one on its own directory keeps it.
  bool ownDirectory = !AssetDirectoryStarted();
  if (ownDirectory && !StartAssetDirectory()) return;
  Settings.highScore = 0;
  Repository repository;
  repository.Load(settingsFile);  // a damaged file still yields what it held
  if (ownDirectory) StopAssetDirectory();

  Settings.screenWidth = 640;
  Settings.screenHeight = 480;
  Settings.colorDepth = 16;
  int32_t glsl = 0;
  int32_t sound = 0;
  int32_t fullScreen = kFullScreenOn;  // a file from before windowed play
  repository.GetInt(settingsSection, "ScreenWidth", &Settings.screenWidth);
  repository.GetInt(settingsSection, "ScreenHeight", &Settings.screenHeight);
  repository.GetInt(settingsSection, "ColorDepth", &Settings.colorDepth);
  repository.GetInt(settingsSection, "Brightness", &Settings.brightness);
  repository.GetInt(settingsSection, "GLSL", &glsl);
  repository.GetInt(settingsSection, "Sound", &sound);
  repository.GetInt(settingsSection, "HighScore", &Settings.highScore);
  repository.GetInt(settingsSection, kFullScreenKey, &fullScreen);

  Settings.screenSizeReplaced =
      Settings.screenWidth < kMinScreenWidth || Settings.screenHeight < kMinScreenHeight ||
      Settings.screenWidth > kMaxScreenSide || Settings.screenHeight > kMaxScreenSide;
  if (Settings.screenSizeReplaced) {
    Settings.screenWidth = 640;
    Settings.screenHeight = 480;
  }

  // Only 0 asks for a window: a damaged value keeps the old full screen.
  Settings.fullScreen = fullScreen != kFullScreenOff;
  // Only the value 1 sets a flag; anything else leaves it as it was.
  if (glsl == 1) Settings.glslEnabled = true;
  Settings.glslRequested = Settings.glslEnabled;
  if (sound == 1) Settings.soundEnabled = true;
  Settings.soundWithheld = false;
}

void SaveSettings() {
  Repository repository;
  repository.Load(settingsFile);  // whatever it held is carried through
  int32_t glsl = Settings.glslRequested ? 1 : 0;
  int32_t sound = Settings.soundEnabled || Settings.soundWithheld ? 1 : 0;
  // Keys the file lacks are added, so a missing or damaged file is replaced
  // by one that keeps the settings and the high score.
  const struct {
    const char* key;
    const int32_t* value;
  } entries[] = {
      {"ScreenWidth", &Settings.screenWidth}, {"ScreenHeight", &Settings.screenHeight},
      {"ColorDepth", &Settings.colorDepth},   {"Brightness", &Settings.brightness},
      {"GLSL", &glsl},                        {"Sound", &sound},
      {"HighScore", &Settings.highScore},
  };
  for (const auto& entry : entries) {
    repository.SetOrAddValue(settingsSection, entry.key, entry.value, repositoryIntType);
  }
  // Missing means full screen, so a file that never left it stays as it was.
  const int32_t fullScreen = Settings.fullScreen ? kFullScreenOn : kFullScreenOff;
  if (!Settings.fullScreen || repository.FindValue(settingsSection, kFullScreenKey)) {
    repository.SetOrAddValue(settingsSection, kFullScreenKey, &fullScreen, repositoryIntType);
  }
  repository.Save(settingsFile);
}
