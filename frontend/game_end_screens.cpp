#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frontend/front_end.h"
#include "frontend/screen_drawing.h"
#include "frontend/screens.h"
#include "game/object_drawing.h"
#include "game/player_record.h"
#include "platform/gl_table.h"
#include "resources/bitmap_font.h"
#include "resources/settings.h"
#include "resources/texture.h"

namespace {

// A record beaten in this game, shown as one line near the top.
struct NewRecord {
  bool set = false;
  char line[48] = {};
};

// Only a greater score is a record; an equal one is not. A record is
// written at once: kept only in memory until the program ends, a crash or a
// kill would lose it.
NewRecord TakeHighScore(const char* menuLineFormat) {
  NewRecord record;
  const uint32_t score = playerRecord ? playerRecord->score : 0;
  if (score <= static_cast<uint32_t>(Settings.highScore)) return record;
  Settings.highScore = static_cast<int32_t>(score);
  SaveSettings();
  FormatHighScoreText(menuLineFormat, Settings.highScore);
  std::snprintf(record.line, sizeof record.line, "NEW HIGH SCORE:%d", Settings.highScore);
  record.set = true;
  return record;
}

// The blend function is set once, before the first frame: from the second
// frame on the record line's print has left its additive one, and the
// endings have always been drawn so, the record picture added over the
// ending.
void DrawEnding(const Texture& picture, float alpha) {
  gl.glColor4f(1, 1, 1, alpha);
  picture.Bind();
  DrawFullPicture();
  gl.glDisable(GL_TEXTURE_2D);
}

// The high-score picture in the colour of the ending, then the line in
// green of the given brightness (1 = (0.3, 0.9, 0.3)).
void DrawRecord(const NewRecord& record, float lineBrightness) {
  if (!record.set) return;
  gl.glEnable(GL_TEXTURE_2D);
  BindTexture(TextureSlot::HighScore);
  DrawPicture(-1, 1, 0, -2, -3.5f);
  gl.glDisable(GL_TEXTURE_2D);
  gl.glColor3f(0.3f * lineBrightness, 0.9f * lineBrightness, 0.3f * lineBrightness);
  const auto halfLength = static_cast<int32_t>(std::strlen(record.line)) / 2;
  if (frontEnd.firstFont) frontEnd.firstFont->Print(20 - halfLength, 27, record.line);
}

}  // namespace

void ShowGameOver() {
  const NewRecord record = TakeHighScore("High Score:%d");
  Texture picture;
  picture.Load("textures/story/gameover.tga", false);
  EnablePictureBlending();
  RunOnGameTimer(5, [&](float t) {
    DrawEnding(picture, std::min(t, 1.0f));
    DrawRecord(record, 0.2f * t);
  });
}

void ShowGameWon() {
  const NewRecord record = TakeHighScore("High Score: %d");
  Texture picture;
  picture.Load("textures/gameplay/gamewin.tga", false);
  EnablePictureBlending();
  RunOnGameTimer(5, [&](float t) {
    DrawEnding(picture, 0.2f * t);
    DrawRecord(record, 0.2f * t);
  });
  RunOnGameTimer(5, [&](float) {
    DrawEnding(picture, 1);
    DrawRecord(record, 1);
  });
}
