#include "game/pause_screen.h"

#include "audio/game_sounds.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "game/object_drawing.h"
#include "game/screen_frame.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/pause_request.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"

namespace {

// A black veil over the whole view, in front of the background plane.
constexpr float kVeilZ = -1.4f;
constexpr float kVeilAlpha = 0.6f;
constexpr QuadVertex kVeil[6] = {{-1.33f, 1, 0, 1},  {1.33f, 1, 1, 1}, {-1.33f, -1, 0, 0},
                                 {-1.33f, -1, 0, 0}, {1.33f, 1, 1, 1}, {1.33f, -1, 1, 0}};

// Cells of the class 2 font (80 × 60, row 0 at the bottom).
constexpr int32_t kTitleColumn = 37;
constexpr int32_t kTitleRow = 32;
constexpr int32_t kHintColumn = 27;
constexpr int32_t kGoOnRow = 29;
constexpr int32_t kGiveUpRow = 27;

void DrawVeil() {
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDisable(GL_TEXTURE_2D);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glColor4f(0, 0, 0, kVeilAlpha);
  DrawTriangles(kVeil, kVeilZ);
  gl.glDisable(GL_BLEND);
  gl.glEnable(GL_DEPTH_TEST);
}

void DrawPauseTexts(const BitmapFont& font) {
  gl.glColor3f(1.0f, 1.0f, 1.0f);
  font.Print(kTitleColumn, kTitleRow, "PAUSED");
  gl.glColor3f(0.8f, 0.8f, 0.1f);
  font.Print(kHintColumn, kGoOnRow, "P or Start: go on");
  font.Print(kHintColumn, kGiveUpRow, "Q or Back held: give up");
}

}  // namespace

PauseOutcome RunPause(const std::function<void()>& drawLevel, const BitmapFont& font,
                      MusicStream* music) {
  HoldRunningTimers();
  if (music) music->Pause();
  // The ship's own half-second tick plays it again once play goes on.
  if (shipSounds.thrustSound) shipSounds.thrustSound->Stop();
  gameSounds.voices.PausePlaying();

  // The pause reads keys into a record of its own: the level goes on with
  // the snapshot it paused on, exactly where it stopped. The P that paused
  // must be let go before a press goes on.
  InputStateRecord input;
  bool pauseKeyWasDown = Pressed(InputState.keys[kKeyP]);
  PauseOutcome outcome = PauseOutcome::Resume;
  for (;;) {
    BeginScreenFrame();
    drawLevel();
    DrawVeil();
    DrawPauseTexts(font);
    EndScreenFrame();

    SnapshotKeys(input.keys);
    SnapshotMouse(&input);
    TakePauseRequest();  // already paused
    if (QuitRequested() || Pressed(input.keys[kKeyQ])) {
      outcome = PauseOutcome::GiveUp;
      break;
    }
    const bool pauseKeyDown = Pressed(input.keys[kKeyP]);
    if (pauseKeyDown && !pauseKeyWasDown) break;
    pauseKeyWasDown = pauseKeyDown;
  }

  ResumeHeldTimers();
  if (music) music->Resume();
  gameSounds.voices.ResumePaused();
  return outcome;
}
