#include "platform/controls.h"

#include <atomic>

#include "platform/rumble_queue.h"

namespace {

constexpr const char* kPadButtonNames[kPadButtonCount] = {
    "A",           "B",  "X",  "Y",        "BACK",       "GUIDE",      "START",       "LEFT STICK",
    "RIGHT STICK", "LB", "RB", "D-PAD UP", "D-PAD DOWN", "D-PAD LEFT", "D-PAD RIGHT", "MISC",
};

// Written by the main thread, read by the system thread's polls: one action
// rebound while a poll reads the others is harmless.
std::atomic<int32_t> boundKeys[kActionCount];
std::atomic<int32_t> boundButtons[kActionCount];
std::atomic<bool> bindingsSet{false};
std::atomic<bool> rumbleEnabled{true};
std::atomic<int> pendingRumble{kNoRumble};

}  // namespace

bool BindableKey(int keyCode) {
  return keyCode > kKeyNone && keyCode <= kLastKeyCode && keyCode != kKeyEscape &&
         keyCode != kKeyPause && keyCode != kKeyNumLock && keyCode != kKeyNumpadInsert;
}

bool BindablePadButton(int button) {
  return button >= 0 && button < kPadButtonCount && button != kPadGuide;
}

const char* PadButtonName(int button) {
  return button >= 0 && button < kPadButtonCount ? kPadButtonNames[button] : "";
}

void SetPadBindings(const ControlBindings& bindings) {
  for (int action = 0; action < kActionCount; ++action) {
    const int32_t key = bindings.keys[action];
    const int32_t button = bindings.padButtons[action];
    boundKeys[action] = BindableKey(key) ? key : kDefaultBindings.keys[action];
    boundButtons[action] = BindablePadButton(button) ? button : kDefaultBindings.padButtons[action];
  }
  bindingsSet = true;
}

ControlBindings PadBindings() {
  if (!bindingsSet) return kDefaultBindings;
  ControlBindings bindings;
  for (int action = 0; action < kActionCount; ++action) {
    bindings.keys[action] = boundKeys[action];
    bindings.padButtons[action] = boundButtons[action];
  }
  return bindings;
}

void SetRumbleEnabled(bool enabled) {
  rumbleEnabled = enabled;
  if (!enabled) pendingRumble = kNoRumble;
}

void Rumble(RumbleKind kind) {
  if (rumbleEnabled) pendingRumble = static_cast<int>(kind);
}

int TakeRumbleRequest() { return pendingRumble.exchange(kNoRumble); }
