#pragma once
#include <string>

#include "tools/assetgen/raster/canvas.h"

// Text set with FreeType from a TrueType file. One Font per thread; it owns
// its FreeType library and face.
namespace raster {

// One rendered line: coverage over the line box (the pen advance wide, the
// face's ascender to descender tall, plus `pad` pixels on every side).
struct TextLine {
  Field coverage;
  int baseline = 0;  // row of the baseline from the top of the field
  int pad = 0;
};

class Font {
 public:
  // Opens the face; ok() tells whether it worked.
  explicit Font(const std::string& path);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  bool ok() const { return face_ != nullptr; }
  const std::string& path() const { return path_; }

  // Renders printable ASCII text at an em size of pixelSize, stretched
  // sideways by stretch, with tracking pixels added after every glyph.
  // Hinting sharpens small text (the font sheet); large titles look better
  // unhinted.
  TextLine Render(const std::string& text, float pixelSize, float stretch = 1, float tracking = 0,
                  bool hinted = false) const;

 private:
  std::string path_;
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
};

// DejaVu faces from fonts-dejavu-core.
std::string DejaVuPath(const std::string& fileName);

}  // namespace raster
