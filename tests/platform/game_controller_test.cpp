#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/asset_directory.h"
#include "platform/controls.h"
#include "platform/console_log.h"
#include "platform/input.h"
#include "platform/input_devices.h"
#include "platform/input_live.h"
#include "platform/key_codes.h"
#include "platform/locks.h"
#include "platform/pad_mapping.h"
#include "platform/pause_request.h"
#include "platform/rumble_queue.h"
#include "support/temp_dir.h"

namespace {

constexpr Sint16 kFullTilt = 32767;
constexpr int kUsageSpace = 44;

int Count(const std::string& text, const std::string& part) {
  int found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

// The devices as the system thread runs them, with SDL's virtual joysticks
// standing in for controllers and the test pumping the events.
class GameControllers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartAssetDirectoryAt(dir.withSlash().c_str()));
    ASSERT_TRUE(StartConsoleLog());
    ResetLockPool();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    TakePauseRequest();
  }
  void TearDown() override {
    SetPadBindings(kDefaultBindings);
    SetRumbleEnabled(true);
    if (handle) SDL_JoystickClose(handle);
    DestroyInputDevices();
    StopConsoleLog();
    StopAssetDirectory();
    SDL_Quit();
  }

  // Attaches a virtual joystick and opens the test's own handle on it.
  int Attach(SDL_JoystickType type, int axes, int buttons, const char* name,
             void (*describe)(SDL_VirtualJoystickDesc*) = nullptr) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    if (describe) describe(&desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = static_cast<Uint16>(type);
    desc.naxes = static_cast<Uint16>(axes);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.name = name;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    handle = SDL_JoystickOpen(index);
    EXPECT_NE(handle, nullptr) << SDL_GetError();
    return index;
  }

  // One pass of the system thread's pump, a little later than the last.
  void Pump() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SDL_Event event;
    while (SDL_PollEvent(&event)) TakeInputEvent(event);
    PollController();
  }
  uint8_t Key(int keyCode) {
    uint8_t keys[kKeyCount];
    SnapshotKeys(keys);
    return keys[keyCode];
  }
  MouseState Mouse() {
    MouseState mouse;
    SnapshotMouse(&mouse);
    return mouse;
  }
  std::string Log() { return dir.ReadFile("conlog.txt"); }

  TempDir dir;
  SDL_Joystick* handle = nullptr;
};

TEST_F(GameControllers, AControllerPluggedInDuringPlayDrivesTheKeysAndPointerAndPausesWhenPulledOut) {
  ASSERT_TRUE(CreateInputDevices());
  const int index = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                           SDL_CONTROLLER_BUTTON_MAX, "Virtual Pad");
  SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTX, kFullTilt / 4);  // inside the dead zone
  Pump();
  Pump();
  EXPECT_EQ(Key(kKeyRight), 0);
  EXPECT_EQ(Mouse().mouseDx, 0);

  // Full tilt up-left: turn and thrust, and the pointer goes up-left.
  SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTX, -kFullTilt);
  SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTY, -kFullTilt);
  Pump();
  Pump();
  EXPECT_EQ(Key(kKeyLeft) & Key(kKeyUp), kPressedBit);
  MouseState moved = Mouse();
  EXPECT_LT(moved.mouseDx, -20);  // two polls of at least 30 ms at 743 counts a second
  EXPECT_EQ(moved.mouseDx, moved.mouseDy);

  // Centred again, A fires and clicks, B is Escape, Start is P. Then the
  // keyboard holds Space as A goes up: Space stays down.
  SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTX, 0);
  SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTY, 0);
  for (int button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_START}) {
    SDL_JoystickSetVirtualButton(handle, button, 1);
  }
  Pump();
  EXPECT_EQ(Key(kKeySpace) & Key(kKeyEscape) & Key(kKeyP), kPressedBit);
  EXPECT_EQ(Key(kKeyLeft), 0);
  EXPECT_EQ(Mouse().mouseButtons[0], kPressedBit);
  uint8_t held[kDeviceScanCodeCount] = {};
  held[kUsageSpace] = 1;
  PublishKeys(held, kDeviceScanCodeCount);
  SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_A, 0);
  Pump();
  EXPECT_EQ(Key(kKeySpace), kPressedBit);
  EXPECT_EQ(Mouse().mouseButtons[0], 0);

  // Pulled out: its keys go up and play is asked to pause.
  EXPECT_FALSE(TakePauseRequest());
  SDL_JoystickClose(handle);
  handle = nullptr;
  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
  Pump();
  EXPECT_TRUE(TakePauseRequest());
  EXPECT_EQ(Key(kKeyEscape) | Key(kKeyP), 0);
  EXPECT_EQ(Key(kKeySpace), kPressedBit);  // still the keyboard's
  const std::string log = Log();
  EXPECT_EQ(Count(log, "Controller connected: Virtual Pad\n"), 1) << log;
  EXPECT_EQ(Count(log, "Controller disconnected: Virtual Pad\n"), 1) << log;
}

TEST_F(GameControllers, TheMappingFileBesideTheSettingsMakesAPlainJoystickAController) {
  const int index = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, "Plain Stick");
  char guid[64];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
  ASSERT_FALSE(SDL_IsGameController(index));
  // Published mapping files carry GUIDs without the name checksum (bytes 2-3).
  std::memset(guid + 4, '0', 4);
  dir.WriteFile("gamecontrollerdb.txt", "# the player's own mappings\n" + std::string(guid) +
                                            ",Mapped Stick,a:b2,b:b0,leftx:a0,lefty:a1,platform:Linux,\n");

  ASSERT_TRUE(CreateInputDevices());
  Pump();  // the add event of the controller opened at the start changes nothing
  SDL_JoystickSetVirtualButton(handle, 2, 1);
  Pump();
  EXPECT_EQ(Key(kKeySpace), kPressedBit);
  EXPECT_EQ(Key(kKeyEscape), 0);
  const std::string log = Log();
  EXPECT_EQ(Count(log, "gamecontrollerdb.txt: 1 controller mappings\n"), 1) << log;
  EXPECT_EQ(Count(log, "Controller connected: Mapped Stick\n"), 1) << log;
}

// What the virtual controller's motors were last told, and when.
struct MotorLog {
  int calls = 0;
  Uint16 low = 0, high = 0;
  std::chrono::steady_clock::time_point at;
};
MotorLog motors;

TEST_F(GameControllers, ReboundButtonsPressTheReboundKeysAndRumbleReachesTheMotorsOnlyWhenOn) {
  ASSERT_TRUE(CreateInputDevices());
  motors = {};
  Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX,
         "Rumble Pad", [](SDL_VirtualJoystickDesc* desc) {
           desc->Rumble = [](void*, Uint16 low, Uint16 high) {
             motors = {motors.calls + 1, low, high, std::chrono::steady_clock::now()};
             return 0;
           };
         });
  ControlBindings bindings = kDefaultBindings;
  bindings.keys[kActionFire] = kKeyLeftControl;
  bindings.padButtons[kActionFire] = kPadX;
  SetPadBindings(bindings);
  SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_X, 1);
  SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_A, 1);
  Pump();
  EXPECT_EQ(Key(kKeyLeftControl), kPressedBit);
  EXPECT_EQ(Key(kKeySpace), 0);                     // A fires no more...
  EXPECT_EQ(Mouse().mouseButtons[0], kPressedBit);  // ...but still clicks

  Rumble(RumbleKind::ShipBreakUp);
  Pump();
  ASSERT_EQ(motors.calls, 1);
  EXPECT_EQ(motors.low, 65535);
  EXPECT_GT(motors.high, 40000);
  const auto started = motors.at;
  while (motors.calls == 1 && std::chrono::steady_clock::now() - started < std::chrono::seconds(2))
    Pump();
  EXPECT_EQ(motors.low | motors.high, 0);  // SDL stops the motors when the length is up
  EXPECT_NEAR(std::chrono::duration<double>(motors.at - started).count(), 0.5, 0.1);

  SetRumbleEnabled(false);
  Rumble(RumbleKind::ShieldHit);
  Pump();
  Pump();
  EXPECT_EQ(motors.calls, 2);
}

TEST(FocusLoss, AnotherWindowTakingTheKeyboardAsksPlayToPause) {
  TakePauseRequest();
  SDL_Event lost = {};
  lost.type = SDL_WINDOWEVENT;
  lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  TakeInputEvent(lost);
  EXPECT_TRUE(TakePauseRequest());
}

TEST(PadMapping, TheKeyboardsPauseKeyHasANameAndBadBindingsKeepTheDefaults) {
  EXPECT_EQ(KeyCodeFromScanCode(ScanCodeFromDevice(SDL_SCANCODE_PAUSE)), kKeyPause);
  ControlBindings bad = kDefaultBindings;
  bad.keys[kActionThrust] = kKeyEscape;
  bad.padButtons[kActionPause] = kPadGuide;
  SetPadBindings(bad);
  EXPECT_EQ(PadBindings().keys[kActionThrust], kKeyUp);
  EXPECT_EQ(PadBindings().padButtons[kActionPause], kPadStart);
  SetPadBindings(kDefaultBindings);
}

TEST(PadMapping, BackGivesUpOnlyAfterASecondAndFullTiltCrossesTheMenuInAboutASecond) {
  PadMapper mapper;
  PadOutput output;
  PadReading reading;
  reading.Hold(kPadBack);
  reading.Hold(kPadDpadRight);
  constexpr double kPoll = 0.02;
  int32_t travelled = 0;
  for (int poll = 0; poll < 49; ++poll) {
    mapper.Map(reading, kPoll, &output);
    EXPECT_EQ(output.keys[kKeyQ], 0) << "poll " << poll;
    EXPECT_EQ(output.keys[kKeyRight], kPressedBit);
    travelled += output.pointerDx;
  }
  mapper.Map(reading, kPoll, &output);
  travelled += output.pointerDx;
  EXPECT_EQ(output.keys[kKeyQ], kPressedBit);
  EXPECT_NEAR(travelled, kPointerCountsPerSecondAtFullTilt, 1.0);

  // A tap, released before the second is up, starts the count again.
  reading.buttons = 0;
  mapper.Map(reading, kPoll, &output);
  EXPECT_EQ(output.keys[kKeyQ], 0);
  reading.Hold(kPadBack);
  mapper.Map(reading, 0.9, &output);
  EXPECT_EQ(output.keys[kKeyQ], 0);

  // Half-way past the dead zone the pointer moves at a quarter of full speed.
  PadMapper stick;
  PadReading half;
  half.leftY = kPadDeadZone + (1.0f - kPadDeadZone) / 2;
  stick.Map(half, 0.1, &output);
  EXPECT_EQ(output.pointerDy, static_cast<int32_t>(0.1f * kPointerCountsPerSecondAtFullTilt / 4));
  EXPECT_EQ(output.keys[kKeyDown], 0);  // down on the stick is not a key
}

TEST(PadMapping, TheShoulderFiresOnlyWhileNoActionIsBoundToIt) {
  PadMapper mapper;
  PadOutput output;
  PadReading reading;
  reading.Hold(kPadRightShoulder);
  reading.Hold(kPadB);
  mapper.Map(reading, 0.02, &output);
  EXPECT_EQ(output.keys[kKeySpace], kPressedBit);

  ControlBindings bindings = kDefaultBindings;
  bindings.padButtons[kActionThrust] = kPadRightShoulder;
  bindings.padButtons[kActionTurnLeft] = kPadB;
  mapper.SetBindings(bindings);
  mapper.Map(reading, 0.02, &output);
  EXPECT_EQ(output.keys[kKeyUp], kPressedBit);
  EXPECT_EQ(output.keys[kKeySpace], 0);
  EXPECT_EQ(output.keys[kKeyLeft], kPressedBit);
  EXPECT_EQ(output.keys[kKeyEscape], kPressedBit);  // B still leaves menus
}

}  // namespace
