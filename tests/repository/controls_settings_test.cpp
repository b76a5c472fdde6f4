#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/asset_directory.h"
#include "repository/repository_bytes.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

namespace {

class ControlsSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings = SettingsRecord{};
  }
  void TearDown() override {
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }
  void WriteSettings(const std::string& values) {
    dir.WriteFile("config/ss.rep", RepositoryFile(SectionRecord("StarfieldStampede", 0), values));
  }

  TempDir dir;
};

TEST_F(ControlsSettingsTest, AnOldFileKeepsItsBytesAndNewValuesSurviveARestart) {
  // A file from before the controls: the seven keys in the order a save
  // writes them, so the save after a load reverses them.
  const char* keys[] = {"ScreenWidth", "ScreenHeight", "ColorDepth", "Brightness",
                        "GLSL",        "Sound",        "HighScore"};
  const int32_t values[] = {800, 600, 32, 1, 0, 1, 4200};
  std::string inOrder, reversed;
  for (int i = 0; i < 7; ++i) {
    inOrder += ValueRecord(0, 3, keys[i], Int32(values[i]));
    reversed = ValueRecord(0, 3, keys[i], Int32(values[i])) + reversed;
  }
  WriteSettings(inOrder);
  LoadSettings();
  EXPECT_EQ(Settings.bindings.keys[kActionFire], kKeySpace);
  EXPECT_EQ(Settings.bindings.padButtons[kActionPause], kPadStart);
  EXPECT_TRUE(Settings.rumble);
  EXPECT_EQ(Settings.musicVolume, kFullVolume);
  SaveSettings();
  EXPECT_EQ(dir.ReadFile("config/ss.rep"),
            RepositoryFile(SectionRecord("StarfieldStampede", 0), reversed));

  Settings.bindings.keys[kActionFire] = kKeyLeftControl;
  Settings.bindings.padButtons[kActionFire] = kPadX;
  Settings.rumble = false;
  Settings.musicVolume = 0;
  Settings.effectsVolume = 5;
  SaveSettings();
  Settings = SettingsRecord{};
  LoadSettings();
  EXPECT_EQ(Settings.bindings.keys[kActionFire], kKeyLeftControl);
  EXPECT_EQ(Settings.bindings.padButtons[kActionFire], kPadX);
  EXPECT_EQ(Settings.bindings.keys[kActionThrust], kKeyUp);
  EXPECT_FALSE(Settings.rumble);
  EXPECT_EQ(Settings.musicVolume, 0);
  EXPECT_EQ(Settings.effectsVolume, 5);
  EXPECT_EQ(Settings.highScore, 4200);

  // depotbuilder takes the new keys as it takes the others.
  const std::string create = std::string("'") + SS_BIN_DIR + "/depotbuilder' create --force '" +
                             (dir / "config/ss.rep").string() + "' KeyFire=30 EffectsVolume=4";
  ASSERT_EQ(std::system(create.c_str()), 0);
  Settings = SettingsRecord{};
  LoadSettings();
  EXPECT_EQ(Settings.bindings.keys[kActionFire], kKeyLeftControl);
  EXPECT_EQ(Settings.effectsVolume, 4);
}

TEST_F(ControlsSettingsTest, AHandEditedFileNeverLeavesTwoActionsOnOneKeyOrAnUnusableValue) {
  auto entry = [](const char* key, int32_t value) { return ValueRecord(0, 3, key, Int32(value)); };
  WriteSettings(entry("KeyTurnLeft", kKeySpace) + entry("KeyThrust", 999) +
                entry("KeyFire", kKeySpace) + entry("KeyGiveUp", kKeyEscape) +
                entry("KeyPause", kKeyRight) + entry("PadTurnLeft", kPadGuide) +
                entry("PadTurnRight", kPadButtonCount) + entry("PadThrust", kPadA) +
                entry("PadFire", kPadA) + entry("Rumble", 2) + entry("MusicVolume", 11) +
                entry("EffectsVolume", -1));
  LoadSettings();
  // Fire's own Space is held by turn left: it gets the first default no
  // other action holds. Pause finds its own P free.
  const ControlBindings expected = {
      {kKeySpace, kKeyRight, kKeyUp, kKeyLeft, kKeyQ, kKeyP},
      {kPadDpadLeft, kPadDpadRight, kPadA, kPadDpadUp, kPadBack, kPadStart}};
  for (int action = 0; action < kActionCount; ++action) {
    EXPECT_EQ(Settings.bindings.keys[action], expected.keys[action]) << "action " << action;
    EXPECT_EQ(Settings.bindings.padButtons[action], expected.padButtons[action])
        << "action " << action;
  }
  EXPECT_TRUE(Settings.rumble);
  EXPECT_EQ(Settings.musicVolume, kFullVolume);
  EXPECT_EQ(Settings.effectsVolume, kFullVolume);
}

}  // namespace
