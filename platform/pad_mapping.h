#pragma once
#include <cstdint>

#include "platform/controls.h"
#include "platform/input.h"

// How a game controller plays the game with the inputs it already reads: the
// controller becomes key bytes and mouse motion and buttons, which the input
// layer ORs with the keyboard's and the mouse's own. Platform layer cannot
// tell a menu from play, so every poll feeds both: the stick turns and
// thrusts through the bound keys and moves the menu pointer at the same time
// (play ignores the pointer, menus ignore the turn keys).
// Each action's bound button (controls.h) presses that action's bound key;
// the give-up button must be held for a second, a tap does nothing. Beside
// the bound buttons, always (the right shoulder only while no action is bound
// to it; A and B stay what menus need, and play ignores the click and Escape):
//   left stick left/right              turn left / right, pointer x
//   left stick up, right trigger       thrust; stick and d-pad: pointer
//   right shoulder                     fire
//   A                                  the left mouse button
//   B                                  Escape
// Pure, no devices: the system thread fills a reading per poll.

// One poll of the active controller. Sticks and trigger as SDL gives them,
// scaled to -1..1 (stick down and right positive) and 0..1.
struct PadReading {
  float leftX = 0, leftY = 0, rightTrigger = 0;
  uint32_t buttons = 0;  // bit b for PadButton b held

  bool Held(int button) const { return (buttons >> button) & 1u; }
  void Hold(int button) { buttons |= 1u << button; }
};

struct PadOutput {
  uint8_t keys[kKeyCount] = {};
  int32_t pointerDx = 0;  // mouse counts, as the mouse record counts them
  int32_t pointerDy = 0;
  bool leftButton = false;
};

// A stick or trigger counts only past a third of its travel, so a worn stick
// resting off-centre neither turns the ship nor drifts the pointer.
constexpr float kPadDeadZone = 1.0f / 3.0f;
// Back must stay down this long before it gives up the game.
constexpr double kGiveUpHoldSeconds = 1.0;
// The menu pointer moves 0.002 plane units per mouse count over a plane
// about 1.49 wide: this many counts a second crosses it in about a second at
// full tilt.
constexpr float kPointerCountsPerSecondAtFullTilt = 743.0f;

class PadMapper {
 public:
  // Turns the reading of a poll that came `seconds` after the previous one
  // into this poll's output. Keeps the Back hold time and the pointer
  // motion's fractions between polls.
  void Map(const PadReading& reading, double seconds, PadOutput* output);
  // A controller was connected, pulled out or replaced: forget the hold and
  // the fractions.
  void Reset();
  // Rebinds from the next Map on; bindings are taken as they are (the caller
  // checked them).
  void SetBindings(const ControlBindings& bindings) { bindings_ = bindings; }

 private:
  bool BoundToAnAction(int button) const;

  ControlBindings bindings_ = kDefaultBindings;
  double giveUpHeldSeconds_ = 0;
  float pendingDx_ = 0;
  float pendingDy_ = 0;
};
