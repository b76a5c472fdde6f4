#include <functional>
#include <string>
#include <thread>

#include "platform/input.h"
#include "x11/engine_session.h"

namespace {

bool KeyDown(int keyCode) {
  uint8_t keys[kKeyCount];
  SnapshotKeys(keys);
  return Pressed(keys[keyCode]);
}

// A tap is down for one poll only, so the snapshots must come at least once
// per poll to see it; on a busy machine a test thread can sleep through one.
// Up to three tries: without latching no try would ever see the key.
bool SeenDuringOneOfThreeTries(const std::function<void()>& press, const std::function<bool()>& seen) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::thread presser(press);  // snapshots go on meanwhile, as frames do
    bool found = WaitFor(seen, 500);
    presser.join();
    if (found) return true;
  }
  return false;
}

class Input : public EngineSession {
 protected:
  void SetUp() override {
    EngineSession::SetUp();
    ASSERT_TRUE(StartGameEngine(config_));
  }
};

TEST_F(Input, KeysHeldOnTheKeyboardReachTheSnapshotUnderTheirCodes) {
  struct {
    const char* keysym;
    int keyCode;
  } keys[] = {
      {"q", kKeyQ},         {"a", kKeyA},         {"z", kKeyZ},         {"m", kKeyM},
      {"1", kKey1},         {"0", kKey0},         {"9", kKey9},         {"Up", kKeyUp},
      {"Down", kKeyDown},   {"Left", kKeyLeft},   {"Right", kKeyRight}, {"Escape", kKeyEscape},
      {"space", kKeySpace}, {"Return", kKeyEnter}, {"Home", kKeyHome},
  };
  for (const auto& key : keys) {
    PressKey(key.keysym);
    EXPECT_TRUE(WaitFor([&] { return KeyDown(key.keyCode); })) << key.keysym;
    ReleaseKey(key.keysym);
    EXPECT_TRUE(WaitFor([&] { return !KeyDown(key.keyCode); })) << key.keysym;
  }
}

TEST_F(Input, AKeyHeldAcrossSeveralPollsIsDownInEverySnapshot) {
  PressKey("Left");
  ASSERT_TRUE(WaitFor([] { return KeyDown(kKeyLeft); }));
  for (int snapshot = 0; snapshot < 10; ++snapshot) {
    EXPECT_TRUE(KeyDown(kKeyLeft));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ReleaseKey("Left");
  EXPECT_TRUE(WaitFor([] { return !KeyDown(kKeyLeft); }));
}

TEST_F(Input, ATapShorterThanAPollIsStillSeen) {
  struct {
    const char* keysym;
    int keyCode;
  } taps[] = {{"x", kKeyX}, {"Return", kKeyEnter}, {"Escape", kKeyEscape}};
  for (const auto& tap : taps) {
    EXPECT_TRUE(SeenDuringOneOfThreeTries([&] { TapKey(tap.keysym); },
                                          [&] { return KeyDown(tap.keyCode); }))
        << tap.keysym;
    EXPECT_TRUE(WaitFor([&] { return !KeyDown(tap.keyCode); }, 1000)) << tap.keysym;
  }
}

TEST_F(Input, RelativeMotionReachesTheMouseSnapshotOnce) {
  MouseState mouse;
  SnapshotMouse(&mouse);  // whatever came before
  MoveMouseBy(30, -20);
  int dx = 0, dy = 0;
  EXPECT_TRUE(WaitFor([&] {
    SnapshotMouse(&mouse);
    dx += mouse.mouseDx;
    dy += mouse.mouseDy;
    return dx == 30 && dy == -20;
  })) << dx << "," << dy;

  MoveMouseBy(-7, 11);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // several polls
  SnapshotMouse(&mouse);
  EXPECT_EQ(mouse.mouseDx, -7);
  EXPECT_EQ(mouse.mouseDy, 11);
  SnapshotMouse(&mouse);
  EXPECT_EQ(mouse.mouseDx, 0);
  EXPECT_EQ(mouse.mouseDy, 0);
}

TEST_F(Input, ButtonsAndWheelReachTheMouseRecord) {
  MouseState mouse;
  auto button = [&mouse](int index) {
    SnapshotMouse(&mouse);
    return Pressed(mouse.mouseButtons[index]);
  };
  EXPECT_TRUE(SeenDuringOneOfThreeTries([] { RunCommand("xdotool click 1"); },  // shorter than a poll
                                        [&] { return button(0); }));
  EXPECT_TRUE(WaitFor([&] { return !button(0); }, 1000));

  RunCommand("xdotool mousedown 3");
  EXPECT_TRUE(WaitFor([&] { return button(1); }));
  EXPECT_FALSE(button(0));
  RunCommand("xdotool mouseup 3");
  EXPECT_TRUE(WaitFor([&] { return !button(1); }));

  SnapshotMouse(&mouse);
  RunCommand("xdotool click 4");  // one notch away from the player
  int wheel = 0;
  EXPECT_TRUE(WaitFor([&] {
    SnapshotMouse(&mouse);
    wheel += mouse.mouseWheel;
    return wheel == 120;
  })) << wheel;
}

}  // namespace
