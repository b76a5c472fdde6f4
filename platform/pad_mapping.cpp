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
  Press(keys, kKeyLeft, reading.dpadLeft || reading.leftX < -kPadDeadZone);
  Press(keys, kKeyRight, reading.dpadRight || reading.leftX > kPadDeadZone);
  Press(keys, kKeyUp, reading.dpadUp || reading.leftY < -kPadDeadZone || reading.rightTrigger > kPadDeadZone);
  Press(keys, kKeySpace, reading.a || reading.rightShoulder);
  Press(keys, kKeyEscape, reading.b);
  Press(keys, kKeyP, reading.start);

  backHeldSeconds_ = reading.back ? backHeldSeconds_ + seconds : 0.0;
  Press(keys, kKeyQ, reading.back && backHeldSeconds_ >= kGiveUpHoldSeconds);

  output->leftButton = reading.a;

  // A long stall (a debugger, a suspended machine) must not throw the
  // pointer across the screen.
  const float step = static_cast<float>(std::fmin(seconds, 0.1)) * kPointerCountsPerSecondAtFullTilt;
  pendingDx_ += step * PointerShare(reading.leftX, reading.dpadLeft, reading.dpadRight);
  pendingDy_ += step * PointerShare(reading.leftY, reading.dpadUp, reading.dpadDown);
  output->pointerDx = static_cast<int32_t>(pendingDx_);
  output->pointerDy = static_cast<int32_t>(pendingDy_);
  pendingDx_ -= static_cast<float>(output->pointerDx);
  pendingDy_ -= static_cast<float>(output->pointerDy);
}

void PadMapper::Reset() {
  backHeldSeconds_ = 0;
  pendingDx_ = 0;
  pendingDy_ = 0;
}
