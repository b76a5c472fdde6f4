#include <gtest/gtest.h>

#include <cstring>

#include "platform/input.h"
#include "platform/input_devices.h"
#include "platform/input_live.h"
#include "platform/key_codes.h"
#include "platform/locks.h"
#include "platform/quit_request.h"
#include "support/scripted_input.h"

namespace {

// Device keys are USB HID usage ids.
constexpr int kUsageQ = 20;
constexpr int kUsageEscape = 41;
constexpr int kUsageNumLock = 83;

class InputSnapshots : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLockPool();
    CreateInputLocks();
  }
  void TearDown() override { CloseInputLocks(); }

  // One keyboard poll with these device keys held.
  void PollKeys(std::initializer_list<int> heldUsages) {
    uint8_t held[kDeviceScanCodeCount] = {};
    for (int usage : heldUsages) held[usage] = 1;
    PublishKeys(held, kDeviceScanCodeCount);
  }
  uint8_t KeyByte(int keyCode) {
    uint8_t keys[kKeyCount];
    std::memset(keys, 0xEE, sizeof keys);
    EXPECT_TRUE(SnapshotKeys(keys));
    return keys[keyCode];
  }
  MouseState Mouse() {
    MouseState mouse;
    EXPECT_TRUE(SnapshotMouse(&mouse));
    return mouse;
  }
};

TEST_F(InputSnapshots, AHeldKeyShowsInEverySnapshotUntilAPollSeesItReleased) {
  PollKeys({kUsageQ});
  EXPECT_EQ(KeyByte(kKeyQ), kPressedBit);
  EXPECT_EQ(KeyByte(kKeyQ), kPressedBit);
  EXPECT_EQ(KeyByte(kKeyW), 0);
  PollKeys({kUsageQ});
  EXPECT_EQ(KeyByte(kKeyQ), kPressedBit);
  PollKeys({});
  EXPECT_EQ(KeyByte(kKeyQ), 0);
}

TEST_F(InputSnapshots, ATapBetweenTwoPollsIsSeenByExactlyOnePoll) {
  LatchKeyDown(kUsageEscape);  // down and up again before the poll
  PollKeys({});
  EXPECT_EQ(KeyByte(kKeyEscape), kPressedBit);
  PollKeys({});
  EXPECT_EQ(KeyByte(kKeyEscape), 0);
}

TEST_F(InputSnapshots, KeysWithoutACodeOfTheirOwnSetByteZero) {
  PollKeys({kUsageNumLock});
  EXPECT_EQ(KeyByte(kKeyNone), kPressedBit);
  EXPECT_EQ(KeyByte(kKeyNumLock), 0);
}

TEST_F(InputSnapshots, ASecondMouseSnapshotHasNoMotionButKeepsTheButtons) {
  PublishMouse(12, -7, 1u << 0);
  MouseState first = Mouse();
  EXPECT_EQ(first.mouseDx, 12);
  EXPECT_EQ(first.mouseDy, -7);
  EXPECT_EQ(first.mouseButtons[0], kPressedBit);
  EXPECT_EQ(first.mouseButtons[1], 0);

  MouseState second = Mouse();
  EXPECT_EQ(second.mouseDx, 0);
  EXPECT_EQ(second.mouseDy, 0);
  EXPECT_EQ(second.mouseWheel, 0);
  EXPECT_EQ(second.mouseButtons[0], kPressedBit);
}

TEST_F(InputSnapshots, MotionOfSeveralPollsAddsUpUntilASnapshotTakesIt) {
  PublishMouse(5, 1, 0);
  AddWheel(120);
  PublishMouse(3, -4, 0);
  AddWheel(-240);
  PublishMouse(0, 0, 0);
  MouseState mouse = Mouse();
  EXPECT_EQ(mouse.mouseDx, 8);
  EXPECT_EQ(mouse.mouseDy, -3);
  EXPECT_EQ(mouse.mouseWheel, -120);
}

TEST_F(InputSnapshots, AClickBetweenTwoPollsIsSeenByOnePoll) {
  LatchButtonDown(1);
  PublishMouse(0, 0, 0);
  EXPECT_EQ(Mouse().mouseButtons[1], kPressedBit);
  PublishMouse(0, 0, 0);
  EXPECT_EQ(Mouse().mouseButtons[1], 0);
}

TEST_F(InputSnapshots, AnInstalledScriptAnswersInsteadOfTheDevicesUntilRemoved) {
  PollKeys({kUsageQ});
  {
    ScriptedInput script;
    script.AtKeySnapshot(2, [](ScriptedInput& input) { input.Hold(kKeyEscape); });
    script.MoveMouse(3, 9, 120);
    script.SetButton(0, true);

    EXPECT_EQ(KeyByte(kKeyQ), 0);
    EXPECT_EQ(KeyByte(kKeyEscape), kPressedBit);  // the second snapshot
    MouseState moved = Mouse();
    EXPECT_EQ(moved.mouseDx, 3);
    EXPECT_EQ(moved.mouseDy, 9);
    EXPECT_EQ(moved.mouseWheel, 120);
    MouseState still = Mouse();
    EXPECT_EQ(still.mouseDx, 0);
    EXPECT_EQ(still.mouseButtons[0], kPressedBit);
    EXPECT_EQ(script.keySnapshots(), 2);
    EXPECT_EQ(script.mouseSnapshots(), 2);
  }
  EXPECT_EQ(KeyByte(kKeyQ), kPressedBit);
}

TEST_F(InputSnapshots, ClosingTheLocksClearsTheLiveState) {
  PollKeys({kUsageQ});
  PublishMouse(1, 1, 1u);
  CloseInputLocks();
  EXPECT_EQ(KeyByte(kKeyQ), 0);
  MouseState mouse = Mouse();
  EXPECT_EQ(mouse.mouseDx, 0);
  EXPECT_EQ(mouse.mouseButtons[0], 0);
  CreateInputLocks();
}

// A held key's auto-repeat is no press: once a poll has seen the key
// released, a repeat that arrived before that poll must not bring it back.
TEST_F(InputSnapshots, AutoRepeatIsNotLatchedButClosingTheWindowAsksToQuit) {
  SDL_Event down = {};
  down.type = SDL_KEYDOWN;
  down.key.keysym.scancode = SDL_SCANCODE_Q;
  TakeInputEvent(down);
  PollKeys({kUsageQ});
  down.key.repeat = 1;
  TakeInputEvent(down);
  PollKeys({});
  EXPECT_EQ(KeyByte(kKeyQ), 0);

  ClearQuitRequest();
  SDL_Event close = {};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  TakeInputEvent(close);
  EXPECT_TRUE(QuitRequested());

  ClearQuitRequest();
  SDL_Event altF4 = {};
  altF4.type = SDL_KEYDOWN;
  altF4.key.keysym.sym = SDLK_F4;
  altF4.key.keysym.mod = KMOD_LALT;
  TakeInputEvent(altF4);
  EXPECT_TRUE(QuitRequested());
  ClearQuitRequest();
}

}  // namespace
