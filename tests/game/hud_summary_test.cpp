#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/hud.h"
#include "game/level_summary.h"
#include "game/level_play_support.h"
#include "platform/gl_table.h"

using namespace level_play;

namespace {

struct Vertex {
  float x, y, z, u, v;
};

// A textured quad as drawn: where it was moved to and its six vertices.
struct DrawnQuad {
  float atX = 0, atY = 0, atZ = 0;
  std::vector<Vertex> vertices;
};

// Every quad drawn with the texture of slot, in order, from the recorded calls.
std::vector<DrawnQuad> QuadsWith(const RecordingGl& rec, TextureSlot slot) {
  std::vector<DrawnQuad> quads;
  const std::vector<GlCall> calls = rec.Calls();
  GlCall lastTranslate;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].name == "glTranslatef") lastTranslate = calls[i];
    if (calls[i].name != "glBindTexture" || calls[i].Int(1) != NullPlatform::TextureName(slot)) {
      continue;
    }
    DrawnQuad quad;
    if (!lastTranslate.args.empty()) {
      quad.atX = static_cast<float>(lastTranslate.Float(0));
      quad.atY = static_cast<float>(lastTranslate.Float(1));
      quad.atZ = static_cast<float>(lastTranslate.Float(2));
    }
    float u = 0, v = 0;
    for (size_t k = i + 1; k < calls.size() && calls[k].name != "glEnd"; ++k) {
      if (calls[k].name == "glTexCoord2f") {
        u = static_cast<float>(calls[k].Float(0));
        v = static_cast<float>(calls[k].Float(1));
      } else if (calls[k].name == "glVertex3f") {
        quad.vertices.push_back({static_cast<float>(calls[k].Float(0)),
                                 static_cast<float>(calls[k].Float(1)),
                                 static_cast<float>(calls[k].Float(2)), u, v});
      }
    }
    quads.push_back(quad);
  }
  return quads;
}

void ExpectColor(const NullPlatform::PrintedText* printed, float r, float g, float b) {
  ASSERT_NE(printed, nullptr);
  EXPECT_NEAR(printed->color[0], r, 1e-6);
  EXPECT_NEAR(printed->color[1], g, 1e-6);
  EXPECT_NEAR(printed->color[2], b, 1e-6);
}

class HudTest : public LevelPlay {
 protected:
  HudTest() {
    font.Init("fonts/default.tga", 2, 0);
    platform.gl.Clear();
  }

  // One HUD step drawn in a frame of its own.
  void Draw() {
    platform.gl.Clear();
    gl.glClear(GL_COLOR_BUFFER_BIT);  // a frame of its own for the texts
    DrawHud(font, 7, &shieldRef);
  }

  BitmapFont font;
  float shieldRef = 0;
};

TEST_F(HudTest, WithoutAShipTheTextAndTwoEmptyBoxesAreDrawn) {
  playerRecord->score = 4250;
  Draw();
  const int frame = platform.frames();
  EXPECT_EQ(TextsOf(frame),
            (std::vector<std::string>{"Lives:3", "Level:7", "Score:4250", "Powerup:", "Shield:"}));
  const int cells[5][2] = {{1, 1}, {10, 1}, {20, 1}, {40, 1}, {53, 1}};
  const std::vector<NullPlatform::PrintedText> texts = platform.TextsOfFrame(frame);
  ASSERT_EQ(texts.size(), 5u);
  for (int k = 0; k < 5; ++k) {
    const NullPlatform::PrintedText& printed = texts[k];
    EXPECT_TRUE(printed.At(cells[k][0], cells[k][1], 2)) << printed.text;
    ExpectColor(&printed, 0.77f, 0.77f, 0.99f);
  }

  const std::vector<DrawnQuad> boxes = QuadsWith(platform.gl, TextureSlot::DisplayBox);
  ASSERT_EQ(boxes.size(), 1u);  // bound once, drawn twice
  ASSERT_EQ(boxes[0].vertices.size(), 6u);
  EXPECT_EQ(boxes[0].atX, 9);
  EXPECT_EQ(boxes[0].atY, -26.5f);
  EXPECT_EQ(boxes[0].atZ, -25);
  const Vertex expected[6] = {{-1, 1, -25, 0, 1}, {1, 1, -25, 1, 1},   {1, -1, -25, 1, 0},
                              {1, -1, -25, 1, 0}, {-1, -1, -25, 0, 0}, {-1, 1, -25, 0, 1}};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(boxes[0].vertices[k].x, expected[k].x);
    EXPECT_EQ(boxes[0].vertices[k].y, expected[k].y);
    EXPECT_EQ(boxes[0].vertices[k].z, expected[k].z);
    EXPECT_EQ(boxes[0].vertices[k].u, expected[k].u);
    EXPECT_EQ(boxes[0].vertices[k].v, expected[k].v);
  }
  EXPECT_EQ(platform.gl.Count("glVertex3f"), 12u);
  EXPECT_TRUE(platform.gl.Find("glTranslatef", [](const GlCall& call) {
    return call.Float(0) == 20 && call.Float(1) == -26.5f && call.Float(2) == -25;
  }));
}

TEST_F(HudTest, TheIconShowsTheWeaponAndTheBarTheShieldLeft) {
  Ship* ship = playerRecord->SpawnShip();
  objectList->Add(ship);

  Draw();  // a new ship: full bar, no icon
  EXPECT_EQ(shieldRef, 5000);
  EXPECT_TRUE(QuadsWith(platform.gl, TextureSlot::PowerSpread).empty());
  std::vector<DrawnQuad> bars = QuadsWith(platform.gl, TextureSlot::PowerInvulnerable);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0].atX, 20);
  EXPECT_EQ(bars[0].vertices[0].y, 1);

  ship->powerUp = 2;
  ship->shield = 1250;
  Draw();
  const std::vector<DrawnQuad> icons = QuadsWith(platform.gl, TextureSlot::PowerSpread);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].atX, 9);
  EXPECT_EQ(icons[0].vertices[0].x, -0.75f);
  EXPECT_EQ(icons[0].vertices[0].y, 0.75f);
  bars = QuadsWith(platform.gl, TextureSlot::PowerInvulnerable);
  ASSERT_EQ(bars.size(), 1u);
  ASSERT_EQ(bars[0].vertices.size(), 6u);
  // A quarter of the shield left: the bar ends half-way below the box's middle.
  const Vertex top = bars[0].vertices[0];
  EXPECT_EQ(top.x, -1);
  EXPECT_EQ(top.y, -0.5f);
  EXPECT_EQ(top.v, 0.75f);
  EXPECT_EQ(bars[0].vertices[2].y, -1);
  EXPECT_EQ(bars[0].vertices[2].v, 1);

  // A refill taken while shielded keeps the reference: the bar overflows.
  ship->shield = 10000;
  Draw();
  EXPECT_EQ(QuadsWith(platform.gl, TextureSlot::PowerInvulnerable)[0].vertices[0].y, 3);

  ship->shield = 0;
  ship->vulnerable = true;
  Draw();
  EXPECT_EQ(shieldRef, 0);
  EXPECT_TRUE(QuadsWith(platform.gl, TextureSlot::PowerInvulnerable).empty());
  EXPECT_EQ(QuadsWith(platform.gl, TextureSlot::PowerSpread).size(), 1u);

  // Shielded again: the new shield is the full bar.
  ship->shield = 10000;
  ship->vulnerable = false;
  Draw();
  EXPECT_EQ(shieldRef, 10000);
  EXPECT_EQ(QuadsWith(platform.gl, TextureSlot::PowerInvulnerable)[0].vertices[0].y, 1);
}

class SummaryTest : public LevelPlay {
 protected:
  SummaryTest() : LevelPlay(0.02) {}  // frame f reads t = (f - 1) × 20 ms

  // The first frame that printed text, or 0.
  int FirstFrameWith(const std::string& text) const {
    for (const auto& printed : platform.Texts()) {
      if (printed.text == text) return printed.frame;
    }
    return 0;
  }
};

TEST_F(SummaryTest, LinesComeOneASecondAndTheBonusIsCountedInThousands) {
  playerRecord->score = 496000;
  playerRecord->extraLifeCount = 1;  // the next life at 500000
  Level level(3);
  levelCounters.levelScore = 13000;
  levelCounters.hitCount = 3;
  level.shotCount = 4;
  platform.KeepOnlyCurrentFrame(true);
  LevelSummary(level);

  // Strictly after each whole second.
  EXPECT_EQ(FirstFrameWith("Score at Start of Level:"), 52);
  EXPECT_EQ(FirstFrameWith("Score Earned This Level:"), 102);
  EXPECT_EQ(FirstFrameWith("                Accuracy:"), 152);
  EXPECT_EQ(FirstFrameWith("          Accuracy Bonus:"), 202);
  EXPECT_EQ(FirstFrameWith("           Total Score:"), 252);
  EXPECT_EQ(TextsOf(202), (std::vector<std::string>{
                              "Score at Start of Level:", "496000", "Score Earned This Level:",
                              "13000", "                Accuracy:", "75.00%",
                              "          Accuracy Bonus:", "9750", "Lives:3", "Level:3",
                              "Score:496000"}));
  EXPECT_TRUE(Find(202, "75.00%")->At(40, 31, 2));
  EXPECT_TRUE(Find(202, "          Accuracy Bonus:")->At(15, 30, 2));
  ExpectColor(Find(202, "9750"), 0.8f, 0.8f, 0.1f);
  ExpectColor(Find(202, "Level:3"), 0.77f, 0.77f, 0.99f);

  // Ten frames of counting: nine of 1000 and one of 750.
  const uint32_t totals[] = {497000, 498000, 499000, 500000, 501000,
                             502000, 503000, 504000, 505000, 505750};
  for (int k = 0; k < 10; ++k) {
    EXPECT_NE(Find(252 + k, std::to_string(totals[k])), nullptr) << "frame " << 252 + k;
  }
  ExpectColor(Find(252, "           Total Score:"), 1, 1, 0);
  EXPECT_TRUE(Find(252, "           Total Score:")->At(15, 27, 2));
  EXPECT_NE(Find(262, "505750"), nullptr);
  EXPECT_EQ(playerRecord->score, 505750u);
  // The fourth step reaches 500000: the life shows in the same frame.
  EXPECT_NE(Find(254, "Lives:3"), nullptr);
  EXPECT_NE(Find(255, "Lives:4"), nullptr);

  // Five seconds after the count ended at 5220 ms.
  EXPECT_EQ(platform.frames(), 512);
  EXPECT_EQ(platform.gl.Count("glBegin"), 2u);  // the picture and the line
  EXPECT_TRUE(platform.gl.Find("glVertex3f", [](const GlCall& call) {
    return call.Float(0) == -1 && call.Float(1) == -0.01f && call.Float(2) == -3.5f;
  }));
  EXPECT_TRUE(platform.gl.Find("glBindTexture", [](const GlCall& call) {
    return call.Int(1) == NullPlatform::TextureName(TextureSlot::Summary);
  }));
}

TEST_F(SummaryTest, WithoutShotsTheBonusIsZeroAndTheScreenEndsFiveSecondsAfterTheTotal) {
  Level level(2);
  levelCounters.levelScore = 2500;
  levelCounters.hitCount = 0;
  level.shotCount = 0;
  LevelSummary(level);
  EXPECT_EQ(TextsOf(202), (std::vector<std::string>{
                              "Score at Start of Level:", "0", "Score Earned This Level:", "2500",
                              "                Accuracy:", "0.00%", "          Accuracy Bonus:",
                              "0", "Lives:3", "Level:2", "Score:0"}));
  EXPECT_EQ(FirstFrameWith("           Total Score:"), 252);
  EXPECT_EQ(platform.frames(), 502);
  EXPECT_EQ(playerRecord->score, 0u);
  EXPECT_EQ(platform.input.keySnapshots(), 0);
}

TEST_F(SummaryTest, TheBonusIsTheExactShareOfTheLevelsPoints) {
  Level level(4);
  levelCounters.levelScore = 13500;
  levelCounters.hitCount = 7;
  level.shotCount = 12;
  platform.KeepOnlyCurrentFrame(true);
  LevelSummary(level);
  EXPECT_TRUE(Find(202, "58.33%")->At(40, 31, 2));
  ASSERT_NE(Find(202, "7875"), nullptr);  // 13500 × 7 / 12, not a point less
  EXPECT_TRUE(Find(202, "7875")->At(40, 30, 2));
  EXPECT_EQ(playerRecord->score, 7875u);
}

}  // namespace
