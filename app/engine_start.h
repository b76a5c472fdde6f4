#pragma once
#include "platform/engine.h"

// The game's engine start: StartEngine with the window the player's settings
// ask for (size, colour depth, full screen, brightness, read now) and the
// OpenAL device, on top of whatever else the config holds. A missing sound
// device does not fail the start: the run is silent (AudioRunsSilent).
bool StartGameEngine(EngineConfig config = {});
