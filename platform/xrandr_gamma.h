#pragma once
#include <cstdint>

#include "platform/gamma.h"

// Display gamma through XRandR CRTC gamma, on an X connection of its own, for
// X servers whose visuals take no gamma ramp through SDL (TrueColor). libX11
// and libXrandr are opened at run time, so without them the game runs, only
// without this fallback. Callers serialise the three operations.

// Opens the connection and remembers the ramp of every active CRTC in its own
// size. False when there is no X server, no XRandR 1.2 or no CRTC with gamma.
bool SaveCrtcGamma();
// Sets the ramp, resampled to each CRTC's size, on every CRTC saved. False
// when nothing is saved.
bool ApplyCrtcGamma(const GammaRamp& ramp);
// Puts the saved ramps back (the linear ramp for one that read all black) and
// closes the connection.
void RestoreCrtcGamma();
// Closes the connection, leaving the display's ramps as they are.
void ForgetCrtcGamma();

// Whether a window (on SDL's connection) can take SDL's gamma ramp: X keeps
// one only for DirectColor visuals. SDL stores a ramp for a window without
// the focus and reports success, and on a TrueColor visual it then fails
// without a word when the focus comes, so success alone proves nothing.
bool VisualTakesGammaRamp(void* xDisplay, unsigned long xWindow);

// Entry j of a ramp of `size` entries taken from the 256-entry channel, first
// to first and last to last. Pure.
void ResampleGammaChannel(const uint16_t* channel, uint16_t* out, int size);
// True when a saved channel of `size` entries is worth restoring: not all
// black at its top. Pure.
bool GammaChannelUsable(const uint16_t* channel, int size);
