#include <gtest/gtest.h>

#include "frontend/screens.h"
#include "front_end_fixture.h"
#include "game/player_record.h"
#include "resources/settings.h"

using namespace front_end_test;

namespace {

class GameEnd : public FrontEnd {
 protected:
  GameEnd() {
    playerRecord = &player;
    Settings.highScore = 4000;
    FormatHighScoreText("High Score:%d", 4000);
    HoldKeyAt(1, kKeyEscape);  // the endings read no keys
  }
  ~GameEnd() override { playerRecord = nullptr; }

  bool HighScorePictureIn(int frame) const {
    for (const GlCall& call : CallsOfFrame(frame)) {
      if (call.name == "glBindTexture" && call.Int(1) == NullPlatform::TextureName(TextureSlot::HighScore)) {
        return true;
      }
    }
    return false;
  }

  // Frames whose calls set the picture blend (GL_SRC_ALPHA,
  // GL_ONE_MINUS_SRC_ALPHA), and the blend function the high-score picture
  // of a frame was drawn with.
  int NormalBlendCalls() const {
    int count = 0;
    for (const GlCall& call : platform.gl.Calls("glBlendFunc")) {
      if (call.Int(1) == GL_ONE_MINUS_SRC_ALPHA) ++count;
    }
    return count;
  }
  int64_t BlendOfHighScorePicture(int frame) const {
    int64_t blend = -1;
    for (const GlCall& call : platform.gl.Calls()) {
      if (call.name == "glBlendFunc") blend = call.Int(1);
      if (call.name == "glBindTexture" &&
          call.Int(1) == NullPlatform::TextureName(TextureSlot::HighScore) && --frame == 0) {
        return blend;
      }
    }
    return -2;
  }

  PlayerRecord player{-1};
};

TEST_F(GameEnd, GameOverTakesABeatenHighScoreAndShowsTheRecordForFiveSeconds) {
  player.score = 5000;
  ShowGameOver();
  EXPECT_EQ(platform.frames(), 300);
  EXPECT_EQ(platform.input.keySnapshots(), 0);
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(Settings.highScore, 5000);
  EXPECT_STREQ(frontEnd.highScoreText, "High Score:5000");
  EXPECT_EQ(Saved("HighScore"), 5000) << "a crash after the game must not lose it";
  // The ending's own blend once; from the second frame on the record picture
  // is added over the ending with the function the line's print left.
  EXPECT_EQ(NormalBlendCalls(), 1);
  EXPECT_EQ(BlendOfHighScorePicture(1), GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(BlendOfHighScorePicture(2), GL_ONE);

  EXPECT_TRUE(HighScorePictureIn(1));
  const auto line = platform.TextsOfFrame(151);
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].text, "NEW HIGH SCORE:5000");
  EXPECT_TRUE(line[0].At(20 - 19 / 2, 27, 1));
  EXPECT_NEAR(line[0].color[0], 0.06f * 2.5f, 1e-4);  // brightening towards (0.3, 0.9, 0.3)
  EXPECT_NEAR(line[0].color[1], 0.18f * 2.5f, 1e-4);
}

TEST_F(GameEnd, AnEqualledOrLowerScoreIsNoRecord) {
  for (uint32_t score : {4000u, 3999u, 0u}) {
    player.score = score;
    ShowGameOver();
    EXPECT_EQ(Settings.highScore, 4000) << score;
    EXPECT_STREQ(frontEnd.highScoreText, "High Score:4000");
  }
  player.score = 4000;
  ShowGameWon();
  EXPECT_EQ(Settings.highScore, 4000);
  EXPECT_STREQ(frontEnd.highScoreText, "High Score:4000");
  EXPECT_TRUE(platform.Texts().empty());
  EXPECT_FALSE(HighScorePictureIn(1));
  EXPECT_FALSE(SettingsSaved());

  // Scores compare as unsigned values: a stored value past 2^31 reads as
  // negative but stays the greater one.
  Settings.highScore = -5;
  player.score = 3000000000u;
  ShowGameOver();
  EXPECT_EQ(Settings.highScore, -5);
}

TEST_F(GameEnd, GameWonRunsTwoFadesAndWritesTheMenuLineWithABlank) {
  player.score = 123456;
  ShowGameWon();
  EXPECT_EQ(platform.frames(), 600);
  EXPECT_EQ(platform.input.keySnapshots(), 0);
  EXPECT_EQ(Settings.highScore, 123456);
  EXPECT_STREQ(frontEnd.highScoreText, "High Score: 123456");
  EXPECT_EQ(Saved("HighScore"), 123456);
  EXPECT_EQ(NormalBlendCalls(), 1);

  const auto fading = platform.TextsOfFrame(151);
  ASSERT_EQ(fading.size(), 1u);
  EXPECT_EQ(fading[0].text, "NEW HIGH SCORE:123456");
  EXPECT_TRUE(fading[0].At(20 - 21 / 2, 27, 1));
  EXPECT_NEAR(fading[0].color[1], 0.45f, 1e-4);
  const auto steady = platform.TextsOfFrame(301);
  ASSERT_EQ(steady.size(), 1u);
  EXPECT_FLOAT_EQ(steady[0].color[0], 0.3f);
  EXPECT_FLOAT_EQ(steady[0].color[1], 0.9f);
  EXPECT_FLOAT_EQ(steady[0].color[2], 0.3f);
}

}  // namespace
