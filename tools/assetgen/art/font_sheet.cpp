// fonts/default.tga: a 16 x 16 grid of 16-pixel cells, glyph g = code - 32
// from the top-left cell along the rows. White glyphs whose alpha carries
// the shape (the game prints additively and tints with its colour).
#include <string>

#include "tools/assetgen/art/pictures.h"
#include "tools/assetgen/art/style.h"
#include "tools/assetgen/art/texture_files.h"

namespace art {

bool WriteFontSheet(const std::string& baseDir) {
  if (!SharedFonts().ok()) return false;
  constexpr int kCell = 16, kBaseline = 12;
  // Every cell is drawn square, so the monospaced letters are set wider than
  // they are drawn; hinting keeps them crisp at 8 pixels.
  constexpr float kSize = 13.5f, kStretch = 1.4f;
  Canvas sheet(kCell * 16, kCell * 16);
  for (int code = 33; code < 127; ++code) {
    int glyph = code - 32, col = glyph % 16, row = glyph / 16;
    raster::TextLine line = SharedFonts().monoBold.Render(std::string(1, static_cast<char>(code)), kSize, kStretch,
                                                          0, true);
    int advance = line.coverage.width() - 2 * line.pad;
    int ox = col * kCell + (kCell - advance) / 2 - line.pad, oy = row * kCell + kBaseline - line.baseline;
    // Ink that would reach a neighbouring cell is dropped.
    Field clipped = line.coverage;
    for (int y = 0; y < clipped.height(); ++y) {
      for (int x = 0; x < clipped.width(); ++x) {
        int sx = ox + x, sy = oy + y;
        bool inCell = sx > col * kCell && sx < (col + 1) * kCell - 1 && sy >= row * kCell && sy < (row + 1) * kCell;
        if (!inCell) clipped.at(x, y) = 0;
      }
    }
    sheet.Paint(clipped, Hex(0xFFFFFF), ox, oy);
  }
  return WriteTexture(baseDir, "fonts/default.tga", sheet, {true, true});
}

}  // namespace art
