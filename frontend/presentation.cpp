#include <algorithm>
#include <cmath>
#include <cstdint>

#include "audio/game_sounds.h"
#include "audio/sound_effect.h"
#include "frontend/screen_drawing.h"
#include "frontend/screens.h"
#include "game/object_drawing.h"
#include "game/screen_frame.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"
#include "resources/image_resource.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "resources/shader_program.h"
#include "resources/texture.h"

namespace {

// 2π/10: the fade's sine peaks at 2.5 s and is back at 0 at 5 s.
constexpr float kFadeRate = 0.62831855f;

// The loading caption is the middle band of its picture.
constexpr PictureCoords kCaptionBand = {0, 0.66f, 1, 0.66f, 0, 0.33f, 1, 0.33f};
constexpr float kBarDepth = -5.5f;

// The story panel by variant: as stored, mirrored left to right, upside down.
constexpr PictureCoords kPanelCoords[3] = {
    {0, 1, 1, 1, 0, 0, 1, 0},
    {1, 1, 0, 1, 1, 0, 0, 0},
    {0, 0, 1, 0, 0, 1, 1, 1},
};

void DrawLoadingBar(const Texture& caption, float progress) {
  caption.Bind();
  gl.glColor4f(1, 1, 1, 1);
  DrawPicture(-1, 1, -2.25f, -2.75f, kBarDepth, kCaptionBand);

  gl.glDisable(GL_TEXTURE_2D);
  gl.glDisable(GL_BLEND);
  gl.glColor3f(0, 0.75f, 0);
  gl.glBegin(GL_LINE_STRIP);
  for (const auto& [x, y] : {std::pair{-2.0f, -2.75f}, {2.0f, -2.75f}, {2.0f, -3.0f}, {-2.0f, -3.0f}, {-2.0f, -2.75f}}) {
    gl.glVertex3f(x, y, kBarDepth);
  }
  gl.glEnd();
  // Without shaders the loader makes 3 steps more than the bar holds: the
  // bar stops at its frame instead of running past it.
  const float right = 3.9f * std::clamp(progress, 0.0f, 1.0f) - 1.95f;
  gl.glColor3f(0, 0.5f, 0);
  gl.glBegin(GL_QUADS);
  gl.glVertex3f(-1.95f, -2.8f, kBarDepth);
  gl.glVertex3f(right, -2.8f, kBarDepth);
  gl.glVertex3f(right, -2.95f, kBarDepth);
  gl.glVertex3f(-1.95f, -2.95f, kBarDepth);
  gl.glEnd();
}

// No loader thread could be started: load on this thread instead, so the
// game still gets its pictures and sounds.
void LoadWithoutThread() {
  LoadCatalogue();
  LoadAllSounds(nullptr);
}

}  // namespace

void ShowIntro() {
  Texture picture;
  picture.Load("textures/presentation/titlepresents.tga", true);
  EnablePictureBlending();
  picture.Bind();
  RunTimedScreen(5, false, [](float t) {
    const float wave = std::sin(kFadeRate * t);
    gl.glColor4f(1, 1, 1, t <= 2.5f ? 3 * wave : wave * wave * wave);
    // The halves come in from either side and meet at 1.25 s.
    const float shift = t <= 1.25f ? 2 * t - 2.5f : 0;
    DrawPicture(shift - 1, shift + 1, 1, 0, -2.5f, {0, 1, 1, 1, 0, 0.5f, 1, 0.5f});
    DrawPicture(-shift - 1, -shift + 1, 0, -1, -2.5f, {0, 0.5f, 1, 0.5f, 0, 0, 1, 0});
  });
}

void ShowTitleAndLoad() {
  Texture title;
  Texture caption;
  title.Load("textures/presentation/titlescreen.tga", true);
  caption.Load("textures/presentation/loading.tga", true);
  gl.glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  gl.glDisable(GL_DEPTH_TEST);

  const int32_t timer = AcquireTimer();
  uint8_t keys[kKeyCount];  // taken as every screen does; the title is not skippable
  bool loaderStarted = false;
  float progress = 0;
  for (bool loading = true; loading;) {
    const float t = TimerSeconds(timer);
    SnapshotKeys(keys);
    BeginScreenFrame();
    EnablePictureBlending();  // the bar turns both off
    title.Bind();
    gl.glColor4f(1, 1, 1, t <= 1.5f ? 3 * std::sin(kFadeRate * t) : 1);
    DrawCentrePicture();
    // The load cannot be cut short; a quit request only skips the fade-in.
    if (t >= 1.5f || QuitRequested()) {
      if (IsLoaderRunning()) {
        progress = GetLoadProgress();
      } else if (loaderStarted) {
        StopLoader();
        progress = GetLoadProgress();  // the last frame shows the finished bar
        loading = false;
      } else {
        loaderStarted = true;
        if (!StartLoader()) LoadWithoutThread();
      }
      DrawLoadingBar(caption, progress);
    }
    EndScreenFrame();
    ServicePendingUpload();
  }
  ReleaseTimer(timer);
  if (Settings.glslEnabled) LoadShaders();
}

void ShowStoryFrame() {
  EnablePictureBlending();
  RunTimedScreen(15, true, [](float) {
    gl.glColor4f(1, 1, 1, 1);
    BindTexture(TextureSlot::StoryFrame1);
    DrawFullPicture();
  });
}

void ShowStoryPanel(int32_t variant) {
  const PictureCoords& coords = kPanelCoords[variant >= 0 && variant <= 2 ? variant : 0];
  if (shipSounds.thrustSound) shipSounds.thrustSound->Play(true);
  EnablePictureBlending();
  RunTimedScreen(2.5f, true, [&coords](float) {
    gl.glColor4f(1, 1, 1, 1);
    BindTexture(TextureSlot::StoryFrame2);
    DrawFullPicture(coords);
  });
  if (shipSounds.thrustSound) shipSounds.thrustSound->Stop();
}

void ShowCredits() {
  EnablePictureBlending();
  RunTimedScreen(25, true, [](float t) {
    // Rises from below the screen, passes the centre at 12.5 s.
    const float centre = 0.16f * std::max(t, 0.01f) - 2;
    gl.glColor4f(1, 1, 1, 1);
    BindTexture(TextureSlot::Credits);
    DrawPicture(-1.33f, 1.33f, centre + 1, centre - 1, -1.8f);
  });
}
