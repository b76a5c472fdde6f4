#pragma once
#include <cstdint>

#include "platform/controls.h"
#include "platform/input.h"

// Internal to the Controls screen: picking a new key or controller button
// for one action. No GL, no devices: the screen hands in each frame's
// snapshots.

enum class BindingKind { Key, PadButton };

// Gives action that key or button. When another action holds it already, the
// two trade: the other action takes what this one had, so no two actions
// ever share a key or a button. Values that BindableKey / BindablePadButton
// refuse change nothing (the Pause key among them: it pauses whatever is
// bound).
void Rebind(ControlBindings* bindings, GameAction action, BindingKind kind, int32_t value);

// The controller is doing something: a button or d-pad direction held, or a
// stick or trigger past the dead zone.
bool ControllerBusy(const ControllerState& pad);

// One pick. It starts with the click on an action's name, so it first waits
// until nothing at all is held (keys, mouse buttons, the controller), then
// takes the next press: a key for a key pick, a controller button for a
// button pick. Escape cancels either. A key pick ignores the keys while the
// controller is busy, since the controller presses the bound keys of its
// buttons and stick; a button pick looks at the controller before Escape,
// since B presses Escape too.
class BindingPick {
 public:
  enum class Outcome { Waiting, Bound, Cancelled };

  void Start(GameAction action, BindingKind kind);
  bool Active() const { return active_; }
  GameAction action() const { return action_; }
  BindingKind kind() const { return kind_; }

  // One frame of input. Bound: the press went into bindings (see Rebind) and
  // the pick is over; Cancelled: over without a change.
  Outcome Step(const InputStateRecord& input, const ControllerState& pad,
               ControlBindings* bindings);

 private:
  bool active_ = false;
  bool released_ = false;
  GameAction action_ = kActionTurnLeft;
  BindingKind kind_ = BindingKind::Key;
};
