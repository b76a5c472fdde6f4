#include "frontend/menu_widgets.h"

#include <gtest/gtest.h>

#include <vector>

#include "resources/bundle_sprite.h"
#include "resources/texture.h"
#include "resources/texture_bundle.h"
#include "support/recording_gl.h"

namespace {

class MenuWidgets : public testing::Test {
 protected:
  MenuWidgets() : bundle(4, false) {
    normal.bundle = &bundle;
    active.bundle = &bundle;
    menuPointer = MenuPointer{};
  }

  // The Start button of the main menu.
  MenuButton Start() { return MenuButton(-0.15f, 0.15f, 0.2f, 0.07f, &normal, &active); }

  RecordingGl gl;
  TextureBundle bundle;
  BundleSprite normal;
  BundleSprite active;
};

TEST_F(MenuWidgets, ThePointerIsOverAButtonOnlyStrictlyInsideIt) {
  MenuButton start = Start();
  EXPECT_FALSE(start.UnderPointer());
  struct Case {
    float x, y;
    bool over;
  };
  const std::vector<Case> cases = {
      {0, 0.1f, true},     {-0.149f, 0.1f, true}, {0.149f, 0.199f, true}, {0, 0.071f, true},
      {-0.15f, 0.1f, false}, {0.15f, 0.1f, false},  {0, 0.2f, false},       {0, 0.07f, false},
      {0.2f, 0.1f, false},   {0, 0, false},
  };
  for (const Case& c : cases) {
    start.UpdateHover(c.x, c.y);
    EXPECT_EQ(start.UnderPointer(), c.over) << c.x << ", " << c.y;
    EXPECT_EQ(start.currentImage, c.over ? &active : &normal);
  }
}

TEST_F(MenuWidgets, AHiddenButtonKeepsItsPictureUntilShownAndHoveredAgain) {
  MenuButton start = Start();
  start.UpdateHover(0, 0.1f);
  start.visible = false;
  EXPECT_FALSE(start.UnderPointer());
  start.UpdateHover(0.5f, 0.5f);  // ignored while hidden
  EXPECT_EQ(start.currentImage, &active);
  start.visible = true;
  EXPECT_TRUE(start.UnderPointer());
  start.UpdateHover(0.5f, 0.5f);
  EXPECT_FALSE(start.UnderPointer());

  gl.Clear();
  start.visible = false;
  start.Draw();
  EXPECT_TRUE(gl.Calls().empty());
}

TEST_F(MenuWidgets, AMirroredButtonIsDrawnMirroredAndNeverActive) {
  MenuButton asteroid(0.6f, 0.5f, -0.2f, -0.1f, &normal, &active);
  for (float x : {0.55f, 0.5f, 0.6f}) {
    for (float y : {-0.15f, -0.1f, -0.2f}) {
      asteroid.UpdateHover(x, y);
      EXPECT_FALSE(asteroid.UnderPointer()) << x << ", " << y;
    }
  }
  const float expected[12] = {0.6f, -0.2f, -1, 0.5f, -0.2f, -1, 0.6f, -0.1f, -1, 0.5f, -0.1f, -1};
  for (int k = 0; k < 12; ++k) EXPECT_FLOAT_EQ(asteroid.corners[k], expected[k]) << k;
}

TEST_F(MenuWidgets, APictureOfOneSpriteAlwaysReadsAsUnderThePointer) {
  MenuButton header(-0.5f, 0.5f, 0.55f, 0.2f, &normal);
  header.UpdateHover(0.7f, -0.5f);
  EXPECT_TRUE(header.UnderPointer());
}

TEST_F(MenuWidgets, DrawFeedsTheCornersAndTheCurrentSpriteToTwoTriangles) {
  MenuButton start = Start();
  start.UpdateHover(0, 0.1f);
  start.Draw();
  EXPECT_EQ(gl.Last("glVertexPointer").Int(0), 3);
  EXPECT_EQ(gl.Last("glVertexPointer").Int(2), 0);
  EXPECT_EQ(gl.Last("glVertexPointer").Pointer(3), start.corners);
  EXPECT_EQ(gl.Last("glTexCoordPointer").Pointer(3), active.coords);
  const GlCall draw = gl.Last("glDrawElements");
  EXPECT_EQ(draw.Int(0), GL_TRIANGLES);
  EXPECT_EQ(draw.Int(1), 6);
  EXPECT_EQ(draw.Int(2), GL_UNSIGNED_BYTE);
  const auto* indices = static_cast<const uint8_t*>(draw.Pointer(3));
  EXPECT_EQ(std::vector<uint8_t>(indices, indices + 6), (std::vector<uint8_t>{0, 1, 2, 2, 1, 3}));
  EXPECT_TRUE(gl.Find("glEnableClientState", [](const GlCall& c) { return c.Int(0) == GL_TEXTURE_COORD_ARRAY; }));
  EXPECT_TRUE(gl.Find("glDisableClientState", [](const GlCall& c) { return c.Int(0) == GL_NORMAL_ARRAY; }));
  EXPECT_TRUE(gl.Find("glDisable", [](const GlCall& c) { return c.Int(0) == GL_CULL_FACE; }));
  EXPECT_EQ(gl.Last("glBlendFunc").Int(1), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(MenuWidgets, ThePointerMovesFiveHundredCountsPerUnitAndStopsAtTheEdges) {
  MovePointer(100, -50);
  EXPECT_FLOAT_EQ(menuPointer.x, 0.2f);
  EXPECT_FLOAT_EQ(menuPointer.y, 0.1f);

  MovePointer(100000, 100000);
  EXPECT_FLOAT_EQ(menuPointer.x, 0.743f);
  EXPECT_FLOAT_EQ(menuPointer.y, -0.557f);
  // Back from the clamped place at once, not from where the mouse went.
  MovePointer(-10, -10);
  EXPECT_NEAR(menuPointer.x, 0.723f, 1e-6);
  EXPECT_NEAR(menuPointer.y, -0.537f, 1e-6);

  MovePointer(-100000, -100000);
  EXPECT_FLOAT_EQ(menuPointer.x, -0.743f);
  EXPECT_FLOAT_EQ(menuPointer.y, 0.557f);
}

TEST_F(MenuWidgets, ThePointerIsDrawnWithItsTopLeftCornerAtThePosition) {
  Texture picture;
  picture.glName = 7;
  DrawPointer(picture, 0.743f, -0.557f, kMenuDepth);
  EXPECT_EQ(gl.Last("glBindTexture").Int(1), 7);
  const std::vector<GlCall> vertices = gl.Calls("glVertex3f");
  const std::vector<GlCall> coords = gl.Calls("glTexCoord2f");
  ASSERT_EQ(vertices.size(), 6u);
  ASSERT_EQ(coords.size(), 6u);
  const float expected[6][4] = {{0.743f, -0.557f, 0, 1}, {0.768f, -0.557f, 1, 1}, {0.743f, -0.582f, 0, 0},
                                {0.743f, -0.582f, 0, 0}, {0.768f, -0.557f, 1, 1}, {0.768f, -0.582f, 1, 0}};
  for (int k = 0; k < 6; ++k) {
    EXPECT_NEAR(vertices[k].Float(0), expected[k][0], 1e-6) << k;
    EXPECT_NEAR(vertices[k].Float(1), expected[k][1], 1e-6) << k;
    EXPECT_FLOAT_EQ(vertices[k].Float(2), -1) << k;
    EXPECT_FLOAT_EQ(coords[k].Float(0), expected[k][2]) << k;
    EXPECT_FLOAT_EQ(coords[k].Float(1), expected[k][3]) << k;
  }
  for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY}) {
    EXPECT_TRUE(gl.Find("glDisableClientState", [array](const GlCall& c) { return c.Int(0) == array; }));
  }
}

}  // namespace
