#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "audio/volume.h"
#include "front_end_fixture.h"
#include "frontend/menus.h"
#include "platform/controls.h"
#include "platform/input_live.h"
#include "resources/settings.h"
#include "resources/texture.h"

using namespace front_end_test;

namespace {

// Points inside the buttons: the options' Controls and OK, and on the
// Controls screen the rows of thrust and fire, the switches and Back.
constexpr float kOptionsControls[2] = {-0.4f, -0.445f};
constexpr float kOptionsOk[2] = {0.5f, -0.45f};
constexpr float kKeyColumn = 0.025f;
constexpr float kPadColumn = 0.425f;
constexpr float kThrustRow = 0.1575f;
constexpr float kFireRow = 0.0825f;
constexpr float kRumble[2] = {-0.11f, -0.1425f};
constexpr float kMusicDown[2] = {-0.115f, -0.2175f};
constexpr float kEffectsDown[2] = {-0.115f, -0.2925f};
constexpr float kDefaults[2] = {-0.45f, -0.45f};
constexpr float kBack[2] = {0.5f, -0.45f};

bool SameBindings(const ControlBindings& a, const ControlBindings& b) {
  return std::equal(a.keys, a.keys + kActionCount, b.keys) &&
         std::equal(a.padButtons, a.padButtons + kActionCount, b.padButtons);
}

void HoldPadButton(int button) {
  ControllerState pad;
  if (button >= 0) pad.buttons[button] = kPressedBit;
  PublishController(pad);
}

class ControlsTest : public FrontEnd {
 protected:
  ~ControlsTest() override {
    PublishController(ControllerState{});
    SetPadBindings(kDefaultBindings);
    SetRumbleEnabled(true);
    SetVolumeSteps(kFullVolume, kFullVolume);
  }

  void Click(int snapshot, const float (&at)[2]) { ClickAt(snapshot, at[0], at[1]); }
  void At(int snapshot, std::function<void(ScriptedInput&)> action) {
    platform.input.AtKeySnapshot(snapshot, std::move(action));
  }
  bool Printed(int frame, const std::string& text) const {
    for (const NullPlatform::PrintedText& printed : platform.TextsOfFrame(frame)) {
      if (printed.text == text) return true;
    }
    return false;
  }

  Texture pointer;
};

// One snapshot per frame, in the options screen and the Controls screen
// alike, so frame n is snapshot n.
TEST_F(ControlsTest, RebindsFromTheOptionsSwapsTakenKeysSetsVolumesAndRumbleAndRestoresDefaults) {
  Click(2, kOptionsControls);  // the Controls screen opens in frame 2, its first frame is 3

  // A key pick: the click is still down in frame 5 and W with it, so nothing
  // binds until everything is up; W pressed again in frame 7 is taken.
  PointAt(4, kKeyColumn, kFireRow);
  At(4, [](ScriptedInput& input) { input.SetButton(0, true); });
  At(5, [](ScriptedInput& input) { input.Hold(kKeyW); });
  At(6, [](ScriptedInput& input) {
    input.SetButton(0, false);
    input.Release(kKeyW);
  });
  int32_t fireKeyBeforeThePress = -1;
  At(7, [&](ScriptedInput& input) {
    fireKeyBeforeThePress = Settings.bindings.keys[kActionFire];
    input.Hold(kKeyW);
  });
  At(8, [](ScriptedInput& input) { input.Release(kKeyW); });
  ControlBindings padsAfterTheFirstPick{};
  At(9, [&](ScriptedInput&) { padsAfterTheFirstPick = PadBindings(); });

  // A second pick of fire's key: the Pause key is not taken (it pauses
  // whatever is bound), Escape cancels, fire keeps W, and the Escape does not
  // leave the screen.
  ClickAt(9, kKeyColumn, kFireRow);
  TapKeyAt(11, kKeyPause);
  TapKeyAt(12, kKeyEscape);

  // Thrust takes W from fire, which gets thrust's Up.
  ClickAt(13, kKeyColumn, kThrustRow);
  TapKeyAt(15, kKeyW);

  // A button pick clicked with the controller's A (also the left mouse
  // button): A does not bind, the Y pressed after it does.
  PointAt(17, kPadColumn, kThrustRow);
  At(17, [](ScriptedInput& input) {
    input.SetButton(0, true);
    HoldPadButton(kPadA);
  });
  At(18, [](ScriptedInput& input) {
    input.SetButton(0, false);
    HoldPadButton(-1);
  });
  At(19, [](ScriptedInput&) { HoldPadButton(kPadY); });
  At(20, [](ScriptedInput&) { HoldPadButton(-1); });

  Click(21, kMusicDown);
  Click(23, kMusicDown);
  float musicScale = -1;
  At(24, [&](ScriptedInput&) { musicScale = MusicVolumeScale(); });
  Click(25, kEffectsDown);
  Click(27, kRumble);
  // Back is where OK is: the click has to be let go before the options
  // screen comes back, or it would press OK.
  Click(29, kBack);
  At(30, [](ScriptedInput& input) { input.SetButton(0, true); });
  At(32, [](ScriptedInput& input) { input.SetButton(0, false); });
  Click(34, kOptionsOk);

  EXPECT_EQ(OptionsScreen(pointer), kOptionsAccepted);
  EXPECT_EQ(platform.input.keySnapshots(), 34);

  using enum SpriteSlot;
  const DrawnWidget controlsButton = WidgetsOfFrame(1).back();
  EXPECT_EQ(controlsButton.sprite, ControlsNormal);
  EXPECT_FLOAT_EQ(controlsButton.left, -0.6f);
  EXPECT_FLOAT_EQ(controlsButton.bottom, -0.51f);
  EXPECT_TRUE(Drew(3, ControlsHeader));
  EXPECT_TRUE(Drew(3, OnNormal));
  EXPECT_TRUE(Printed(3, "SPACE"));
  EXPECT_TRUE(Printed(3, "D-PAD UP"));
  EXPECT_TRUE(Printed(5, "PRESS A KEY"));

  EXPECT_EQ(fireKeyBeforeThePress, kKeySpace);
  EXPECT_EQ(padsAfterTheFirstPick.keys[kActionFire], kKeyW);
  EXPECT_TRUE(Printed(8, "W"));
  EXPECT_TRUE(Printed(18, "PRESS A BUTTON"));

  ControlBindings expected = kDefaultBindings;
  expected.keys[kActionThrust] = kKeyW;
  expected.keys[kActionFire] = kKeyUp;
  expected.padButtons[kActionThrust] = kPadY;
  EXPECT_TRUE(SameBindings(Settings.bindings, expected));
  EXPECT_TRUE(SameBindings(PadBindings(), expected));
  EXPECT_EQ(Settings.musicVolume, 8);
  EXPECT_FLOAT_EQ(musicScale, 0.8f);
  EXPECT_EQ(Settings.effectsVolume, 9);
  EXPECT_FLOAT_EQ(EffectsVolumeScale(), 0.9f);
  EXPECT_FALSE(Settings.rumble);
  EXPECT_TRUE(Drew(28, OffNormal) || Drew(28, OffActive));

  // Back again: Defaults restores the keys and buttons (not the volumes or
  // rumble), and Escape held over several frames leaves the Controls screen
  // only, not the options too.
  const int base = platform.input.keySnapshots();
  Click(base + 2, kOptionsControls);
  Click(base + 4, kDefaults);
  HoldKeyAt(base + 6, kKeyEscape);
  At(base + 8, [](ScriptedInput& input) { input.Release(kKeyEscape); });
  HoldKeyAt(base + 10, kKeyEscape);
  EXPECT_EQ(OptionsScreen(pointer), kOptionsLeft);
  EXPECT_EQ(platform.input.keySnapshots(), base + 10);
  EXPECT_TRUE(SameBindings(Settings.bindings, kDefaultBindings));
  EXPECT_TRUE(SameBindings(PadBindings(), kDefaultBindings));
  EXPECT_EQ(Settings.musicVolume, 8);
  EXPECT_FALSE(Settings.rumble);
}

}  // namespace
