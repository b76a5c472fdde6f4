#include "resources/settings.h"

#include <vector>

#include "platform/asset_directory.h"
#include "resources/repository.h"

SettingsRecord Settings;

namespace {

constexpr const char* settingsFile = "config/ss.rep";
constexpr const char* settingsSection = "StarfieldStampede";

// A binding a hand-edited file may get wrong: an unknown code takes the
// action's default, and of two actions on one code the first keeps it.
// The later takes its own default, or else the first default no other
// action holds (six actions, six distinct defaults: one is always free).
void ReadBindings(const Repository& repository, const char* const keys[kActionCount],
                  const int32_t defaults[kActionCount], bool (*bindable)(int),
                  int32_t bound[kActionCount]) {
  for (int action = 0; action < kActionCount; ++action) {
    int32_t code = defaults[action];
    repository.GetInt(settingsSection, keys[action], &code);
    bound[action] = bindable(code) ? code : defaults[action];
  }
  auto heldByOther = [&](int action, int32_t code) {
    for (int other = 0; other < kActionCount; ++other) {
      if (other != action && bound[other] == code) return true;
    }
    return false;
  };
  for (int action = 1; action < kActionCount; ++action) {
    bool taken = false;
    for (int earlier = 0; earlier < action; ++earlier) taken |= bound[earlier] == bound[action];
    if (!taken) continue;
    if (!heldByOther(action, defaults[action])) {
      bound[action] = defaults[action];
      continue;
    }
    for (int owner = 0; owner < kActionCount; ++owner) {
      if (!heldByOther(action, defaults[owner])) {
        bound[action] = defaults[owner];
        break;
      }
    }
  }
}

// A volume step outside 0..kFullVolume is damage: the default, not the
// nearest end.
int32_t ReadVolume(const Repository& repository, const char* key) {
  int32_t step = kFullVolume;
  repository.GetInt(settingsSection, key, &step);
  return step >= 0 && step <= kFullVolume ? step : kFullVolume;
}

// The keys the Controls screen added: written only when the file already has
// them or the value is not the default, so a file from before them keeps its
// records.
void WriteControls(Repository* repository) {
  const std::vector<StoredValue> values = ControlsKeyValues(Settings);
  const std::vector<StoredValue> defaults = ControlsKeyValues(SettingsRecord{});
  for (std::size_t i = 0; i < values.size(); ++i) {
    const StoredValue& entry = values[i];
    if (entry.value != defaults[i].value || repository->FindValue(settingsSection, entry.key)) {
      repository->SetOrAddValue(settingsSection, entry.key, &entry.value, repositoryIntType);
    }
  }
}

}  // namespace

std::vector<StoredValue> ControlsKeyValues(const SettingsRecord& record) {
  std::vector<StoredValue> values;
  for (int action = 0; action < kActionCount; ++action) {
    values.push_back({kKeyBindingKeys[action], record.bindings.keys[action]});
  }
  for (int action = 0; action < kActionCount; ++action) {
    values.push_back({kPadBindingKeys[action], record.bindings.padButtons[action]});
  }
  values.push_back({kRumbleKey, record.rumble ? kRumbleOn : kRumbleOff});
  values.push_back({kMusicVolumeKey, record.musicVolume});
  values.push_back({kEffectsVolumeKey, record.effectsVolume});
  return values;
}

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

  ReadBindings(repository, kKeyBindingKeys, kDefaultBindings.keys, BindableKey,
               Settings.bindings.keys);
  ReadBindings(repository, kPadBindingKeys, kDefaultBindings.padButtons, BindablePadButton,
               Settings.bindings.padButtons);
  int32_t rumble = kRumbleOn;
  repository.GetInt(settingsSection, kRumbleKey, &rumble);
  Settings.rumble = rumble != kRumbleOff;  // 1, or damage: the default
  Settings.musicVolume = ReadVolume(repository, kMusicVolumeKey);
  Settings.effectsVolume = ReadVolume(repository, kEffectsVolumeKey);
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
  WriteControls(&repository);
  repository.Save(settingsFile);
}
