#pragma once
#include <cstdint>

#include "platform/input.h"

// How a game controller plays the game with the inputs it already reads: the
// controller becomes key bytes and mouse motion and buttons, which the input
// layer ORs with the keyboard's and the mouse's own. Platform layer cannot
// tell a menu from play, so every poll feeds both: the stick turns and
// thrusts through the arrow keys and moves the menu pointer at the same time
// (play ignores the pointer, menus ignore the arrows).
//   d-pad or left stick left/right     Left / Right, pointer x
//   d-pad up, left stick up, RT        Up (thrust); stick and d-pad: pointer y
//   A or right shoulder                Space (fire); A is the left button too
//   B                                  Escape
//   Start                              P (pause)
//   Back held for a second             Q (give up); a tap does nothing
// Pure, no devices: the system thread fills a reading per poll.

// One poll of the active controller. Sticks and trigger as SDL gives them,
// scaled to -1..1 (stick down and right positive) and 0..1.
struct PadReading {
  float leftX = 0, leftY = 0, rightTrigger = 0;
  bool dpadUp = false, dpadDown = false, dpadLeft = false, dpadRight = false;
  bool a = false, b = false, back = false, start = false, rightShoulder = false;
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

 private:
  double backHeldSeconds_ = 0;
  float pendingDx_ = 0;
  float pendingDy_ = 0;
};
