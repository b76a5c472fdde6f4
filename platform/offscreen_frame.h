#pragma once
#include <cstdint>

// The game draws every frame into a framebuffer object of its own screen
// size, so viewport, projection and text sizes never depend on the window.
// Presenting scales that picture into the window's drawable, keeping its
// shape, centred between black bars. Main thread, with the GL context
// current, for everything below except FramebufferObjectsAllowed and
// AllowFramebufferObjects.

// Where the picture lands in a drawable, in the drawable's pixels (origin at
// the bottom left, as glViewport takes it).
struct PictureRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  // True at 1:1 and exact whole multiples: copied texel for pixel, no blur.
  bool sharp = false;
};

// The largest rectangle of the picture's shape that fits the drawable,
// centred. An empty drawable or picture gives an empty rectangle.
PictureRect FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t drawableWidth,
                       int32_t drawableHeight);

// A test seam, not a player's option: forbidding framebuffer objects makes the
// game present straight into the window and use the display mode change for
// full screen, as on a driver that has none. Any thread, before the start.
void AllowFramebufferObjects(bool allowed);
bool FramebufferObjectsAllowed();

// True when the space-separated list holds exactly that name. Pure.
bool ExtensionListed(const char* list, const char* name);

// True when the driver's extension list (space separated) offers framebuffer
// objects the present pass can use, and they are allowed.
bool FramebufferObjectsOffered(const char* extensionList);

// Makes the framebuffer (colour texture of 5-6-5 bits when sixteenBit, else
// 8-bit RGBA; 24-bit depth with 8-bit stencil) and binds it. False, with
// nothing left behind and the window's framebuffer bound, when the
// extension is missing, not allowed or the driver refuses the format.
bool CreateOffscreenFrame(int32_t width, int32_t height, bool sixteenBit);

// Deletes the framebuffer and its buffers; harmless when none exists.
void DestroyOffscreenFrame();

bool OffscreenFrameActive();

// The present pass: binds the window's framebuffer, clears the drawable to
// black and draws the picture into FitPicture's rectangle. Every GL state it
// changes is put back, except the binding: the window's framebuffer stays
// bound for the swap, after which BindOffscreenFrame is due.
void DrawOffscreenFrame(int32_t drawableWidth, int32_t drawableHeight);

void BindOffscreenFrame();
