#include "game/level_summary.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "audio/game_sounds.h"
#include "game/hud.h"
#include "game/player_record.h"
#include "game/screen_frame.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"

namespace {

constexpr int32_t kLabelColumn = 15;
constexpr int32_t kValueColumn = 40;
constexpr int32_t kBonusStep = 1000;  // points counted per frame
constexpr float kLingerMs = 5000;     // after the count

void PrintLine(const BitmapFont& font, int32_t row, const char* label, const char* value) {
  font.Print(kLabelColumn, row, label);
  font.Print(kValueColumn, row, value);
}

void PrintLine(const BitmapFont& font, int32_t row, const char* label, int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(value));
  PrintLine(font, row, label, text);
}

}  // namespace

void LevelSummary(const Level& level) {
  ResetTimer(level.timer);
  PlayCentredSound(EventSound::LevelFanfare);
  BitmapFont font;
  font.Init("fonts/default.tga", 2, 0);

  const float accuracy = level.shotCount > 0 ? static_cast<float>(levelCounters.hitCount) /
                                                   static_cast<float>(level.shotCount)
                                             : 0;
  const float accPercent = 100 * accuracy;
  // floor(levelCounters.levelScore × hits / shots) worked in whole numbers: the float
  // accuracy would lose a point now and then (13500 × 7 / 12 gave 7874).
  const auto bonus = level.shotCount > 0 && levelCounters.hitCount > 0
                         ? static_cast<int32_t>(uint64_t{levelCounters.levelScore} *
                                                static_cast<uint32_t>(levelCounters.hitCount) /
                                                static_cast<uint32_t>(level.shotCount))
                         : 0;
  char accuracyText[32];
  std::snprintf(accuracyText, sizeof accuracyText, "%.2f%%", accPercent);
  int32_t awarded = 0;
  bool counted = false;
  float doneTime = 0;
  bool finished = false;

  while (!finished && !QuitRequested()) {
    const float t = TimerMilliseconds(level.timer);
    BeginScreenFrame();
    DrawScreenPicture(TextureSlot::Summary, 1);
    gl.glColor3f(0.8f, 0.8f, 0.1f);
    if (t > 1000) PrintLine(font, 33, "Score at Start of Level:", levelCounters.scoreAtStart);
    if (t > 2000) PrintLine(font, 32, "Score Earned This Level:", levelCounters.levelScore);
    if (t > 3000) PrintLine(font, 31, "                Accuracy:", accuracyText);
    if (t > 4000) {
      PrintLine(font, 30, "          Accuracy Bonus:", bonus);
      gl.glDisable(GL_TEXTURE_2D);
      gl.glColor3f(1, 1, 0);
      gl.glBegin(GL_LINES);
      gl.glVertex3f(-1, -0.01f, -3.5f);
      gl.glVertex3f(1, -0.01f, -3.5f);
      gl.glEnd();
    }
    if (t > 5000) {
      if (awarded < bonus) {
        const int32_t step = std::min(bonus - awarded, kBonusStep);
        if (playerRecord) playerRecord->AddScore(static_cast<uint32_t>(step));
        awarded += step;
      } else if (!counted) {
        doneTime = t;
        counted = true;
      }
      PrintLine(font, 27, "           Total Score:", playerRecord ? playerRecord->score : 0);
    }
    if (counted && t - doneTime >= kLingerMs) finished = true;
    PrintStatusLine(font, level.level);
    EndScreenFrame();
  }
}
