#pragma once
#include <cstdint>

// Brightness as a gamma ramp of the display: the way when frames are not
// presented through a framebuffer with GLSL (picture_brightness.h has the
// other). The window's creation saves the display's ramp and applies the brightness
// setting, the options screen applies a new step at once, and the window's
// destruction (or a SIGINT / SIGTERM while the window exists) puts the saved
// ramp back. A display that refuses a ramp keeps its own; nothing is reported.

constexpr int kGammaRampSize = 256;

struct GammaRamp {
  uint16_t red[kGammaRampSize];
  uint16_t green[kGammaRampSize];
  uint16_t blue[kGammaRampSize];
};

// The ramp of a brightness step: exponent 1.0 for step 0 (High), 1.33 for 1
// (Medium) and 1.66 for any other value (Low); entry i of every channel is
// ((i + 1) / 256)^e × 65535 + 0.5, cut to 0..65535 and truncated. Pure.
GammaRamp BuildGammaRamp(int32_t step);

// The identity ramp (i × 257), what a display shows untouched. Pure.
GammaRamp LinearGammaRamp();

// System thread, window creation: remembers the display's current ramp.
void SaveGammaRamp();
// System thread (window creation) and main thread (options screen). While
// the picture carries the brightness (picture_brightness.h) only the present
// pass changes; the display's ramp is neither read nor set.
void ApplyBrightness(int32_t step);
// System thread, window destruction: puts back the saved ramp. A second call
// without a new save does nothing.
void RestoreGammaRamp();

// Where the ramps go. The default is the game window's display: SDL's window
// gamma, or XRandR CRTC gamma where the X server refuses SDL's. Tests install
// a recording one. A saved ramp that reads all black is taken as unreadable
// and the linear ramp is restored in its place, so the desktop never stays
// dark.
class GammaOutput {
 public:
  virtual ~GammaOutput() = default;
  virtual void Save() = 0;
  virtual void Apply(const GammaRamp& ramp) = 0;
  virtual void Restore() = 0;
};
// nullptr goes back to the display. Call while no window exists; the caller
// keeps ownership.
void SetGammaOutput(GammaOutput* output);
