#pragma once
#include <SDL.h>

// Game controllers through SDL's game-controller layer, on the system thread.
// SDL's own mappings, SDL_GAMECONTROLLERCONFIG (SDL reads it) and a player's
// "gamecontrollerdb.txt" in the game's writable directory (read before the
// installed base) decide what counts as a controller. Every controller is
// opened as it is plugged in and closed as it is pulled out, each named in
// conlog.txt; the one pressed last is active (the first one plugged in until
// then) and is the only one read. Pulling out the active controller raises
// the pause request, so the ship is not lost while the player plugs it back;
// another controller still plugged in becomes the active one.
// Internal to the platform layer (input_devices.cpp drives it).

// After SDL's game-controller system started: reads the mapping file and
// opens the controllers already attached.
void OpenGameControllers();
// Closes every open controller.
void CloseGameControllers();
// Device added and removed, button presses (a tap shorter than a poll still
// counts once); other events fall through.
void TakeControllerEvent(const SDL_Event& event);
// Reads the active controller into the controller record and its share of
// the keys and the mouse (pad_mapping.h); all released without one.
void PollGameControllers();
