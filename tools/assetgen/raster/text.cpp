#include "tools/assetgen/raster/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace raster {

std::string DejaVuPath(const std::string& fileName) { return "/usr/share/fonts/truetype/dejavu/" + fileName; }

Font::Font(const std::string& path) : path_(path) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    return;
  }
  library_ = library;
  face_ = face;
}

Font::~Font() {
  if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
  if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

TextLine Font::Render(const std::string& text, float pixelSize, float stretch, float tracking, bool hinted) const {
  TextLine line;
  if (face_ == nullptr) return line;
  FT_Face face = static_cast<FT_Face>(face_);
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
  FT_Matrix matrix = {static_cast<FT_Fixed>(std::lround(stretch * 65536)), 0, 0, 0x10000};
  FT_Set_Transform(face, &matrix, nullptr);
  FT_Int32 flags = FT_LOAD_RENDER | (hinted ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING);

  // Layout first (pen positions and the width), so the field can be sized
  // before drawing.
  std::vector<std::pair<FT_UInt, float>> glyphs;  // index, pen x
  float pen = 0;
  FT_UInt previous = 0;
  for (char c : text) {
    FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(c));
    if (previous != 0 && FT_HAS_KERNING(face)) {
      FT_Vector delta;
      if (FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &delta) == 0) pen += delta.x / 64.0f * stretch;
    }
    previous = index;
    if (FT_Load_Glyph(face, index, hinted ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING) != 0) continue;
    glyphs.emplace_back(index, pen);
    pen += face->glyph->advance.x / 64.0f + tracking;
  }
  int ascender = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0));
  int descender = static_cast<int>(std::floor(face->size->metrics.descender / 64.0));
  int pad = static_cast<int>(std::ceil(pixelSize * 0.15f)) + 2;
  line.pad = pad;
  line.baseline = pad + ascender;
  line.coverage = Field(static_cast<int>(std::ceil(pen)) + 2 * pad, ascender - descender + 2 * pad);

  for (auto [index, x0] : glyphs) {
    if (FT_Load_Glyph(face, index, flags) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    int left = pad + static_cast<int>(std::lround(x0)) + slot->bitmap_left;
    int top = line.baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned col = 0; col < bitmap.width; ++col) {
        int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
        if (x < 0 || y < 0 || x >= line.coverage.width() || y >= line.coverage.height()) continue;
        float& cell = line.coverage.at(x, y);
        cell = std::min(1.0f, cell + bitmap.buffer[row * bitmap.pitch + col] / 255.0f);
      }
    }
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return line;
}

}  // namespace raster
