#pragma once
#include <cstdint>

class BundleSprite;
class Texture;

// The two pieces every menu screen is built from: buttons (textured
// rectangles with a normal and an active picture) and the pointer the menus
// move themselves from relative mouse motion. Widgets lie in the menu plane
// z = -1, x to the right and y upwards from the centre of the screen; at 4:3
// it shows about ±0.7438 × ±0.5578. Main thread only (GL).

constexpr float kMenuDepth = -1.0f;

// A plain value owned by the screen that builds it; it owns nothing. The
// sprites must outlive it (they belong to the catalogue).
class MenuButton {
 public:
  // Corners (left, top), (right, top), (left, bottom), (right, bottom) at
  // z = -1, stored as given: left > right or bottom > top draws the picture
  // mirrored, and such a button never gets under the pointer. Starts visible
  // with the normal picture.
  MenuButton(float left, float right, float top, float bottom, const BundleSprite* normal,
             const BundleSprite* active);
  // A picture that never reacts: one sprite as both images.
  MenuButton(float left, float right, float top, float bottom, const BundleSprite* picture);
  ~MenuButton();

  // Visible buttons take the active picture when left < x < right and
  // bottom < y < top (all strict), else the normal one. A hidden button keeps
  // what it had.
  void UpdateHover(float pointerX, float pointerY);
  // Visible buttons only: textured with the current picture, blended, colour
  // white. Leaves the vertex and texture-coordinate arrays enabled. A button
  // without a picture draws nothing.
  void Draw() const;
  // Visible and showing its active picture. Always true for a visible
  // picture built from one sprite, so screens never ask pictures.
  bool UnderPointer() const { return visible && currentImage == activeImage; }

  float corners[12];
  uint8_t indices[6] = {0, 1, 2, 2, 1, 3};
  const BundleSprite* currentImage;
  const BundleSprite* normalImage;
  const BundleSprite* activeImage;
  bool visible = true;
};

// The one pointer of the process: it keeps its place from one menu screen to
// the next. Starts at the centre.
struct MenuPointer {
  float x = 0;
  float y = 0;
};
extern MenuPointer menuPointer;

// Moves menuPointer by this frame's mouse counts (x to the right, y
// downwards): 500 counts cross one unit of the plane whatever the frame time
// or resolution; the pointer stays within ±0.743 × ±0.557.
void MovePointer(int32_t mouseDx, int32_t mouseDy);
// A 0.025 square with its top-left corner, the hot spot, at (x, y) in the
// plane z. Disables the three client arrays; leaves blending on.
void DrawPointer(const Texture& texture, float x, float y, float z);
