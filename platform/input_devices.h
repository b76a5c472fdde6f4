#pragma once
#include <SDL.h>

// The system thread's pump hands every event to the input layer, which keeps
// what it needs (first key presses, button presses, wheel motion, controllers
// coming and going) for the next polls and lets the rest fall through.
// Closing the window (its close button, the quit event, Alt+F4) raises the
// quit request; the window losing the input focus raises the pause request. Internal to the
// platform layer.
void TakeInputEvent(const SDL_Event& event);
