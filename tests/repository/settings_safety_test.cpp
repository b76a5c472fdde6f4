// What a settings file can do to the game, and what the game's saves can do
// to the files around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/asset_directory.h"
#include "repository/repository_bytes.h"
#include "resources/repository.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class SettingsSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings = SettingsRecord{};
  }
  void TearDown() override {
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }

  static std::string SizeFile(int32_t width, int32_t height) {
    return RepositoryFile(SectionRecord("StarfieldStampede", 0),
                          ValueRecord(0, 3, "ScreenWidth", Int32(width)) +
                              ValueRecord(0, 3, "ScreenHeight", Int32(height)) +
                              ValueRecord(0, 3, "HighScore", Int32(512)));
  }
  static int32_t StoredAt(const std::string& relativePath, const char* key) {
    Repository repository;
    EXPECT_TRUE(repository.Load(relativePath.c_str()))
        << RepositoryErrorText(repository.LastError());
    int32_t value = -12345;
    repository.GetInt("StarfieldStampede", key, &value);
    return value;
  }
  // Everything in config/ but the settings file itself: temporaries left over.
  std::vector<std::string> Strays() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir / "config")) {
      const std::string name = entry.path().filename().string();
      if (name != "ss.rep" && name != "ss.rep.tmp") names.push_back(name);
    }
    return names;
  }

  TempDir dir;
};

TEST_F(SettingsSafetyTest, ASizeNoWindowCanShowBecomes640x480AndOthersStay) {
  const std::vector<std::pair<int32_t, int32_t>> impossible = {
      {0, 480}, {640, -7}, {100000, 100000}, {319, 240}, {320, 239}, {16385, 768}, {1024, 16385}};
  for (const auto& [width, height] : impossible) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    dir.WriteFile("config/ss.rep", SizeFile(width, height));
    LoadSettings();
    EXPECT_TRUE(Settings.screenSizeReplaced);
    EXPECT_EQ(Settings.screenWidth, 640);
    EXPECT_EQ(Settings.screenHeight, 480);
    EXPECT_EQ(Settings.highScore, 512);
  }
  for (const auto& [width, height] :
       {std::pair{320, 240}, std::pair{1280, 720}, std::pair{16384, 16384}}) {
    dir.WriteFile("config/ss.rep", SizeFile(width, height));
    LoadSettings();
    EXPECT_FALSE(Settings.screenSizeReplaced) << width << " x " << height;
    EXPECT_EQ(Settings.screenWidth, width);
    EXPECT_EQ(Settings.screenHeight, height);
  }
}

TEST_F(SettingsSafetyTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
  // The player keeps the settings with the rest of their files.
  dir.WriteFile("dotfiles/ss.rep", SizeFile(1024, 768));
  fs::create_directories(dir / "config");
  fs::create_symlink("../dotfiles/ss.rep", dir / "config/ss.rep");
  LoadSettings();
  EXPECT_EQ(Settings.screenWidth, 1024);
  Settings.highScore = 9000;
  SaveSettings();

  EXPECT_TRUE(fs::is_symlink(dir / "config/ss.rep"));
  EXPECT_EQ(StoredAt("dotfiles/ss.rep", "HighScore"), 9000);
  EXPECT_EQ(StoredAt("dotfiles/ss.rep", "ScreenWidth"), 1024);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "dotfiles"), fs::directory_iterator()), 1)
      << "no temporary left beside the target";

  // A link whose target does not exist yet gets it created.
  fs::remove(dir / "dotfiles/ss.rep");
  SaveSettings();
  EXPECT_TRUE(fs::is_symlink(dir / "config/ss.rep"));
  EXPECT_EQ(StoredAt("config/ss.rep", "HighScore"), 9000);
}

TEST_F(SettingsSafetyTest, ALeftoverTemporaryOfAnyKindDoesNotBlockTheSave) {
  dir.WriteFile("config/ss.rep", SizeFile(800, 600));
  fs::create_directories(dir / "config/ss.rep.tmp/blocked");
  LoadSettings();
  Settings.highScore = 77;
  SaveSettings();
  EXPECT_EQ(StoredAt("config/ss.rep", "HighScore"), 77);
  EXPECT_TRUE(Strays().empty());

  fs::remove_all(dir / "config/ss.rep.tmp");
  dir.WriteFile("config/ss.rep.tmp", "a temporary from an older version");
  Settings.highScore = 78;
  SaveSettings();
  EXPECT_EQ(StoredAt("config/ss.rep", "HighScore"), 78);
  EXPECT_TRUE(Strays().empty());
}

}  // namespace
