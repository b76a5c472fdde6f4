#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/bitmap_font.h"
#include "resources/settings.h"
#include "resources/tga_writer.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kSheet = "fonts/default.tga";

class BitmapFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    const std::vector<uint8_t> pixels(32 * 32 * 4, 255);
    const std::vector<uint8_t> file =
        EncodeTga(TgaImage{32, 32, 4, false, pixels.data()}, 32, TgaEncoding::Uncompressed);
    dir.WriteFile(kSheet, std::string(file.begin(), file.end()));
    UseScreen(640, 480);
    // glCallLists gets a pointer into Print's own buffer: copy the bytes.
    rec.OnCall("glCallLists", [this](GlCall& call) {
      const auto* bytes = static_cast<const uint8_t*>(call.Pointer(2));
      called.insert(called.end(), bytes, bytes + call.Int(0));
    });
  }
  void TearDown() override {
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }
  static void UseScreen(int32_t width, int32_t height) {
    Settings.screenWidth = width;
    Settings.screenHeight = height;
  }
  std::unique_ptr<BitmapFont> MakeFont(int32_t cellClass, int32_t pixelClass = 0) {
    auto font = std::make_unique<BitmapFont>();
    EXPECT_TRUE(font->Init(kSheet, cellClass, pixelClass));
    return font;
  }
  // The first list of each size class, in the order they were built.
  std::vector<GLuint> ListBases() const {
    std::vector<GLuint> bases;
    for (const GlCall& call : rec.Calls("glGenLists")) bases.push_back(static_cast<GLuint>(call.result.i));
    return bases;
  }
  // The calls compiled into one display list.
  std::vector<GlCall> ListContent(GLuint list) const {
    std::vector<GlCall> content;
    bool inside = false;
    for (const GlCall& call : rec.Calls()) {
      if (call.name == "glNewList") inside = call.Int(0) == list;
      else if (call.name == "glEndList") inside = false;
      else if (inside) content.push_back(call);
    }
    return content;
  }
  // The translation Print made before its glListBase.
  std::pair<double, double> PenStart() const {
    const GlCall translate = rec.Last("glTranslated");
    return {translate.Float(0), translate.Float(1)};
  }

  TempDir dir;
  RecordingGl rec;
  std::vector<uint8_t> called;
};

TEST_F(BitmapFontTest, EachGlyphIsTwoTexturedTrianglesAndAPenAdvance) {
  auto font = MakeFont(1);
  ASSERT_EQ(rec.Count("glGenLists"), 3u);
  for (const GlCall& call : rec.Calls("glGenLists")) EXPECT_EQ(call.Int(0), 256);
  EXPECT_EQ(rec.Count("glNewList"), 3u * 256u);

  // 'A' (65) is glyph 33: column 1, row 2 from the top of the sheet.
  const std::vector<GlCall> glyph = ListContent(ListBases()[0] + 33);
  ASSERT_EQ(glyph.size(), 15u);
  EXPECT_EQ(glyph[0].name, "glBegin");
  EXPECT_EQ(glyph[0].Int(0), GL_TRIANGLES);
  const float s0 = 1 / 16.0f, s1 = 2 / 16.0f, t1 = 1 - 2 / 16.0f, t0 = 1 - 3 / 16.0f;
  const float expected[6][4] = {{s0, t0, 0, 0},   {s0, t1, 0, 16},   {s1, t0, 16, 0},
                                {s1, t0, 16, 0},  {s0, t1, 0, 16},   {s1, t1, 16, 16}};
  for (int v = 0; v < 6; ++v) {
    const GlCall& tex = glyph[1 + 2 * v];
    const GlCall& vertex = glyph[2 + 2 * v];
    ASSERT_EQ(tex.name, "glTexCoord2f");
    ASSERT_EQ(vertex.name, "glVertex2f");
    EXPECT_FLOAT_EQ(tex.Float(0), expected[v][0]) << "vertex " << v;
    EXPECT_FLOAT_EQ(tex.Float(1), expected[v][1]) << "vertex " << v;
    EXPECT_FLOAT_EQ(vertex.Float(0), expected[v][2]) << "vertex " << v;
    EXPECT_FLOAT_EQ(vertex.Float(1), expected[v][3]) << "vertex " << v;
  }
  EXPECT_EQ(glyph[13].name, "glEnd");
  EXPECT_EQ(glyph[14].name, "glTranslated");
  EXPECT_FLOAT_EQ(glyph[14].Float(0), 16.0f);
  EXPECT_EQ(glyph[14].Float(1), 0.0);

  // Class 2 and 3 glyphs are half and a quarter of that; the space is the
  // sheet's top-left cell.
  const std::vector<GlCall> small = ListContent(ListBases()[1]);
  EXPECT_FLOAT_EQ(small[3].Float(1), 1.0f);  // (s0, t1) of glyph 0
  EXPECT_FLOAT_EQ(small[4].Float(1), 8.0f);
  EXPECT_FLOAT_EQ(small[14].Float(0), 8.0f);
  EXPECT_FLOAT_EQ(ListContent(ListBases()[2])[14].Float(0), 4.0f);
}

TEST_F(BitmapFontTest, PositionsAreCellsOfTheFontsClassOrPixels) {
  struct Case {
    int32_t width, height, cellClass, pixelClass, x, y;
    double penX, penY;
    int32_t set;  // which glyph set the text is drawn from
  };
  const Case cases[] = {
      {640, 480, 2, 0, 0, 0, 0, 0, 2},          // lower-left corner
      {640, 480, 2, 0, 0, 59, 0, 472, 2},       // top text row of the 80 × 60 grid
      {640, 480, 1, 0, 39, 29, 624, 464, 1},    // top-right cell of the 40 × 30 grid
      {640, 480, 3, 0, 10, 1, 40, 4, 3},
      {1024, 768, 1, 0, 20, 27, 512, 691.2, 1},
      {1024, 768, 2, 0, 3, 2, 38.4, 25.6, 2},
      {1024, 768, 0, 3, 100, 50, 100, 50, 3},   // pixels, smallest glyphs
      {1024, 768, 0, 1, -8, 700, -8, 700, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " class " << c.cellClass << "/"
                                    << c.pixelClass << " at " << c.x << "," << c.y);
    rec.Clear();
    UseScreen(c.width, c.height);
    auto font = MakeFont(c.cellClass, c.pixelClass);
    font->Print(c.x, c.y, "Hi");
    const auto [penX, penY] = PenStart();
    EXPECT_NEAR(penX, c.penX, 1e-3);
    EXPECT_NEAR(penY, c.penY, 1e-3);
    EXPECT_EQ(rec.Last("glListBase").Int(0), ListBases()[c.set - 1]);
    const GlCall ortho = rec.Last("glOrtho");
    EXPECT_EQ(ortho.Float(1), c.width);
    EXPECT_EQ(ortho.Float(3), c.height);
  }
}

TEST_F(BitmapFontTest, FontsShareOneSetOfListsThatTheLastOneDeletes) {
  auto first = MakeFont(1);
  auto second = MakeFont(2);
  EXPECT_EQ(rec.Count("glGenLists"), 3u);
  const std::vector<GLuint> bases = ListBases();

  first.reset();
  EXPECT_EQ(rec.Count("glDeleteLists"), 0u);
  second->Print(0, 0, "still drawn");
  EXPECT_EQ(rec.Last("glListBase").Int(0), bases[1]);

  second.reset();
  const std::vector<GlCall> deleted = rec.Calls("glDeleteLists");
  ASSERT_EQ(deleted.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(deleted[k].Int(0), bases[k]);
    EXPECT_EQ(deleted[k].Int(1), 256);
  }

  // A font made afterwards builds them again, with the screen size of now.
  UseScreen(1024, 768);
  auto later = MakeFont(1);
  ASSERT_EQ(rec.Count("glGenLists"), 6u);
  EXPECT_FLOAT_EQ(ListContent(ListBases()[3])[14].Float(0), 25.6f);
}

// Replays the state-changing calls that Print makes.
struct GlState {
  GLenum matrixMode = GL_MODELVIEW;
  std::map<GLenum, int> stackDepth;
  std::map<GLenum, bool> enabled;
  bool depthMask = true;
  GLenum blendSource = GL_ONE, blendTarget = GL_ZERO;

  void Replay(const std::vector<GlCall>& calls) {
    for (const GlCall& call : calls) {
      if (call.name == "glMatrixMode") matrixMode = static_cast<GLenum>(call.Int(0));
      else if (call.name == "glPushMatrix") ++stackDepth[matrixMode];
      else if (call.name == "glPopMatrix") --stackDepth[matrixMode];
      else if (call.name == "glEnable") enabled[static_cast<GLenum>(call.Int(0))] = true;
      else if (call.name == "glDisable") enabled[static_cast<GLenum>(call.Int(0))] = false;
      else if (call.name == "glDepthMask") depthMask = call.Int(0) != 0;
      else if (call.name == "glBlendFunc") {
        blendSource = static_cast<GLenum>(call.Int(0));
        blendTarget = static_cast<GLenum>(call.Int(1));
      }
    }
  }
};

TEST_F(BitmapFontTest, PrintLeavesTheDocumentedStateBehind) {
  auto font = MakeFont(2);
  for (const char* text : {"Score: 12345", ""}) {
    SCOPED_TRACE(text);
    rec.Clear();
    called.clear();
    font->Print(5, 5, text);
    GlState state;
    state.enabled[GL_DEPTH_TEST] = true;
    state.Replay(rec.Calls());
    EXPECT_EQ(state.matrixMode, GL_MODELVIEW);
    EXPECT_EQ(state.stackDepth[GL_MODELVIEW], 0);
    EXPECT_EQ(state.stackDepth[GL_PROJECTION], 0);
    EXPECT_TRUE(state.enabled[GL_DEPTH_TEST]);
    EXPECT_TRUE(state.depthMask);
    EXPECT_TRUE(state.enabled[GL_BLEND]);
    EXPECT_TRUE(state.enabled[GL_TEXTURE_2D]);
    EXPECT_EQ(state.blendSource, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(state.blendTarget, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(rec.Count("glColor3f") + rec.Count("glColor4f"), 0u);
    EXPECT_EQ(called.size(), std::string(text).size());
  }
  EXPECT_EQ(rec.Count("glCallLists"), 0u);  // the empty string calls no list
}

TEST_F(BitmapFontTest, CharactersOutsideTheSheetDrawNothing) {
  auto font = MakeFont(1);
  font->Print(0, 0, "A\x01" "B\x7f\xc8 ~\x1f");
  EXPECT_EQ(called, std::vector<uint8_t>({33, 34, 95, 0, 94}));

  // A long line keeps every glyph in order, however Print splits it.
  called.clear();
  std::string line;
  for (int i = 0; i < 300; ++i) line += static_cast<char>(32 + i % 96);
  font->Print(0, 0, line.c_str());
  ASSERT_EQ(called.size(), line.size());
  for (std::size_t i = 0; i < line.size(); ++i) ASSERT_EQ(called[i], line[i] - 32) << i;
}

TEST_F(BitmapFontTest, AFontWithoutAGlyphClassPrintsNothing) {
  auto font = MakeFont(0, 0);
  rec.Clear();
  font->Print(10, 10, "text");
  EXPECT_TRUE(rec.Names().empty());
}

}  // namespace
