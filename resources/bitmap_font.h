#pragma once
#include <cstdint>

#include "resources/texture.h"

// Text drawn from one glyph sheet: a 16 × 16 grid of cells, row 0 at the top
// of the picture, holding the characters 32..127 from the top-left cell on.
// Every glyph is a display list that draws one textured rectangle and moves
// the pen one glyph to the right, so a string costs one glCallLists.
//
// Glyphs come in three size classes, each a fixed fraction of the size the
// window was made with (ViewWidth × ViewHeight) at the time the lists are
// built (a 40 × 30, 80 × 60 or 160 × 120 grid of cells); text is laid out on
// that size too, so a resolution picked in the options moves nothing until
// the next start. The three sets of 256 lists are shared by every
// font: the first Init builds them, the last font destroyed deletes them.
// Main thread only (GL), including construction and destruction.
class BitmapFont : public Texture {
 public:
  BitmapFont() = default;
  // Uncounts the font; the last font deletes the shared glyph lists.
  ~BitmapFont() override;

  // Loads the glyph sheet at path (no mipmaps), binds it and builds the
  // shared glyph lists if they do not exist. cellClass 1, 2 or 3: Print
  // positions are character cells of that class and its glyphs are drawn;
  // cellClass 0: positions are pixels and pixelClass (1, 2 or 3) picks the
  // glyphs. A font whose class ends up outside 1..3 prints nothing. A sheet
  // that fails to load leaves the font drawing untextured glyphs. Returns
  // the result of the sheet's load. Call once per font.
  bool Init(const char* path, int32_t cellClass, int32_t pixelClass);

  // Draws text with its lower-left corner at (x, y): columns from the left
  // and rows from the bottom of the screen, or pixels when cellClass is 0.
  // Uses the colour set by the caller. Characters outside 32..127 draw
  // nothing and do not move the pen. On return: GL_MODELVIEW is the current
  // matrix mode with both matrices as before, depth test and depth writes
  // are on, GL_TEXTURE_2D and GL_BLEND stay enabled with the additive
  // function (GL_SRC_ALPHA, GL_ONE).
  void Print(int32_t x, int32_t y, const char* text) const;

  int32_t cellClass = 0;
  int32_t sizeClass = 0;  // 1..3: the glyph set Print draws

 private:
  bool counted = false;
};

// Glyph width and height in pixels of a size class (1..3) for a screen of
// width × height pixels: 1/40 × 1/30, 1/80 × 1/60 or 1/160 × 1/120 of it;
// 0 × 0 for any other class.
struct GlyphSize {
  float width = 0.0f;
  float height = 0.0f;
};
GlyphSize GlyphSizeOf(int32_t sizeClass, int32_t screenWidth, int32_t screenHeight);
