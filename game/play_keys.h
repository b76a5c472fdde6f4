#pragma once
#include <cstdint>

#include "platform/controls.h"

// The keys of play as the player bound them (Settings.bindings), read from a
// key snapshot. A binding that is not a usable key reads as the action's
// default, so a stray value can never index past the snapshot.

// The key code that plays action.
int32_t PlayKey(GameAction action);
// The controller button that plays action.
int32_t PlayPadButton(GameAction action);

// Whether action's key is down in keys (a kKeyCount snapshot).
bool PlayKeyDown(const uint8_t* keys, GameAction action);

// The bound pause key, or the keyboard's Pause key, which no action can
// take.
bool PauseKeyDown(const uint8_t* keys);
