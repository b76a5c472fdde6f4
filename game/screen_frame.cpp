#include "game/screen_frame.h"

#include <thread>

#include "game/object_drawing.h"
#include "platform/engine.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"

void BeginScreenFrame() {
  gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  gl.glLoadIdentity();
}

void EndScreenFrame() {
  PresentFrame();
  UpdateTimers();
  std::this_thread::yield();
}

void DrawScreenPicture(TextureSlot slot, float centreY) {
  gl.glColor4f(1, 1, 1, 1);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glEnable(GL_TEXTURE_2D);
  gl.glEnable(GL_BLEND);
  BindTexture(slot);
  DrawSpriteSquare(1, -3.5f, 0, centreY);
}
