#include "resources/bitmap_font.h"

#include "platform/gl_table.h"
#include "resources/view_size.h"

namespace {

constexpr int32_t kClassCount = 3;
constexpr GLsizei kGlyphsPerSet = 256;
constexpr uint8_t kFirstCharacter = 32;
constexpr uint8_t kLastCharacter = 127;

// The glyph sets every font shares; main thread only.
struct GlyphLists {
  GLuint base[kClassCount] = {};
  GlyphSize size[kClassCount];  // as built, so cells match the lists
  bool built = false;
  int32_t fontCount = 0;
} glyphLists;

// Glyph g lies at column g mod 16, row g div 16 of the sheet, row 0 at the
// top (t near 1).
void CompileGlyph(GLuint list, int32_t glyph, GlyphSize size) {
  const float s0 = static_cast<float>(glyph % 16) / 16.0f;
  const float s1 = s0 + 1.0f / 16.0f;
  const float t1 = 1.0f - static_cast<float>(glyph / 16) / 16.0f;
  const float t0 = t1 - 1.0f / 16.0f;
  const float w = size.width;
  const float h = size.height;
  gl.glNewList(list, GL_COMPILE);
  gl.glBegin(GL_TRIANGLES);
  const float corners[6][4] = {{s0, t0, 0, 0}, {s0, t1, 0, h}, {s1, t0, w, 0},
                               {s1, t0, w, 0}, {s0, t1, 0, h}, {s1, t1, w, h}};
  for (const auto& c : corners) {
    gl.glTexCoord2f(c[0], c[1]);
    gl.glVertex2f(c[2], c[3]);
  }
  gl.glEnd();
  gl.glTranslated(w, 0.0, 0.0);  // the pen advance: every glyph is equally wide
  gl.glEndList();
}

void BuildGlyphLists() {
  for (int32_t index = 0; index < kClassCount; ++index) {
    const GlyphSize size = GlyphSizeOf(index + 1, ViewWidth(), ViewHeight());
    glyphLists.size[index] = size;
    glyphLists.base[index] = gl.glGenLists(kGlyphsPerSet);
    for (int32_t glyph = 0; glyph < kGlyphsPerSet; ++glyph) {
      CompileGlyph(glyphLists.base[index] + glyph, glyph, size);
    }
  }
  glyphLists.built = true;
}

void DeleteGlyphLists() {
  for (GLuint& base : glyphLists.base) {
    gl.glDeleteLists(base, kGlyphsPerSet);
    base = 0;
  }
  glyphLists.built = false;
}

}  // namespace

GlyphSize GlyphSizeOf(int32_t sizeClass, int32_t screenWidth, int32_t screenHeight) {
  static constexpr float kWidthShare[kClassCount] = {0.025f, 0.0125f, 0.00625f};
  static constexpr float kHeightShare[kClassCount] = {0.033333335f, 0.016666668f, 0.008333334f};
  if (sizeClass < 1 || sizeClass > kClassCount) return {};
  return {static_cast<float>(screenWidth) * kWidthShare[sizeClass - 1],
          static_cast<float>(screenHeight) * kHeightShare[sizeClass - 1]};
}

BitmapFont::~BitmapFont() {
  if (!counted) return;
  if (--glyphLists.fontCount == 0 && glyphLists.built) DeleteGlyphLists();
}

bool BitmapFont::Init(const char* path, int32_t cellClass, int32_t pixelClass) {
  this->cellClass = cellClass;
  sizeClass = cellClass != 0 ? cellClass : pixelClass;
  const bool loaded = Load(path, false);
  Bind();
  if (!glyphLists.built) BuildGlyphLists();
  if (!counted) {
    counted = true;
    ++glyphLists.fontCount;
  }
  return loaded;
}

void BitmapFont::Print(int32_t x, int32_t y, const char* text) const {
  if (!text || sizeClass < 1 || sizeClass > kClassCount || !glyphLists.built) return;
  const GlyphSize size = glyphLists.size[sizeClass - 1];

  Bind();
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDepthMask(GL_FALSE);
  gl.glMatrixMode(GL_PROJECTION);
  gl.glPushMatrix();
  gl.glLoadIdentity();
  gl.glOrtho(0.0, ViewWidth(), 0.0, ViewHeight(), -1.0, 1.0);
  gl.glMatrixMode(GL_MODELVIEW);
  gl.glPushMatrix();
  gl.glLoadIdentity();
  if (cellClass == 0) {
    gl.glTranslated(x, y, 0.0);
  } else {
    gl.glTranslated(x * static_cast<double>(size.width), y * static_cast<double>(size.height), 0.0);
  }

  // Glyph numbers (code - 32) on the set's own base rather than the raw
  // bytes on base - 32. For 32..127 both reach the same list: list names add
  // in unsigned arithmetic, so base - 32 comes back round correctly. Only
  // this way can the codes with no glyph on the sheet be left out, those
  // below 32 (the end of the previous set) and 128..255.
  gl.glListBase(glyphLists.base[sizeClass - 1]);
  uint8_t glyphs[128];
  GLsizei count = 0;
  for (const char* c = text;; ++c) {
    const auto code = static_cast<uint8_t>(*c);
    if (code >= kFirstCharacter && code <= kLastCharacter) {
      glyphs[count++] = static_cast<uint8_t>(code - kFirstCharacter);
    }
    if (count > 0 && (code == 0 || count == static_cast<GLsizei>(sizeof(glyphs)))) {
      gl.glCallLists(count, GL_UNSIGNED_BYTE, glyphs);
      count = 0;
    }
    if (code == 0) break;
  }

  gl.glMatrixMode(GL_PROJECTION);
  gl.glPopMatrix();
  gl.glMatrixMode(GL_MODELVIEW);
  gl.glPopMatrix();
  gl.glDepthMask(GL_TRUE);
  gl.glEnable(GL_DEPTH_TEST);
}
