#include "game/pause_screen.h"

#include <algorithm>
#include <string>

#include "audio/game_sounds.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "game/object_drawing.h"
#include "game/play_keys.h"
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
constexpr int32_t kColumns = 80;
constexpr int32_t kGoOnRow = 29;
constexpr int32_t kGiveUpRow = 27;

void DrawVeil() {
  gl.glLoadIdentity();  // the HUD leaves the matrix on its shield box
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDisable(GL_TEXTURE_2D);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glColor4f(0, 0, 0, kVeilAlpha);
  DrawTriangles(kVeil, kVeilZ);
  gl.glDisable(GL_BLEND);
  gl.glEnable(GL_DEPTH_TEST);
}

// "P or START: go on" and "Q or BACK held: give up" with the keys and
// buttons the player bound; moved left as far as a long name needs to stay
// on the screen.
void DrawPauseTexts(const BitmapFont& font) {
  const std::string goOn = std::string(KeyName(PlayKey(kActionPause))) + " or " +
                           PadButtonName(PlayPadButton(kActionPause)) + ": go on";
  const std::string giveUp = std::string(KeyName(PlayKey(kActionGiveUp))) + " or " +
                             PadButtonName(PlayPadButton(kActionGiveUp)) + " held: give up";
  const int32_t longest = static_cast<int32_t>(std::max(goOn.size(), giveUp.size()));
  const int32_t column = std::max(0, std::min(kHintColumn, kColumns - longest));
  gl.glColor3f(1.0f, 1.0f, 1.0f);
  font.Print(kTitleColumn, kTitleRow, "PAUSED");
  gl.glColor3f(0.8f, 0.8f, 0.1f);
  font.Print(column, kGoOnRow, goOn.c_str());
  font.Print(column, kGiveUpRow, giveUp.c_str());
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
  // the snapshot it paused on, exactly where it stopped. The pause key that
  // paused must be let go before a press goes on.
  InputStateRecord input;
  bool pauseKeyWasDown = PauseKeyDown(InputState.keys);
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
    if (QuitRequested() || PlayKeyDown(input.keys, kActionGiveUp)) {
      outcome = PauseOutcome::GiveUp;
      break;
    }
    const bool pauseKeyDown = PauseKeyDown(input.keys);
    if (pauseKeyDown && !pauseKeyWasDown) break;
    pauseKeyWasDown = pauseKeyDown;
  }

  ResumeHeldTimers();
  if (music) music->Resume();
  gameSounds.voices.ResumePaused();
  return outcome;
}
