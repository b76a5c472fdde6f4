#pragma once
#include <cstdint>

// With the framebuffer path the brightness step is applied to the picture as
// it is presented, by a small GLSL program, so the desktop's gamma ramp is
// never read or changed and nothing can leave a monitor dark. An 8-bit level
// i becomes ((i + 1) / 256)^e, the curve of the display gamma ramps
// (BuildGammaRamp); step 0 is presented untouched, within a level of it.
// Without a framebuffer or without GLSL the display's gamma does the work
// (gamma.h). ApplyBrightness (gamma.h) stays the one entry point for a new step.

// True when the driver's extension list (space separated) has what the
// program needs: shader objects, vertex and fragment shaders, GLSL. Pure.
bool PictureBrightnessOffered(const char* extensionList);

// Decided at window creation (system thread) from the driver's offer: the
// picture will carry the brightness, so the display's ramp is left alone.
// Dropped by the main thread when the program cannot be built, and when the
// window goes. Any thread.
void PlanPictureBrightness(bool planned);
bool BrightnessInPicture();

// The step the pass applies (0..2, anything else as 2). Any thread.
void SetPictureBrightnessStep(int32_t step);
int32_t PictureBrightnessStep();

// Main thread, context current. Builds the program; false (nothing left
// behind) when the entry points are missing or the driver refuses it.
bool CreatePictureBrightness();
void DestroyPictureBrightness();

// In the present pass, with the picture bound on texture unit 0: puts the
// program in use with the step's exponent and returns true, or returns false
// for step 0 and without a program. The caller puts back the game's program.
bool UsePictureBrightness();

// The exponent of a step: 1.0, 1.33, 1.66 (High, Medium, Low). Pure.
double BrightnessExponent(int32_t step);
