#pragma once
#include <cstdint>

#include "platform/input.h"

// The live side of the input layer, kept apart from SDL so that latching and
// the snapshot rules can be tested without devices. Everything here runs on
// the system thread (the device polls in input_devices.cpp call it); the
// Publish operations take the record's lock from the pool while they write.

// Creates the keys, mouse and controller locks, in this order, and clears the
// live records and latches / closes the three locks.
void CreateInputLocks();
void CloseInputLocks();

// A key went down (device scancode, a USB usage id). The next PublishKeys
// reports it even if it was released again before that poll, so a tap
// shorter than the poll interval is never lost.
void LatchKeyDown(int deviceScanCode);
// A key the platform layer keeps for itself (the Enter of Alt+Enter, F11):
// its latch is dropped and the polls leave it out until one sees it released.
void HoldBackKey(int deviceScanCode);
// Live keys = the keys held now (held[scancode] non-zero, count entries) and
// the latched ones, by key code; clears the latches.
void PublishKeys(const uint8_t* held, int count);

// A mouse button (0..7, the byte order of MouseState) went down; the next
// PublishMouse reports it as held.
void LatchButtonDown(int button);
// Wheel motion to report with the next PublishMouse.
void AddWheel(int32_t amount);
// The live mouse record becomes this poll's motion and the wheel gathered
// since the last poll; button b is down when bit b of heldButtons is set or
// it was latched.
void PublishMouse(int32_t dx, int32_t dy, uint32_t heldButtons);

void PublishController(const ControllerState& state);

// The game controller's share of the keys and the mouse, kept apart from the
// keyboard's and the mouse's own and ORed with them by the snapshots, so a
// controller never releases a key the keyboard holds. PublishPadKeys
// replaces the controller's key bytes; PublishPadPointer adds pointer motion
// (it adds up as mouse motion does) and sets whether it holds the left
// button.
void PublishPadKeys(const uint8_t keys[kKeyCount]);
void PublishPadPointer(int32_t dx, int32_t dy, bool leftButton);
