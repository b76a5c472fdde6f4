#include <gtest/gtest.h>

#include "platform/asset_directory.h"
#include "repository/repository_bytes.h"
#include "resources/repository.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings = SettingsRecord{};
  }
  void TearDown() override { StopAssetDirectory(); }

  void WriteSettings(const std::string& values) {
    dir.WriteFile("config/ss.rep", RepositoryFile(SectionRecord("StarfieldStampede", 0), values));
  }
  int32_t Stored(const char* key) {
    Repository repository;
    EXPECT_TRUE(repository.Load("config/ss.rep")) << RepositoryErrorText(repository.LastError());
    int32_t value = -12345;
    EXPECT_TRUE(repository.GetInt("StarfieldStampede", key, &value));
    return value;
  }

  TempDir dir;
};

TEST_F(SettingsTest, MissingKeysTakeDefaultsAndAreAddedOnSave) {
  WriteSettings(ValueRecord(0, 3, "ScreenWidth", Int32(1024)));
  LoadSettings();
  EXPECT_EQ(Settings.screenWidth, 1024);
  EXPECT_EQ(Settings.screenHeight, 480);
  EXPECT_EQ(Settings.colorDepth, 16);
  EXPECT_TRUE(Settings.fullScreen);
  EXPECT_STREQ(AssetDirectory(), dir.withSlash().c_str());

  Settings.highScore = 4321;
  SaveSettings();
  EXPECT_EQ(Stored("ScreenWidth"), 1024);
  EXPECT_EQ(Stored("ScreenHeight"), 480);
  EXPECT_EQ(Stored("HighScore"), 4321);
}

TEST_F(SettingsTest, OnlyTheValueOneSetsAFlag) {
  WriteSettings(ValueRecord(0, 3, "GLSL", Int32(2)) + ValueRecord(0, 3, "Sound", Int32(1)));
  LoadSettings();
  EXPECT_FALSE(Settings.glslEnabled);
  EXPECT_FALSE(Settings.glslRequested);
  EXPECT_TRUE(Settings.soundEnabled);

  // The saved choice, not the run's state, goes back to the file.
  Settings.glslRequested = true;
  Settings.soundEnabled = false;
  SaveSettings();
  EXPECT_EQ(Stored("GLSL"), 1);
  EXPECT_EQ(Stored("Sound"), 0);
}

TEST_F(SettingsTest, AMissingEmptyOrDamagedFileGivesDefaultsAndIsReplacedOnSave) {
  for (const char* content : {"", "garbage", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(content ? content : "no file");
    std::filesystem::remove(dir / "config/ss.rep");
    if (content) dir.WriteFile("config/ss.rep", content);
    Settings = SettingsRecord{};
    Settings.highScore = 77;
    LoadSettings();
    EXPECT_EQ(Settings.screenWidth, 640);
    EXPECT_EQ(Settings.highScore, 0);

    Settings.screenWidth = 800;
    Settings.brightness = 2;
    Settings.highScore = 900;
    std::filesystem::create_directories(dir / "config");
    SaveSettings();
    Settings = SettingsRecord{};
    LoadSettings();
    EXPECT_EQ(Settings.screenWidth, 800);
    EXPECT_EQ(Settings.brightness, 2);
    EXPECT_EQ(Settings.highScore, 900);
  }
}

TEST_F(SettingsTest, SaveCarriesOtherSectionsAndValuesThrough) {
  dir.WriteFile("config/ss.rep",
                RepositoryFile(SectionRecord("Mods", 4) + SectionRecord("StarfieldStampede", 0),
                               ValueRecord(4, 5, "Name", std::string("nova\0", 5)) +
                                   ValueRecord(0, 3, "Secret", Int32(31)) +
                                   ValueRecord(0, 3, "HighScore", Int32(10))));
  LoadSettings();
  EXPECT_EQ(Settings.highScore, 10);
  SaveSettings();

  Repository repository;
  ASSERT_TRUE(repository.Load("config/ss.rep"));
  const RepositoryValue* name = repository.FindValue("Mods", "Name");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::string(name->data.begin(), name->data.end()), std::string("nova\0", 5));
  EXPECT_EQ(Stored("Secret"), 31);
  EXPECT_EQ(Stored("HighScore"), 10);
  EXPECT_EQ(repository.Sections().size(), 2u);
  EXPECT_EQ(repository.Values().size(), 9u);
}

}  // namespace
