#pragma once
#include <cstdint>

// The screen size the window and its view were made with: Settings' size at
// the last engine start. A resolution picked in the options waits for the
// next start, so whatever lays out by pixels reads these rather than Settings.
// Settings' current size while no GL context exists. Main thread.
int32_t ViewWidth();
int32_t ViewHeight();
