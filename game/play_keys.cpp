#include "game/play_keys.h"

#include "platform/input.h"
#include "resources/settings.h"

int32_t PlayKey(GameAction action) {
  const int32_t key = Settings.bindings.keys[action];
  return BindableKey(key) ? key : kDefaultBindings.keys[action];
}

int32_t PlayPadButton(GameAction action) {
  const int32_t button = Settings.bindings.padButtons[action];
  return BindablePadButton(button) ? button : kDefaultBindings.padButtons[action];
}

bool PlayKeyDown(const uint8_t* keys, GameAction action) { return Pressed(keys[PlayKey(action)]); }

bool PauseKeyDown(const uint8_t* keys) {
  return PlayKeyDown(keys, kActionPause) || Pressed(keys[kKeyPause]);
}
