#include "frontend/binding_pick.h"

#include <cmath>
#include <cstddef>

#include "platform/pad_mapping.h"

namespace {

// ControllerState's axes: the two sticks' x and y, then the two triggers,
// in -100..100.
constexpr int kStickAxisCount = 4;
constexpr int kAxisCount = 6;
constexpr float kAxisFullScale = 100.0f;

bool AnyPressed(const uint8_t* bytes, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    if (Pressed(bytes[k])) return true;
  }
  return false;
}

bool NothingHeld(const InputStateRecord& input, const ControllerState& pad) {
  return !AnyPressed(input.keys, kKeyCount) && !AnyPressed(input.mouseButtons, kMouseButtonCount) &&
         !ControllerBusy(pad);
}

// The lowest key code held that an action may take; kKeyNone when none.
int32_t HeldBindableKey(const uint8_t* keys) {
  for (int key = 0; key < kKeyCount; ++key) {
    if (Pressed(keys[key]) && BindableKey(key)) return key;
  }
  return kKeyNone;
}

constexpr int32_t kNoButton = -1;

int32_t HeldBindableButton(const ControllerState& pad) {
  for (int button = 0; button < kPadButtonCount; ++button) {
    if (Pressed(pad.buttons[button]) && BindablePadButton(button)) return button;
  }
  return kNoButton;
}

}  // namespace

bool ControllerBusy(const ControllerState& pad) {
  if (AnyPressed(pad.buttons, kPadButtonCount) || AnyPressed(pad.directions, sizeof pad.directions))
    return true;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    const float travel = axis < kStickAxisCount ? std::fabs(pad.axes[axis]) : pad.axes[axis];
    if (travel > kPadDeadZone * kAxisFullScale) return true;
  }
  return false;
}

void Rebind(ControlBindings* bindings, GameAction action, BindingKind kind, int32_t value) {
  const bool key = kind == BindingKind::Key;
  if (key ? !BindableKey(value) : !BindablePadButton(value)) return;
  int32_t* slots = key ? bindings->keys : bindings->padButtons;
  int holder = -1;
  for (int other = 0; other < kActionCount; ++other) {
    if (other != action && slots[other] == value) holder = other;
  }
  if (holder >= 0) slots[holder] = slots[action];
  slots[action] = value;
}

void BindingPick::Start(GameAction action, BindingKind kind) {
  active_ = true;
  released_ = false;
  action_ = action;
  kind_ = kind;
}

BindingPick::Outcome BindingPick::Step(const InputStateRecord& input, const ControllerState& pad,
                                       ControlBindings* bindings) {
  if (!active_) return Outcome::Waiting;
  if (!released_) {
    released_ = NothingHeld(input, pad);
    return Outcome::Waiting;
  }
  if (kind_ == BindingKind::PadButton) {
    if (const int32_t button = HeldBindableButton(pad); button != kNoButton) {
      Rebind(bindings, action_, kind_, button);
      active_ = false;
      return Outcome::Bound;
    }
  }
  if (Pressed(input.keys[kKeyEscape])) {
    active_ = false;
    return Outcome::Cancelled;
  }
  if (kind_ == BindingKind::Key && !ControllerBusy(pad)) {
    const int32_t key = HeldBindableKey(input.keys);
    if (key != kKeyNone) {
      Rebind(bindings, action_, kind_, key);
      active_ = false;
      return Outcome::Bound;
    }
  }
  return Outcome::Waiting;
}
