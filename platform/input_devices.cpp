#include "platform/input_devices.h"

#include "platform/game_controllers.h"
#include "platform/input.h"
#include "platform/input_live.h"
#include "platform/pause_request.h"
#include "platform/quit_request.h"

// The devices behind the live records: SDL's keyboard state, its relative
// mouse mode and the game controllers (game_controllers.h). System thread
// only.

namespace {

bool controllerSystemStarted = false;

// SDL numbers buttons left, middle, right, side 1, side 2 from 1; the mouse
// record keeps them as left, right, middle, side 1, side 2 from 0.
int ButtonByte(int sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return sdlButton - 1;
  }
}

// Alt+F4 closes the window where a window manager is there to say so; in
// full screen without one the keys themselves reach the game.
bool AltF4(const SDL_KeyboardEvent& key) {
  return key.keysym.sym == SDLK_F4 && (key.keysym.mod & KMOD_ALT) != 0;
}

void ReleaseDevices() {
  CloseGameControllers();
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(SDL_FALSE);
}

}  // namespace

bool CreateInputDevices() {
  CreateInputLocks();
  controllerSystemStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (controllerSystemStarted) OpenGameControllers();
  return true;
}

bool AcquireInputDevices() {
  // Relative mode hides and holds the pointer and reports raw motion, as an
  // exclusive mouse does.
  if (SDL_SetRelativeMouseMode(SDL_TRUE) == 0) return true;
  ReleaseDevices();
  return false;
}

void TakeInputEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
      // A held key sends repeats; the polls see it held, so only the first
      // press is latched (a latched repeat would outlast the release).
      if (event.key.repeat == 0) LatchKeyDown(event.key.keysym.scancode);
      if (AltF4(event.key)) RequestQuit();
      break;
    case SDL_QUIT:
      RequestQuit();
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) RequestQuit();
      // Another window took the keyboard: play must not go on unattended.
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) RequestPause();
      break;
    case SDL_MOUSEBUTTONDOWN:
      LatchButtonDown(ButtonByte(event.button.button));
      break;
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      AddWheel(notches * 120);
      break;
    }
    default:
      TakeControllerEvent(event);
      break;
  }
}

void PollKeyboard() {
  int count = 0;
  const Uint8* held = SDL_GetKeyboardState(&count);
  PublishKeys(held, count);
}

void PollMouse() {
  int dx = 0, dy = 0;
  Uint32 sdlButtons = SDL_GetRelativeMouseState(&dx, &dy);
  uint32_t held = 0;
  for (int sdlButton = 1; sdlButton <= kMouseButtonCount; ++sdlButton) {
    if (sdlButtons & SDL_BUTTON(sdlButton)) held |= 1u << ButtonByte(sdlButton);
  }
  PublishMouse(dx, dy, held);
}

void PollController() { PollGameControllers(); }

void DestroyInputDevices() {
  ReleaseDevices();
  if (controllerSystemStarted) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  controllerSystemStarted = false;
  CloseInputLocks();
}
