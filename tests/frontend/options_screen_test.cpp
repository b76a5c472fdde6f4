#include <gtest/gtest.h>

#include <cstring>

#include "audio/audio_device.h"
#include "frontend/menus.h"
#include "front_end_fixture.h"
#include "platform/gamma.h"
#include "resources/settings.h"
#include "resources/texture.h"
#include "support/recording_al.h"

using namespace front_end_test;

namespace {

// A point inside each group's place and the OK button.
constexpr float kResolution[2] = {0.2f, 0.15f};
constexpr float kDepth[2] = {0.15f, 0.04f};
constexpr float kGlsl[2] = {0.06f, -0.07f};
constexpr float kSound[2] = {0.06f, -0.18f};
constexpr float kBrightness[2] = {0.1f, -0.3f};
constexpr float kOk[2] = {0.5f, -0.45f};

class GammaLog : public GammaOutput {
 public:
  void Save() override {}
  void Apply(const GammaRamp& ramp) override { ramps.push_back(ramp); }
  void Restore() override {}
  std::vector<GammaRamp> ramps;
};

class OptionsTest : public FrontEnd {
 protected:
  OptionsTest() {
    Settings.screenWidth = 640;
    Settings.screenHeight = 480;
    Settings.colorDepth = 16;
    Settings.brightness = 2;
    SetGammaOutput(&gamma);
  }
  ~OptionsTest() override { SetGammaOutput(nullptr); }

  // Runs the screen, clicking at (x, y) in every other frame, then OK.
  // Returns the screen's result; `after` gets read() in the frame after
  // each click.
  int32_t ClickTimes(const float (&at)[2], int clicks, int32_t (*read)(), std::vector<int32_t>* after) {
    const int base = platform.input.keySnapshots();
    for (int k = 0; k < clicks; ++k) {
      ClickAt(base + 2 + 2 * k, at[0], at[1]);
      platform.input.AtKeySnapshot(base + 3 + 2 * k, [read, after](ScriptedInput&) { after->push_back(read()); });
    }
    ClickAt(base + 2 + 2 * clicks, kOk[0], kOk[1]);
    return OptionsScreen(pointer);
  }

  Texture pointer;
  GammaLog gamma;
};

TEST_F(OptionsTest, ShowsOneButtonOfEachGroupFromTheSettingsInDrawingOrder) {
  HoldKeyAt(1, kKeyEscape);
  EXPECT_EQ(OptionsScreen(pointer), kOptionsLeft);
  using enum SpriteSlot;
  EXPECT_EQ(SpritesOfFrame(1),
            (std::vector<SpriteSlot>{ShipScreen, Asteroid2, Header, Resolution, Resolution640Normal,
                                     ColorDepth, Depth16Normal, Glsl, OffNormal, Sound, OffNormal,
                                     Brightness, LowNormal, OkNormal, ControlsNormal}));
  const std::vector<DrawnWidget> widgets = WidgetsOfFrame(1);
  EXPECT_FLOAT_EQ(widgets[0].left, 0.7f);  // the ship, mirrored in x
  EXPECT_FLOAT_EQ(widgets[1].top, -0.35f);  // the asteroid, mirrored in y
  EXPECT_EQ(pauses, (std::vector<int32_t>{500}));
  EXPECT_FALSE(SettingsSaved());

  Settings.screenWidth = 1024;
  Settings.colorDepth = 32;
  Settings.glslRequested = true;
  Settings.soundEnabled = true;
  Settings.brightness = 0;
  HoldKeyAt(platform.input.keySnapshots() + 1, kKeyEscape);
  OptionsScreen(pointer);
  const int frame = platform.frames();
  for (SpriteSlot shown : {Resolution1024Normal, Depth32Normal, OnNormal, HighNormal}) {
    EXPECT_TRUE(Drew(frame, shown)) << static_cast<int>(shown);
  }
}

TEST_F(OptionsTest, ResolutionCyclesThroughTheThreeModesAndAsksForARestart) {
  std::vector<int32_t> widths;
  EXPECT_EQ(ClickTimes(kResolution, 3, [] { return Settings.screenWidth * 10000 + Settings.screenHeight; }, &widths),
            kOptionsNeedRestart);
  EXPECT_EQ(widths, (std::vector<int32_t>{8000600, 10240768, 6400480}));
  EXPECT_TRUE(Drew(3, SpriteSlot::Resolution800Active));
  EXPECT_EQ(pauses, (std::vector<int32_t>{200, 200, 200, 500}));
}

TEST_F(OptionsTest, ColourDepthAndGlslToggleAndAskForARestartEvenWhenBackWhereTheyWere) {
  std::vector<int32_t> depths;
  EXPECT_EQ(ClickTimes(kDepth, 2, [] { return Settings.colorDepth; }, &depths), kOptionsNeedRestart);
  EXPECT_EQ(depths, (std::vector<int32_t>{32, 16}));

  std::vector<int32_t> glsl;
  EXPECT_EQ(ClickTimes(kGlsl, 2, [] { return static_cast<int32_t>(Settings.glslRequested); }, &glsl),
            kOptionsNeedRestart);
  EXPECT_EQ(glsl, (std::vector<int32_t>{1, 0}));
  EXPECT_FALSE(Settings.glslEnabled);  // only the saved choice changes
}

TEST_F(OptionsTest, SoundTogglesWithoutARestart) {
  std::vector<int32_t> sound;
  EXPECT_EQ(ClickTimes(kSound, 2, [] { return static_cast<int32_t>(Settings.soundEnabled); }, &sound),
            kOptionsAccepted);
  EXPECT_EQ(sound, (std::vector<int32_t>{1, 0}));
}

// Without a sound device the switch shows Off and stays there.
TEST_F(OptionsTest, InASilentRunTheSoundSwitchStaysOff) {
  RecordingAl al;
  SetAlLibraryAccess(al.LibraryAccess());
  al.SetDefaultDevice(false);
  StartAudioOrRunSilent();
  ASSERT_TRUE(AudioRunsSilent());
  Settings.soundEnabled = false;
  std::vector<int32_t> sound;
  ClickTimes(
      kSound, 2, [] { return static_cast<int32_t>(Settings.soundEnabled); }, &sound);
  EXPECT_EQ(sound, (std::vector<int32_t>{0, 0}));

  al.SetDefaultDevice(true);
  StartAudioOrRunSilent();  // the next run has its device again
  StopAudio();
  UseSystemAlLibraryAccess();
}

TEST_F(OptionsTest, BrightnessCyclesLowMediumHighAndSetsTheDisplayRampEachTime) {
  std::vector<int32_t> steps;
  EXPECT_EQ(ClickTimes(kBrightness, 3, [] { return Settings.brightness; }, &steps), kOptionsAccepted);
  EXPECT_EQ(steps, (std::vector<int32_t>{1, 0, 2}));
  ASSERT_EQ(gamma.ramps.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    const GammaRamp expected = BuildGammaRamp(steps[k]);
    EXPECT_EQ(std::memcmp(&gamma.ramps[k], &expected, sizeof expected), 0) << k;
  }
}

TEST_F(OptionsTest, AHeldButtonCyclesOncePerFrame) {
  Settings.screenWidth = 800;
  PointAt(2, kResolution[0], kResolution[1]);
  platform.input.AtKeySnapshot(2, [](ScriptedInput& input) { input.SetButton(0, true); });
  platform.input.AtKeySnapshot(5, [](ScriptedInput& input) { input.SetButton(0, false); });
  std::vector<int32_t> widths;
  for (int snapshot = 3; snapshot <= 5; ++snapshot) {
    platform.input.AtKeySnapshot(snapshot, [&widths](ScriptedInput&) { widths.push_back(Settings.screenWidth); });
  }
  HoldKeyAt(6, kKeyEscape);
  EXPECT_EQ(OptionsScreen(pointer), kOptionsLeft);
  EXPECT_EQ(widths, (std::vector<int32_t>{1024, 640, 800}));
  EXPECT_EQ(pauses, (std::vector<int32_t>{200, 200, 200, 500}));
}

TEST_F(OptionsTest, AWidthOfItsOwnShowsNoResolutionButtonAndCannotBeChanged) {
  Settings.screenWidth = 1280;
  Settings.screenHeight = 1024;
  std::vector<int32_t> widths;
  EXPECT_EQ(ClickTimes(kResolution, 1, [] { return Settings.screenWidth; }, &widths), kOptionsAccepted);
  EXPECT_EQ(widths, (std::vector<int32_t>{1280}));
  using enum SpriteSlot;
  for (SpriteSlot resolution : {Resolution640Normal, Resolution800Normal, Resolution1024Normal, Resolution640Active,
                                Resolution800Active, Resolution1024Active}) {
    EXPECT_FALSE(Drew(2, resolution));
  }
}

TEST_F(OptionsTest, TheRestartNoticeWaitsForAKeyOrAClick) {
  HoldKeyAt(3, kKeyQ);
  RestartNoticeScreen(pointer);
  EXPECT_EQ(platform.frames(), 3);
  EXPECT_EQ(SpritesOfFrame(1), (std::vector<SpriteSlot>{SpriteSlot::Header, SpriteSlot::RestartNotice}));
  const std::vector<DrawnWidget> widgets = WidgetsOfFrame(1);
  EXPECT_FLOAT_EQ(widgets[1].left, -0.4f);
  EXPECT_FLOAT_EQ(widgets[1].bottom, -0.5f);

  platform.input.ReleaseAll();
  ClickAt(platform.input.keySnapshots() + 2, 0.6f, 0.5f);
  RestartNoticeScreen(pointer);
  EXPECT_EQ(platform.frames(), 5);
  EXPECT_EQ(pauses, (std::vector<int32_t>{500, 500}));
}

}  // namespace
