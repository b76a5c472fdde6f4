#pragma once
#include <cstdint>

#include "platform/input.h"

// The player's controls: which key and which controller button play each of
// the game's six rebindable actions, and whether controllers rumble. The game
// reads the key bytes only; the platform layer turns a controller's bound
// button into the bound key of the same action, so a rebound key and a
// rebound button both reach the game as that action's key.

enum GameAction : int {
  kActionTurnLeft,
  kActionTurnRight,
  kActionThrust,
  kActionFire,
  kActionGiveUp,  // the controller's button must be held for a second
  kActionPause,
  kActionCount,
};

// Controller buttons in SDL's game-controller numbering, which is also how the
// settings file stores them.
enum PadButton : int {
  kPadA = 0,
  kPadB = 1,
  kPadX = 2,
  kPadY = 3,
  kPadBack = 4,
  kPadGuide = 5,
  kPadStart = 6,
  kPadLeftStick = 7,
  kPadRightStick = 8,
  kPadLeftShoulder = 9,
  kPadRightShoulder = 10,
  kPadDpadUp = 11,
  kPadDpadDown = 12,
  kPadDpadLeft = 13,
  kPadDpadRight = 14,
  kPadMisc = 15,
  kPadButtonCount = 16,
};

struct ControlBindings {
  int32_t keys[kActionCount];
  int32_t padButtons[kActionCount];
};

// The keyboard's Pause key (kKeyPause) always pauses, beside the bound key.

// Today's controls, what a settings file without bindings gives.
constexpr ControlBindings kDefaultBindings = {
    {kKeyLeft, kKeyRight, kKeyUp, kKeySpace, kKeyQ, kKeyP},
    {kPadDpadLeft, kPadDpadRight, kPadDpadUp, kPadA, kPadBack, kPadStart},
};

// A key code that can play an action: any key with a code of its own except
// Escape, which leaves screens, and Pause, which always pauses.
bool BindableKey(int keyCode);
// 0..kPadButtonCount-1 except Guide, which desktops keep for themselves.
bool BindablePadButton(int button);

// "A", "START", "D-PAD LEFT"; "" outside 0..kPadButtonCount-1.
const char* PadButtonName(int button);

// What the controller polls of the system thread map from now on. Any
// thread. Values that are not bindable keep that action's default.
void SetPadBindings(const ControlBindings& bindings);
ControlBindings PadBindings();

// Rumble of the active controller, where it has motors. Any thread: the
// request is played by the system thread's next poll. Nothing while rumble is
// switched off.
enum class RumbleKind {
  ShieldHit,     // short and light
  ShipBreakUp,   // strong, about half a second
  FinalRockHit,  // a light tick
};
void SetRumbleEnabled(bool enabled);
void Rumble(RumbleKind kind);
