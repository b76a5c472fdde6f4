#include <cstdint>
#include <thread>

#include "app/frame_timer.h"
#include "platform/engine.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "resources/settings.h"

namespace {

constexpr const char* kStartFailure =
    "Starfield Stampede failed to initialize.  Please read the FAQ for possible solutions.";

// Black frames until Escape, in the frame shape every screen will use.
void RunUntilEscape(int32_t timer) {
  ResetTimer(timer);
  do {
    SnapshotKeys(InputState.keys);
    SnapshotMouse(&InputState);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gl.glLoadIdentity();
    PresentFrame();
    UpdateTimers();
    std::this_thread::yield();
  } while (!Pressed(InputState.keys[kKeyEscape]));
}

}  // namespace

// The game takes no arguments and always ends with 0, also when it cannot
// start: the player then gets one message and the settings stay untouched.
int main() {
  LoadSettings();
  if (!StartEngine()) {
    ShowErrorMessage("Error", kStartFailure);
    StopEngine();
    return 0;
  }
  // The lit path needs the shading language; the player's saved choice
  // (glslRequested) stays as it was.
  if (!gl.arbShadingLanguage100) Settings.glslEnabled = false;
  const int32_t gameTimer = AcquireTimer();

  RunUntilEscape(gameTimer);

  SaveSettings();
  StopEngine();
  return 0;
}
