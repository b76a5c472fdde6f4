#pragma once

#include "resources/catalogue.h"

// The frame shape the level screens share (intro, gameplay, summary): clear,
// draw, present, sample the frame timers, yield. Main thread, GL context
// current.

// Clears the colour, depth and stencil buffers and loads the identity
// modelview matrix.
void BeginScreenFrame();
// Presents the frame, runs UpdateTimers and yields the rest of the time
// slice. There is no frame cap.
void EndScreenFrame();

// A full-width picture on the screen plane z = -3.5: a square of half-size 1
// around (0, centreY), colour (1, 1, 1, 1), blended with (GL_SRC_ALPHA,
// GL_ONE_MINUS_SRC_ALPHA), GL_TEXTURE_2D left on.
void DrawScreenPicture(TextureSlot slot, float centreY);
