#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resources/catalogue.h"
#include "resources/settings.h"
#include "support/fake_clock.h"
#include "support/recording_gl.h"
#include "support/scripted_input.h"
#include "support/temp_dir.h"

// Runs the game's real screens and loops in process, with no window and no
// devices. While it lives:
// - every GL entry point records its call (gl);
// - the frame timers run on a fake clock (its own, or one the test already
//   has) that moves on by frameSeconds at the start of every frame, i.e. at
//   each glClear: every frame of the game clears first, and PresentFrame
//   does nothing without a window, so the timers see one step per frame;
// - key and mouse snapshots come from a script (input);
// - the asset directory is an empty temp folder (assets), Settings hold the
//   defaults (800 × 600, no shaders, no sound);
// - every empty texture slot of the catalogue holds a stand-in texture whose
//   GL name is TextureName(slot), so binds can be told apart.
// Everything is put back when it goes (the asset directory is stopped).
// One at a time, on the main thread.
// It handles glClear, glColor3f, glColor4f, glTranslated and glCallLists
// itself: a test must not replace those with RecordingGl::OnCall.
class NullPlatform {
 public:
  // clock: a fake clock the test installed already, or null for one of its own.
  explicit NullPlatform(double frameSeconds = 1.0 / 60, FakeClock* clock = nullptr);
  ~NullPlatform();
  NullPlatform(const NullPlatform&) = delete;
  NullPlatform& operator=(const NullPlatform&) = delete;

  static GLuint TextureName(TextureSlot slot) { return 1000 + static_cast<GLuint>(slot); }

  // Frames begun so far.
  int frames() const { return frames_; }
  // Runs action at the start of every frame, after the clock has moved on,
  // with the frame's number (1 for the first). What it holds with `input`
  // reaches the game at its next snapshot. One action; a new one replaces it.
  void EachFrame(std::function<void(int frame)> action) { eachFrame_ = std::move(action); }
  // True: gl keeps only the calls of the frame being drawn (for long runs).
  void KeepOnlyCurrentFrame(bool only) { onlyCurrentFrame_ = only; }

  // A string drawn with BitmapFont::Print: the frame it was drawn in, its
  // lower-left corner in pixels and the colour it was drawn with.
  struct PrintedText {
    int frame = 0;
    std::string text;
    double x = 0;
    double y = 0;
    float color[4] = {1, 1, 1, 1};
    // At that cell of a font of the size class (1..3) on the current screen.
    bool At(int32_t column, int32_t row, int32_t sizeClass) const;
  };
  // Every string printed since the platform was made (kept for whole runs).
  const std::vector<PrintedText>& Texts() const { return texts_; }
  // The strings printed in one frame, in order.
  std::vector<PrintedText> TextsOfFrame(int frame) const;
  void ClearTexts() { texts_.clear(); }

  FakeClock& clock() { return *clock_; }

  RecordingGl gl;
  ScriptedInput input;
  TempDir assets;

 private:
  void BeginFrame();

  std::optional<FakeClock> ownClock_;
  FakeClock* clock_;
  double frameSeconds_;
  int frames_ = 0;
  bool onlyCurrentFrame_ = false;
  std::function<void(int)> eachFrame_;
  float color_[4] = {1, 1, 1, 1};
  double penX_ = 0;
  double penY_ = 0;
  std::vector<PrintedText> texts_;
  SettingsRecord savedSettings_;
  bool standIn_[kTextureSlotCount] = {};
};
