#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/asset_directory.h"
#include "resources/repository.h"
#include "resources/settings.h"
#include "support/temp_dir.h"

namespace {

class FullScreenSetting : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings = SettingsRecord{};
  }
  void TearDown() override { StopAssetDirectory(); }

  int Depotbuilder(const std::string& args) {
    const std::string command = std::string("'") + SS_BIN_DIR + "/depotbuilder' " + args + " >'" +
                                (dir / "stdout").string() + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string File() { return "'" + (dir / "config/ss.rep").string() + "'"; }
  bool Stored(int32_t* value) {
    Repository repository;
    EXPECT_TRUE(repository.Load("config/ss.rep"));
    if (!repository.FindValue("StarfieldStampede", kFullScreenKey)) return false;
    return repository.GetInt("StarfieldStampede", kFullScreenKey, value);
  }

  TempDir dir;
};

TEST_F(FullScreenSetting, AWindowIsRememberedAndAFileWithoutTheKeyStaysWithoutIt) {
  // An older file: no key means full screen, and saving does not add one.
  ASSERT_EQ(Depotbuilder("create --force " + File() + " HighScore=40"), 0);
  LoadSettings();
  EXPECT_TRUE(Settings.fullScreen);
  SaveSettings();
  int32_t value = -1;
  EXPECT_FALSE(Stored(&value));

  // The player picks a window: the next start opens one, the rest unchanged.
  Settings.fullScreen = false;
  SaveSettings();
  ASSERT_TRUE(Stored(&value));
  EXPECT_EQ(value, kFullScreenOff);
  Settings = SettingsRecord{};
  LoadSettings();
  EXPECT_FALSE(Settings.fullScreen);
  EXPECT_EQ(Settings.highScore, 40);
  EXPECT_EQ(Settings.screenWidth, 1024);

  // Back to full screen: the key stays, now 1.
  Settings.fullScreen = true;
  SaveSettings();
  ASSERT_TRUE(Stored(&value));
  EXPECT_EQ(value, kFullScreenOn);

  // depotbuilder writes the key, after the seven, only when it is given;
  // any value but 0 reads as full screen.
  ASSERT_EQ(Depotbuilder("create --force " + File() + " HighScore=40 FullScreen=0"), 0);
  ASSERT_EQ(Depotbuilder("dump " + File()), 0);
  EXPECT_NE(dir.ReadFile("stdout").find("value 0 HighScore type=3 data=28000000 int=40\n"
                                        "value 0 FullScreen type=3 data=00000000 int=0\nok\n"),
            std::string::npos)
      << dir.ReadFile("stdout");
  LoadSettings();
  EXPECT_FALSE(Settings.fullScreen);
  ASSERT_EQ(Depotbuilder("create --force " + File() + " FullScreen=7"), 0);
  LoadSettings();
  EXPECT_TRUE(Settings.fullScreen);
}

}  // namespace
