#include "audio/audio_device.h"
#include "audio/music_stream.h"
#include "frontend/controls_screen.h"
#include "frontend/front_end.h"
#include "frontend/menu_frame.h"
#include "frontend/menus.h"
#include "platform/gamma.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"
#include "resources/catalogue.h"
#include "resources/settings.h"

namespace {

// A group of buttons sharing one place, exactly one of them shown. A click
// on the shown one moves to the next in the cycle.
template <int N>
struct Cycle {
  MenuButton* members[N];

  void Show(int index) {
    for (int k = 0; k < N; ++k) members[k]->visible = k == index;
  }
  // The index of the shown member under the pointer, or -1.
  int Clicked() const {
    for (int k = 0; k < N; ++k) {
      if (members[k]->UnderPointer()) return k;
    }
    return -1;
  }
};

struct ScreenMode {
  int32_t width;
  int32_t height;
};
// In the order of the resolution group's members; a click moves one up,
// from 1024 back to 640.
constexpr ScreenMode kResolutions[3] = {{1024, 768}, {800, 600}, {640, 480}};
constexpr int kResolutionAfter[3] = {2, 0, 1};
// The brightness members High, Medium, Low are the steps 0, 1, 2; a click
// on Low gives Medium, on Medium High, on High Low.
constexpr int32_t kBrightnessAfter[3] = {2, 0, 1};

int ShownResolution() {
  for (int k = 0; k < 3; ++k) {
    if (Settings.screenWidth == kResolutions[k].width) return k;
  }
  return -1;  // a width of its own: no button, and it cannot be changed here
}

int ShownBrightness() { return Settings.brightness >= 0 && Settings.brightness <= 2 ? Settings.brightness : -1; }

}  // namespace

int32_t OptionsScreen(const Texture& pointer) {
  using enum SpriteSlot;
  int32_t result = kOptionsLeft;
  bool restart = false;

  MenuButton ship(0.7f, 0.3f, 0.2f, -0.2f, CatalogueSprite(ShipScreen));  // mirrored in x
  MenuButton asteroid(0.5f, 0.6f, -0.35f, -0.25f, CatalogueSprite(Asteroid2));  // mirrored in y
  MenuButton header(-0.5f, 0.5f, 0.55f, 0.2f, CatalogueSprite(Header));
  MenuButton resolutionLabel(-0.7f, -0.2f, 0.2f, 0.1f, CatalogueSprite(Resolution));
  MenuButton r1024(0, 0.4f, 0.2f, 0.1f, CatalogueSprite(Resolution1024Normal), CatalogueSprite(Resolution1024Active));
  MenuButton r800(0, 0.4f, 0.2f, 0.1f, CatalogueSprite(Resolution800Normal), CatalogueSprite(Resolution800Active));
  MenuButton r640(0, 0.4f, 0.2f, 0.1f, CatalogueSprite(Resolution640Normal), CatalogueSprite(Resolution640Active));
  MenuButton depthLabel(-0.7f, -0.1f, 0.09f, -0.01f, CatalogueSprite(ColorDepth));
  MenuButton d32(0, 0.3f, 0.09f, -0.01f, CatalogueSprite(Depth32Normal), CatalogueSprite(Depth32Active));
  MenuButton d16(0, 0.3f, 0.09f, -0.01f, CatalogueSprite(Depth16Normal), CatalogueSprite(Depth16Active));
  MenuButton glslLabel(-0.7f, -0.1f, -0.02f, -0.12f, CatalogueSprite(Glsl));
  MenuButton glslOn(0, 0.125f, -0.02f, -0.12f, CatalogueSprite(OnNormal), CatalogueSprite(OnActive));
  MenuButton glslOff(0, 0.125f, -0.02f, -0.12f, CatalogueSprite(OffNormal), CatalogueSprite(OffActive));
  MenuButton soundLabel(-0.7f, -0.3f, -0.13f, -0.23f, CatalogueSprite(Sound));
  MenuButton soundOn(0, 0.125f, -0.13f, -0.23f, CatalogueSprite(OnNormal), CatalogueSprite(OnActive));
  MenuButton soundOff(0, 0.125f, -0.13f, -0.23f, CatalogueSprite(OffNormal), CatalogueSprite(OffActive));
  MenuButton brightnessLabel(-0.7f, -0.1f, -0.24f, -0.34f, CatalogueSprite(Brightness));
  MenuButton high(0, 0.25f, -0.24f, -0.34f, CatalogueSprite(HighNormal), CatalogueSprite(HighActive));
  MenuButton medium(0, 0.4f, -0.23f, -0.33f, CatalogueSprite(MediumNormal), CatalogueSprite(MediumActive));
  MenuButton low(0, 0.225f, -0.23f, -0.33f, CatalogueSprite(LowNormal), CatalogueSprite(LowActive));
  MenuButton ok(0.4f, 0.6f, -0.4f, -0.5f, CatalogueSprite(OkNormal), CatalogueSprite(OkActive));
  // In the free corner across from OK, so the rest of the layout stays put.
  MenuButton controls(-0.6f, -0.2f, -0.38f, -0.51f, CatalogueSprite(ControlsNormal),
                      CatalogueSprite(ControlsActive));

  Cycle<3> resolution{{&r1024, &r800, &r640}};
  Cycle<2> depth{{&d32, &d16}};
  Cycle<2> glsl{{&glslOn, &glslOff}};
  Cycle<2> sound{{&soundOn, &soundOff}};
  Cycle<3> brightness{{&high, &medium, &low}};
  resolution.Show(ShownResolution());
  depth.Show(Settings.colorDepth == 32 ? 0 : 1);
  glsl.Show(Settings.glslRequested ? 0 : 1);
  sound.Show(Settings.soundEnabled ? 0 : 1);
  brightness.Show(ShownBrightness());

  DiscardMouseMotion();  // what moved during the pause after the click
  // On a quit request the changes stay in the live settings, which the
  // shutdown saves.
  for (bool running = true; running && !QuitRequested();) {
    TakeMenuInput();
    HoverButtons({&r1024, &r800, &r640, &d32, &d16, &glslOn, &glslOff, &soundOn, &soundOff, &high,
                  &medium, &low, &ok, &controls});
    BeginMenuFrame({&ship, &asteroid, &header, &resolutionLabel, &r1024, &r800, &r640, &depthLabel,
                    &d32, &d16, &glslLabel, &glslOn, &glslOff, &soundLabel, &soundOn, &soundOff,
                    &brightnessLabel, &high, &medium, &low, &ok});
    controls.Draw();
    EndMenuFrame(pointer);

    if (LeftButtonDown()) {
      if (int k = resolution.Clicked(); k >= 0) {
        PlayMenuClick();
        const int next = kResolutionAfter[k];
        Settings.screenWidth = kResolutions[next].width;
        Settings.screenHeight = kResolutions[next].height;
        resolution.Show(next);
        restart = true;
        PauseScreen(200);
      }
      if (int k = depth.Clicked(); k >= 0) {
        PlayMenuClick();
        Settings.colorDepth = k == 0 ? 16 : 32;
        depth.Show(1 - k);
        restart = true;
        PauseScreen(200);
      }
      if (int k = glsl.Clicked(); k >= 0) {
        PlayMenuClick();
        Settings.glslRequested = !Settings.glslRequested;
        glsl.Show(1 - k);
        restart = true;
        PauseScreen(200);
      }
      // Without a sound device the switch stays at Off.
      if (int k = sound.Clicked(); k >= 0 && !AudioRunsSilent()) {
        PlayMenuClick();
        Settings.soundEnabled = !Settings.soundEnabled;
        sound.Show(1 - k);
        PauseScreen(200);
        if (frontEnd.menuMusic && Settings.soundEnabled) frontEnd.menuMusic->Play(true);
        if (frontEnd.menuMusic && !Settings.soundEnabled) frontEnd.menuMusic->Stop();
      }
      if (int k = brightness.Clicked(); k >= 0) {
        PlayMenuClick();
        Settings.brightness = kBrightnessAfter[k];
        brightness.Show(Settings.brightness);
        PauseScreen(200);
        ApplyBrightness(Settings.brightness);
      }
      // Its changes go into the live settings, saved with OK like the rest.
      if (controls.UnderPointer()) {
        PlayMenuClick();
        PauseScreen(200);
        ControlsScreen(pointer);
      }
      if (ok.UnderPointer()) {
        PlayMenuClick();
        result = restart ? kOptionsNeedRestart : kOptionsAccepted;
        running = false;
        PauseScreen(500);
      }
    }
    if (MenuKeyDown(kKeyEscape)) {
      PauseScreen(500);
      return kOptionsLeft;
    }
  }
  return result;
}

void RestartNoticeScreen(const Texture& pointer) {
  MenuButton header(-0.5f, 0.5f, 0.55f, 0.2f, CatalogueSprite(SpriteSlot::Header));
  MenuButton notice(-0.4f, 0.4f, 0.1f, -0.5f, CatalogueSprite(SpriteSlot::RestartNotice));
  while (!QuitRequested()) {
    TakeMenuInput();
    gl.glColor3f(1, 1, 1);
    BeginMenuFrame({&header, &notice});
    EndMenuFrame(pointer);
    if (LeftButtonDown()) break;
    bool anyKey = false;
    for (uint8_t key : InputState.keys) anyKey = anyKey || Pressed(key);
    if (anyKey) break;
  }
  PauseScreen(500);
}
