#pragma once

class Texture;

// The Controls screen, reached from the options: the keyboard key and the
// controller button of each of the six actions, rumble on or off, and the
// music and effects volumes. Click a key's or a button's name, then press
// the new one (Escape cancels); a key or button another action holds trades
// places with it. Defaults puts back the keys and buttons the game ships
// with. Every change goes into the live Settings at once, and into the
// platform and the audio (SetPadBindings, SetRumbleEnabled, SetVolumeSteps),
// so it is felt and heard at once; nothing is saved here: the options' OK
// and the shutdown save them. Back or Escape returns, once the button or
// the key that left is up again so it does not act on the options screen.
// A quit request returns at once. Main thread, GL context current, the
// catalogue loaded; pointer: the main menu's pointer picture.
void ControlsScreen(const Texture& pointer);
