#include <gtest/gtest.h>

#include "audio/audio_test_support.h"
#include "audio/music_stream.h"
#include "frontend/menus.h"
#include "front_end_fixture.h"
#include "resources/settings.h"
#include "resources/texture.h"
#include "support/recording_al.h"

using namespace front_end_test;

namespace {

// Button centres in the main menu.
constexpr float kStart[2] = {0, 0.135f};
constexpr float kExit[2] = {0, -0.285f};
constexpr float kOptions[2] = {0, 0};
constexpr float kClearHigh[2] = {0, -0.145f};
// In the options screen.
constexpr float kResolution[2] = {0.2f, 0.15f};
constexpr float kSound[2] = {0.06f, -0.18f};
constexpr float kOk[2] = {0.5f, -0.45f};

class MainMenuTest : public FrontEnd {};

TEST_F(MainMenuTest, DrawsItsWidgetsInOrderWithTheHighScoreLineAndEndsOnEscape) {
  Settings.highScore = 4321;
  FormatHighScoreText("High Score:%d", Settings.highScore);
  HoldKeyAt(3, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(platform.frames(), 3);

  using enum SpriteSlot;
  // The pointer starts at the centre, which lies on Options.
  EXPECT_EQ(SpritesOfFrame(1), (std::vector<SpriteSlot>{Header, ShipScreen, StartNormal, ExitNormal, OptionsActive,
                                                         ClearHighNormal, Disclaimer, Asteroid2, Pc}));
  const std::vector<DrawnWidget> widgets = WidgetsOfFrame(1);
  const float rectangles[9][4] = {{-0.5f, 0.5f, 0.55f, 0.2f},   {-0.75f, -0.35f, 0.3f, -0.1f},
                                  {-0.15f, 0.15f, 0.2f, 0.07f},  {-0.15f, 0.15f, -0.22f, -0.35f},
                                  {-0.17f, 0.17f, 0.06f, -0.07f}, {-0.27f, 0.27f, -0.08f, -0.21f},
                                  {0, 0.77f, -0.4f, -0.55f},     {0.6f, 0.5f, -0.2f, -0.1f},
                                  {-0.7f, -0.6f, -0.4f, -0.5f}};
  for (int k = 0; k < 9; ++k) {
    EXPECT_FLOAT_EQ(widgets[k].left, rectangles[k][0]) << k;
    EXPECT_FLOAT_EQ(widgets[k].right, rectangles[k][1]) << k;
    EXPECT_FLOAT_EQ(widgets[k].top, rectangles[k][2]) << k;
    EXPECT_FLOAT_EQ(widgets[k].bottom, rectangles[k][3]) << k;
    EXPECT_FLOAT_EQ(widgets[k].z, -1) << k;
  }

  const auto texts = platform.TextsOfFrame(1);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "High Score:4321");
  EXPECT_TRUE(texts[0].At(30, 7, 2));
  EXPECT_FLOAT_EQ(texts[0].color[0], 0.25f);
  EXPECT_FLOAT_EQ(texts[0].color[1], 0.95f);
  EXPECT_FLOAT_EQ(texts[0].color[2], 0.25f);
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(frontEnd.menuMusic, nullptr);
}

TEST_F(MainMenuTest, MotionFromTheScreensBeforeDoesNotMoveThePointer) {
  // The credits and the other presentation screens read no mouse: whatever
  // the player moved meanwhile waits in the device.
  platform.input.MoveMouse(900, -700);
  HoldKeyAt(1, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(menuPointer.x, 0);
  EXPECT_EQ(menuPointer.y, 0);

  Texture pointer;
  platform.input.MoveMouse(-900, 700);
  HoldKeyAt(platform.input.keySnapshots() + 1, kKeyEscape);
  OptionsScreen(pointer);
  EXPECT_EQ(menuPointer.x, 0);
  EXPECT_EQ(menuPointer.y, 0);
}

TEST_F(MainMenuTest, ClicksOnStartAndExitChooseTheirCodes) {
  ClickAt(2, kStart[0], kStart[1]);
  EXPECT_EQ(MainMenu(), kSelectNewGame);
  EXPECT_EQ(platform.frames(), 2);
  EXPECT_TRUE(Drew(2, SpriteSlot::StartActive));

  ClickAt(platform.input.keySnapshots() + 2, kExit[0], kExit[1]);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(platform.frames(), 4);
}

TEST_F(MainMenuTest, AStartClickInTheFrameOfEscapeStillStartsTheGame) {
  ClickAt(2, kStart[0], kStart[1]);
  HoldKeyAt(2, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectNewGame);
}

TEST_F(MainMenuTest, AButtonHeldOnNothingDoesNothing) {
  ClickAt(2, 0.6f, 0.4f);
  HoldKeyAt(4, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(platform.frames(), 4);
}

TEST_F(MainMenuTest, ClearHighShowsZeroFromTheNextFrameWithoutSaving) {
  Settings.highScore = 500;
  FormatHighScoreText("High Score:%d", 500);
  ClickAt(2, kClearHigh[0], kClearHigh[1]);
  HoldKeyAt(4, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(platform.TextsOfFrame(2)[0].text, "High Score:500");
  EXPECT_EQ(platform.TextsOfFrame(3)[0].text, "High Score:0");
  EXPECT_EQ(Settings.highScore, 0);
  EXPECT_FALSE(SettingsSaved());
}

TEST_F(MainMenuTest, OptionsLeftWithOkSaveAndAResolutionChangeShowsTheRestartNotice) {
  ClickAt(2, kOptions[0], kOptions[1]);          // menu frame 2
  ClickAt(4, kResolution[0], kResolution[1]);    // options frame 2: 800 -> 1024
  ClickAt(6, kOk[0], kOk[1]);                    // options frame 4
  TapKeyAt(9, kKeyEnter);                        // restart notice, frame 3
  HoldKeyAt(11, kKeyEscape);                     // menu again
  EXPECT_EQ(MainMenu(), kSelectExit);

  EXPECT_TRUE(Drew(3, SpriteSlot::Resolution800Normal));
  EXPECT_TRUE(Drew(5, SpriteSlot::Resolution1024Active));
  EXPECT_EQ(SpritesOfFrame(7), (std::vector<SpriteSlot>{SpriteSlot::Header, SpriteSlot::RestartNotice}));
  EXPECT_TRUE(Drew(10, SpriteSlot::StartNormal));
  EXPECT_EQ(pauses, (std::vector<int32_t>{200, 200, 500, 500}));
  EXPECT_EQ(Saved("ScreenWidth"), 1024);
  EXPECT_EQ(Saved("ScreenHeight"), 768);
  EXPECT_EQ(Saved("Sound"), 0);
}

TEST_F(MainMenuTest, OptionsLeftWithEscapeKeepTheChangeInMemoryButSaveNothing) {
  ClickAt(2, kOptions[0], kOptions[1]);
  ClickAt(4, kSound[0], kSound[1]);
  HoldKeyAt(6, kKeyEscape);  // leaves the options, then the menu
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_TRUE(Settings.soundEnabled);
  EXPECT_FALSE(SettingsSaved());
  EXPECT_EQ(pauses, (std::vector<int32_t>{200, 200, 500}));
}

TEST_F(MainMenuTest, TheMenuMusicPlaysWhileTheMenuRunsAndFollowsTheSoundSwitch) {
  RecordingAl al;
  Settings.soundEnabled = true;
  std::filesystem::create_directories(platform.assets / "sound/music");
  audio_test::OggTone tone;
  tone.seconds = 0.5;
  ASSERT_TRUE(audio_test::WriteOggTone(platform.assets / "sound/music/SS_menu.ogg", tone));

  std::vector<int> playing;  // at each frame's snapshot
  for (int snapshot = 1; snapshot <= 8; ++snapshot) {
    platform.input.AtKeySnapshot(snapshot, [&playing](ScriptedInput&) {
      playing.push_back(frontEnd.menuMusic && frontEnd.menuMusic->HasThread());
    });
  }
  ClickAt(2, kOptions[0], kOptions[1]);
  ClickAt(4, kSound[0], kSound[1]);  // off: stops at once
  ClickAt(6, kSound[0], kSound[1]);  // on again: plays from the start
  HoldKeyAt(8, kKeyEscape);
  EXPECT_EQ(MainMenu(), kSelectExit);
  EXPECT_EQ(playing, (std::vector<int>{1, 1, 1, 1, 0, 0, 1, 1}));
  EXPECT_EQ(frontEnd.menuMusic, nullptr);
  EXPECT_TRUE(al.LiveSources().empty());
}

}  // namespace
