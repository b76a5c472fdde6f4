#include "platform/pad_mapping.h"

#include <cmath>

namespace {

// 0 inside the dead zone, then growing to 1 at the end of the travel.
float PastDeadZone(float value) {
  const float magnitude = std::fabs(value);
  if (magnitude <= kPadDeadZone) return 0.0f;
  const float beyond = (std::fmin(magnitude, 1.0f) - kPadDeadZone) / (1.0f - kPadDeadZone);
  return value < 0 ? -beyond : beyond;
}

// Pointer speed as a share of full tilt: squared, so small deflections give
// fine control and full tilt still crosses the menu quickly. A d-pad
// direction is full tilt.
float PointerShare(float stick, bool negative, bool positive) {
  if (negative != positive) return negative ? -1.0f : 1.0f;
  const float beyond = PastDeadZone(stick);
  return beyond * std::fabs(beyond);
}

void Press(uint8_t* keys, int keyCode, bool down) {
  if (down) keys[keyCode] = kPressedBit;
}

}  // namespace

void PadMapper::Map(const PadReading& reading, double seconds, PadOutput* output) {
  *output = PadOutput{};
  uint8_t* keys = output->keys;
  const auto bound = [&](GameAction action) { return reading.Held(bindings_.padButtons[action]); };
  const auto press = [&](GameAction action, bool down) {
    Press(keys, bindings_.keys[action], down);
  };
  press(kActionTurnLeft, bound(kActionTurnLeft) || reading.leftX < -kPadDeadZone);
  press(kActionTurnRight, bound(kActionTurnRight) || reading.leftX > kPadDeadZone);
  press(kActionThrust, bound(kActionThrust) || reading.leftY < -kPadDeadZone ||
                           reading.rightTrigger > kPadDeadZone);
  // The shoulder's fire gives way to whatever the player bound to it: thrust
  // on the right shoulder must not fire as well.
  const bool shoulderFires = reading.Held(kPadRightShoulder) && !BoundToAnAction(kPadRightShoulder);
  press(kActionFire, bound(kActionFire) || shoulderFires);
  press(kActionPause, bound(kActionPause));
  Press(keys, kKeyEscape, reading.Held(kPadB));

  giveUpHeldSeconds_ = bound(kActionGiveUp) ? giveUpHeldSeconds_ + seconds : 0.0;
  press(kActionGiveUp, bound(kActionGiveUp) && giveUpHeldSeconds_ >= kGiveUpHoldSeconds);

  output->leftButton = reading.Held(kPadA);

  // A long stall (a debugger, a suspended machine) must not throw the
  // pointer across the screen.
  const float step = static_cast<float>(std::fmin(seconds, 0.1)) * kPointerCountsPerSecondAtFullTilt;
  pendingDx_ +=
      step * PointerShare(reading.leftX, reading.Held(kPadDpadLeft), reading.Held(kPadDpadRight));
  pendingDy_ +=
      step * PointerShare(reading.leftY, reading.Held(kPadDpadUp), reading.Held(kPadDpadDown));
  output->pointerDx = static_cast<int32_t>(pendingDx_);
  output->pointerDy = static_cast<int32_t>(pendingDy_);
  pendingDx_ -= static_cast<float>(output->pointerDx);
  pendingDy_ -= static_cast<float>(output->pointerDy);
}

bool PadMapper::BoundToAnAction(int button) const {
  for (int32_t bound : bindings_.padButtons)
    if (bound == button) return true;
  return false;
}

void PadMapper::Reset() {
  giveUpHeldSeconds_ = 0;
  pendingDx_ = 0;
  pendingDy_ = 0;
}
