#include "frontend/screen_drawing.h"

#include <cstdint>

#include "frontend/front_end.h"
#include "game/play_keys.h"
#include "game/screen_frame.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"

void DrawPicture(float left, float right, float top, float bottom, float z, const PictureCoords& coords) {
  const float corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
  gl.glBegin(GL_TRIANGLES);
  for (int corner : {0, 1, 2, 2, 1, 3}) {
    gl.glTexCoord2f(coords[2 * corner], coords[2 * corner + 1]);
    gl.glVertex3f(corners[corner][0], corners[corner][1], z);
  }
  gl.glEnd();
}

void DrawFullPicture(const PictureCoords& coords) { DrawPicture(-1.33f, 1.33f, 1, -1, -1.8f, coords); }

void DrawCentrePicture(float shiftX, const PictureCoords& coords) {
  DrawPicture(shiftX - 1, shiftX + 1, 1, -1, -2.5f, coords);
}

void EnablePictureBlending() {
  gl.glEnable(GL_TEXTURE_2D);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void RunTimedScreen(float seconds, bool skippable, const std::function<void(float t)>& draw) {
  const int32_t timer = AcquireTimer();
  uint8_t keys[kKeyCount];
  for (;;) {
    const float t = TimerSeconds(timer);
    SnapshotKeys(keys);
    BeginScreenFrame();
    draw(t);
    EndScreenFrame();
    // The bound fire and pause keys as well: a controller's A and Start
    // arrive as those.
    const bool skipKey = Pressed(keys[kKeyEscape]) || Pressed(keys[kKeySpace]) ||
                         Pressed(keys[kKeyP]) || PlayKeyDown(keys, kActionFire) ||
                         PlayKeyDown(keys, kActionPause);
    if (skippable && skipKey) {
      PauseScreen(200);
      break;
    }
    if (t >= seconds || QuitRequested()) break;
  }
  ReleaseTimer(timer);
}

void RunOnGameTimer(float seconds, const std::function<void(float t)>& draw) {
  ResetTimer(frontEnd.gameTimer);
  for (float t = TimerSeconds(frontEnd.gameTimer); t < seconds && !QuitRequested();
       t = TimerSeconds(frontEnd.gameTimer)) {
    BeginScreenFrame();
    draw(t);
    EndScreenFrame();
  }
}
