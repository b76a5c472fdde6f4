#pragma once
#include <SDL.h>

// The system thread's pump hands every event to the input layer, which keeps
// what it needs (key and button presses, wheel motion) for the next polls
// and lets the rest fall through. Internal to the platform layer.
void TakeInputEvent(const SDL_Event& event);
