#include <gtest/gtest.h>

#include <algorithm>

#include "audio/audio_test_support.h"
#include "audio/sound_effect.h"
#include "frontend/screens.h"
#include "front_end_fixture.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "resources/shader_program.h"
#include "support/recording_al.h"

using namespace front_end_test;

namespace {

class Presentation : public FrontEnd {
 protected:
  // The texture coordinates given in one frame, as (s, t) pairs.
  std::vector<std::pair<float, float>> CoordsOfFrame(int frame) const {
    std::vector<std::pair<float, float>> found;
    for (const GlCall& call : CallsOfFrame(frame)) {
      if (call.name == "glTexCoord2f") found.emplace_back(call.Float(0), call.Float(1));
    }
    return found;
  }
  GLuint BoundIn(int frame) const { return static_cast<GLuint>(FirstOfFrame(frame, "glBindTexture").Int(1)); }
};

TEST_F(Presentation, TheIntroRunsFiveSecondsWhateverKeysAreHeld) {
  HoldKeyAt(1, kKeyEscape);
  HoldKeyAt(1, kKeySpace);
  ShowIntro();
  EXPECT_EQ(platform.frames(), 301);  // t = 5 is read at the start of frame 301
  EXPECT_TRUE(pauses.empty());

  // The halves enter from either side and stand together after 1.25 s.
  const auto first = VerticesOfFrame(1);
  ASSERT_EQ(first.size(), 12u);
  EXPECT_FLOAT_EQ(first[0][0], -3.5f);
  EXPECT_FLOAT_EQ(first[0][1], 1);
  EXPECT_FLOAT_EQ(first[0][2], -2.5f);
  EXPECT_FLOAT_EQ(first[6][0], 1.5f);
  EXPECT_FLOAT_EQ(first[6][1], 0);
  const auto later = VerticesOfFrame(200);
  EXPECT_FLOAT_EQ(later[0][0], -1);
  EXPECT_FLOAT_EQ(later[6][0], -1);
  const auto coords = CoordsOfFrame(200);
  EXPECT_FLOAT_EQ(coords[2].second, 0.5f);  // the upper half ends half-way up the picture
  EXPECT_FLOAT_EQ(coords[6].second, 0.5f);
}

TEST_F(Presentation, TheTitleLoadsEverythingAfterOneAndAHalfSecondsWithABarThatStaysInItsFrame) {
  for (BundleSprite*& sprite : catalogue.sprites) sprite = nullptr;  // the loader makes its own
  ShowTitleAndLoad();
  const int frames = platform.frames();
  EXPECT_GE(frames, 92);
  EXPECT_FALSE(IsLoaderRunning());
  EXPECT_NE(catalogue.menuBundle1, nullptr);
  EXPECT_NE(catalogue.sprites[0], nullptr);
  EXPECT_EQ(shaderPrograms.defaultProgram, nullptr);  // no shaders without GLSL

  auto drawsBar = [this](int frame) {
    for (const GlCall& call : CallsOfFrame(frame)) {
      if (call.name == "glBegin" && call.Int(0) == GL_LINE_STRIP) return true;
    }
    return false;
  };
  EXPECT_FALSE(drawsBar(90));  // t = 89/60
  EXPECT_TRUE(drawsBar(91));
  // Without shaders the loader makes 3 steps more than the bar has; the last frame shows
  // the finished bar, which ends inside its frame.
  EXPECT_GT(GetLoadProgress(), 1.0f);
  const auto last = VerticesOfFrame(frames);
  ASSERT_EQ(last.size(), 6u + 6u + 5u + 4u);  // title, caption, frame, bar
  float right = -10;
  for (int k = 17; k < 21; ++k) right = std::max(right, last[k][0]);
  EXPECT_FLOAT_EQ(right, 1.95f);
  for (int k = 6; k < 21; ++k) EXPECT_FLOAT_EQ(last[k][2], -5.5f);
  ReleaseResources();
}

TEST_F(Presentation, TheTitleBuildsTheShadersAfterLoadingWhenTheyAreOn) {
  for (BundleSprite*& sprite : catalogue.sprites) sprite = nullptr;
  Settings.glslEnabled = true;
  ShowTitleAndLoad();
  EXPECT_NE(shaderPrograms.defaultProgram, nullptr);
  EXPECT_NE(shaderPrograms.heatProgram, nullptr);
  EXPECT_NEAR(GetLoadProgress(), 1, 1e-5);  // every step of the bar with shaders
  ReleaseShaders();
  ReleaseResources();
}

TEST_F(Presentation, TheStoryFrameShowsItsPictureFifteenSecondsOrUntilSpace) {
  ShowStoryFrame();
  EXPECT_EQ(platform.frames(), 901);
  EXPECT_EQ(BoundIn(1), NullPlatform::TextureName(TextureSlot::StoryFrame1));
  const auto corners = VerticesOfFrame(1);
  ASSERT_EQ(corners.size(), 6u);
  EXPECT_FLOAT_EQ(corners[0][0], -1.33f);
  EXPECT_FLOAT_EQ(corners[0][1], 1);
  EXPECT_FLOAT_EQ(corners[5][0], 1.33f);
  EXPECT_FLOAT_EQ(corners[5][1], -1);
  EXPECT_FLOAT_EQ(corners[5][2], -1.8f);
  EXPECT_TRUE(pauses.empty());

  // Space held through the frame also ends the panel after it at once.
  HoldKeyAt(platform.input.keySnapshots() + 10, kKeySpace);
  ShowStoryFrame();
  ShowStoryPanel(0);
  EXPECT_EQ(platform.frames(), 901 + 10 + 1);
  EXPECT_EQ(pauses, (std::vector<int32_t>{200, 200}));
}

TEST_F(Presentation, TheStoryPanelTurnsItsPictureByVariantAndLoopsTheThrustSound) {
  RecordingAl al;
  Settings.soundEnabled = true;
  platform.assets.WriteFile("thrust.wav", audio_test::MonoWav16(audio_test::Tone16(200, 22050, 0.1)));
  shipSounds.thrustSound = new SoundEffect;
  ASSERT_TRUE(shipSounds.thrustSound->Load("thrust.wav"));

  const std::vector<std::pair<float, float>> expected[3] = {
      {{0, 1}, {1, 1}, {0, 0}, {0, 0}, {1, 1}, {1, 0}},
      {{1, 1}, {0, 1}, {1, 0}, {1, 0}, {0, 1}, {0, 0}},
      {{0, 0}, {1, 0}, {0, 1}, {0, 1}, {1, 0}, {1, 1}},
  };
  for (int variant = 0; variant < 3; ++variant) {
    al.ClearCalls();
    const int before = platform.frames();
    ShowStoryPanel(variant);
    EXPECT_EQ(platform.frames() - before, 151);
    EXPECT_EQ(BoundIn(before + 1), NullPlatform::TextureName(TextureSlot::StoryFrame2));
    EXPECT_EQ(CoordsOfFrame(before + 1), expected[variant]) << variant;
    EXPECT_EQ(al.CallsTo("alSourcePlay").size(), 1u);
    EXPECT_EQ(al.CallsTo("alSourceStop").size(), 1u);
    const auto calls = al.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "alSourcei(1, AL_LOOPING, 1)"), calls.end());
  }
  delete shipSounds.thrustSound;
  shipSounds.thrustSound = nullptr;
}

TEST_F(Presentation, TheCreditsRiseThroughTheScreenInTwentyFiveSecondsOrUntilEscape) {
  ShowCredits();
  EXPECT_EQ(platform.frames(), 1501);
  EXPECT_EQ(BoundIn(1), NullPlatform::TextureName(TextureSlot::Credits));
  EXPECT_NEAR(VerticesOfFrame(1)[0][1], 0.16f * 0.01f - 1, 1e-5);  // t is at least 0.01
  EXPECT_NEAR(VerticesOfFrame(751)[0][1], 1, 1e-4);                // centred at 12.5 s
  EXPECT_NEAR(VerticesOfFrame(751)[5][1], -1, 1e-4);
  EXPECT_NEAR(VerticesOfFrame(1501)[5][1], 1, 1e-4);               // gone at the top

  HoldKeyAt(platform.input.keySnapshots() + 3, kKeyEscape);
  ShowCredits();
  EXPECT_EQ(platform.frames(), 1504);
  EXPECT_EQ(pauses, (std::vector<int32_t>{200}));
  platform.input.ReleaseAll();
  HoldKeyAt(platform.input.keySnapshots() + 3, kKeyP);  // a controller's Start
  ShowCredits();
  EXPECT_EQ(platform.frames(), 1507);
}

}  // namespace
