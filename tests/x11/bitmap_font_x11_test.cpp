#include <string>
#include <vector>

#include "platform/gl_table.h"
#include "resources/bitmap_font.h"
#include "resources/tga_writer.h"
#include "x11/engine_session.h"

// Text printed into a real frame buffer, read back with glReadPixels.
namespace {

class BitmapFontX11 : public EngineSession {
 protected:
  // A 256 × 256 sheet (16-pixel cells) in which only the cells of the given
  // characters are lit, solid white; the rest is transparent black.
  void WriteSheet(const std::string& lit) {
    std::vector<uint8_t> pixels(256 * 256 * 4, 0);
    for (char c : lit) {
      const int glyph = c - 32;
      const int column = glyph % 16;
      const int rowFromTop = glyph / 16;
      // Rows are stored bottom-up: the top row of cells is the file's last.
      for (int y = 256 - 16 * (rowFromTop + 1); y < 256 - 16 * rowFromTop; ++y) {
        for (int x = 16 * column; x < 16 * column + 16; ++x) {
          for (int k = 0; k < 4; ++k) pixels[(y * 256 + x) * 4 + k] = 255;
        }
      }
    }
    const std::vector<uint8_t> file = EncodeTga(TgaImage{256, 256, 4, false, pixels.data()}, 32, TgaEncoding::RunLength);
    folder_.WriteFile("fonts/default.tga", std::string(file.begin(), file.end()));
  }

  static bool Lit(int x, int y) {
    uint8_t pixel[4] = {};
    gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] > 200 && pixel[1] > 200 && pixel[2] > 200;
  }
  static bool Dark(int x, int y) {
    uint8_t pixel[4] = {};
    gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] + pixel[1] + pixel[2] < 30;
  }
};

TEST_F(BitmapFontX11, GlyphsLandInTheirCells) {
  WriteSheet("A#");
  ASSERT_TRUE(StartGameEngine(config_));
  BitmapFont large;
  BitmapFont small;
  BitmapFont pixels;
  ASSERT_TRUE(large.Init("fonts/default.tga", 1, 0));
  ASSERT_TRUE(small.Init("fonts/default.tga", 2, 0));
  ASSERT_TRUE(pixels.Init("fonts/default.tga", 0, 3));

  gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  gl.glLoadIdentity();
  gl.glColor3f(1, 1, 1);
  // 640 × 480: class 1 cells are 16 × 16 pixels, class 2 8 × 8, class 3 4 × 4.
  large.Print(2, 3, "A.#");          // cells x 32..79, y 48..63
  small.Print(0, 59, "A\x01#");      // top row; the control character draws nothing
  pixels.Print(300, 200, "#");       // pixels 300..303, 200..203

  EXPECT_TRUE(Lit(40, 56));          // 'A' in cell (2, 3)
  EXPECT_TRUE(Dark(56, 56));         // '.' has no lit pixels in this sheet
  EXPECT_TRUE(Lit(72, 56));          // '#' in cell (4, 3)
  EXPECT_TRUE(Dark(40, 72));         // the row above
  EXPECT_TRUE(Dark(24, 56));         // the cell before
  EXPECT_TRUE(Lit(4, 476));          // 'A' at cell (0, 59), the top row
  EXPECT_TRUE(Lit(12, 476));         // '#' right after it
  EXPECT_TRUE(Dark(20, 476));
  EXPECT_TRUE(Lit(301, 201));
  EXPECT_TRUE(Dark(306, 201));

  // Print leaves depth testing on and the modelview matrix current.
  EXPECT_TRUE(gl.glIsEnabled(GL_DEPTH_TEST));
  GLint mode = 0;
  gl.glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
