#pragma once
// What the front-end tests share: the null platform with the menu sprites in
// the catalogue, the run's fonts and timer, a record of the screens' pauses
// and of every menu widget drawn (its sprite and rectangle), and helpers to
// steer the menu pointer as a player would.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frontend/front_end.h"
#include "frontend/menu_widgets.h"
#include "platform/frame_timer.h"
#include "platform/input.h"
#include "resources/bitmap_font.h"
#include "resources/bundle_sprite.h"
#include "resources/catalogue.h"
#include "resources/repository.h"
#include "resources/texture_bundle.h"
#include "support/null_platform.h"

namespace front_end_test {

// Pauses the screens asked for, in order; they do not sleep in tests.
inline std::vector<int32_t> pauses;
inline void RecordPause(int32_t milliseconds) { pauses.push_back(milliseconds); }

struct DrawnWidget {
  int frame = 0;
  std::optional<SpriteSlot> sprite;  // empty: not a catalogue sprite
  float left = 0, right = 0, top = 0, bottom = 0, z = 0;
};

class FrontEnd : public testing::Test {
 protected:
  FrontEnd() : bundle(4, false) {
    pauses.clear();
    SetScreenPauseFunction(RecordPause);
    menuPointer = MenuPointer{};
    std::filesystem::create_directories(platform.assets / "config");
    for (int32_t index = 0; index < kSpriteSlotCount; ++index) {
      sprites[index].bundle = &bundle;
      catalogue.sprites[index] = &sprites[index];
    }
    frontEnd.gameTimer = AcquireTimer();
    frontEnd.firstFont = new BitmapFont;
    frontEnd.firstFont->Init("fonts/default.tga", 1, 0);
    frontEnd.secondFont = new BitmapFont;
    frontEnd.secondFont->Init("fonts/default.tga", 2, 0);
    FormatHighScoreText("High Score:%d", Settings.highScore);
    WatchWidgets();
  }

  ~FrontEnd() override {
    for (BundleSprite*& sprite : catalogue.sprites) sprite = nullptr;
    delete frontEnd.firstFont;
    frontEnd.firstFont = nullptr;
    delete frontEnd.secondFont;
    frontEnd.secondFont = nullptr;
    ReleaseTimer(frontEnd.gameTimer);
    frontEnd.gameTimer = -1;
    SetScreenPauseFunction(nullptr);
  }

  // Records every glDrawElements of a menu button with the arrays it used.
  void WatchWidgets() {
    platform.gl.OnCall("glVertexPointer", [this](GlCall& call) {
      vertices_ = static_cast<const float*>(call.Pointer(3));
    });
    platform.gl.OnCall("glTexCoordPointer", [this](GlCall& call) {
      coords_ = static_cast<const float*>(call.Pointer(3));
    });
    platform.gl.OnCall("glDrawElements", [this](GlCall&) {
      DrawnWidget widget;
      widget.frame = platform.frames();
      for (int32_t index = 0; index < kSpriteSlotCount; ++index) {
        if (coords_ == sprites[index].coords) widget.sprite = static_cast<SpriteSlot>(kFirstSpriteSlot + index);
      }
      widget.left = vertices_[0];
      widget.top = vertices_[1];
      widget.z = vertices_[2];
      widget.right = vertices_[3];
      widget.bottom = vertices_[7];
      drawn.push_back(widget);
    });
  }

  std::vector<DrawnWidget> WidgetsOfFrame(int frame) const {
    std::vector<DrawnWidget> found;
    for (const DrawnWidget& widget : drawn) {
      if (widget.frame == frame) found.push_back(widget);
    }
    return found;
  }
  std::vector<SpriteSlot> SpritesOfFrame(int frame) const {
    std::vector<SpriteSlot> found;
    for (const DrawnWidget& widget : WidgetsOfFrame(frame)) found.push_back(widget.sprite.value());
    return found;
  }
  bool Drew(int frame, SpriteSlot sprite) const {
    for (const DrawnWidget& widget : WidgetsOfFrame(frame)) {
      if (widget.sprite == sprite) return true;
    }
    return false;
  }

  // The GL calls of one frame: from its glClear up to the next one.
  std::vector<GlCall> CallsOfFrame(int frame) const {
    std::vector<GlCall> found;
    int current = 0;
    for (GlCall& call : platform.gl.Calls()) {
      if (call.name == "glClear") ++current;
      if (current == frame) found.push_back(std::move(call));
      if (current > frame) break;
    }
    return found;
  }
  // The vertices (x, y, z) given with glVertex3f in one frame.
  std::vector<std::array<float, 3>> VerticesOfFrame(int frame) const {
    std::vector<std::array<float, 3>> found;
    for (const GlCall& call : CallsOfFrame(frame)) {
      if (call.name != "glVertex3f") continue;
      found.push_back({static_cast<float>(call.Float(0)), static_cast<float>(call.Float(1)),
                       static_cast<float>(call.Float(2))});
    }
    return found;
  }
  // The first call of that name in the frame; its name is empty when none.
  GlCall FirstOfFrame(int frame, const std::string& name) const {
    for (GlCall& call : CallsOfFrame(frame)) {
      if (call.name == name) return call;
    }
    return {};
  }

  // Before key snapshot `snapshot` (one per menu frame): moves the mouse so
  // the pointer lands on (x, y) in that frame.
  void PointAt(int snapshot, float x, float y) {
    platform.input.AtKeySnapshot(snapshot, [x, y](ScriptedInput& input) {
      input.MoveMouse(static_cast<int32_t>(std::lround((x - menuPointer.x) / 0.002f)),
                      static_cast<int32_t>(std::lround((menuPointer.y - y) / 0.002f)));
    });
  }
  // Pointer on (x, y) with the left button down in that frame, up again in
  // the next one.
  void ClickAt(int snapshot, float x, float y) {
    PointAt(snapshot, x, y);
    platform.input.AtKeySnapshot(snapshot, [](ScriptedInput& input) { input.SetButton(0, true); });
    platform.input.AtKeySnapshot(snapshot + 1, [](ScriptedInput& input) { input.SetButton(0, false); });
  }
  void HoldKeyAt(int snapshot, int keyCode) {
    platform.input.AtKeySnapshot(snapshot, [keyCode](ScriptedInput& input) { input.Hold(keyCode); });
  }
  void TapKeyAt(int snapshot, int keyCode) {
    HoldKeyAt(snapshot, keyCode);
    platform.input.AtKeySnapshot(snapshot + 1, [keyCode](ScriptedInput& input) { input.Release(keyCode); });
  }

  // A value of the settings file; nullopt when the file or the key is missing.
  std::optional<int32_t> Saved(const char* key) const {
    Repository repository;
    if (!repository.Load("config/ss.rep")) return std::nullopt;
    int32_t value = 0;
    if (!repository.FindValue("StarfieldStampede", key)) return std::nullopt;
    repository.GetInt("StarfieldStampede", key, &value);
    return value;
  }
  bool SettingsSaved() const { return std::filesystem::exists(platform.assets / "config/ss.rep"); }

  NullPlatform platform;
  TextureBundle bundle;
  BundleSprite sprites[kSpriteSlotCount];
  std::vector<DrawnWidget> drawn;

 private:
  const float* vertices_ = nullptr;
  const float* coords_ = nullptr;
};

}  // namespace front_end_test
