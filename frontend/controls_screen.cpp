#include "frontend/controls_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/volume.h"
#include "frontend/binding_pick.h"
#include "frontend/front_end.h"
#include "frontend/menu_frame.h"
#include "platform/controls.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"
#include "resources/catalogue.h"
#include "resources/settings.h"
#include "resources/view_size.h"

namespace {

using enum SpriteSlot;

// Rows from the top: the six actions, then rumble and the two volumes.
constexpr float kFirstRowTop = 0.34f;
constexpr float kRowPitch = 0.075f;
constexpr float kRowHeight = 0.065f;
constexpr int kRumbleRow = kActionCount;
constexpr int kMusicRow = kActionCount + 1;
constexpr int kEffectsRow = kActionCount + 2;

float RowTop(int row) { return kFirstRowTop - static_cast<float>(row) * kRowPitch; }
float RowBottom(int row) { return RowTop(row) - kRowHeight; }
float RowMiddle(int row) { return RowTop(row) - kRowHeight / 2; }

// Columns: the labels, the key names, the controller button names. Rumble's
// switch and the volumes' - and + sit in the key column.
constexpr float kLabelLeft = -0.7f;
constexpr float kLabelRight = -0.25f;
constexpr float kKeyLeft = -0.15f;
constexpr float kKeyRight = 0.2f;
constexpr float kPadLeft = 0.25f;
constexpr float kPadRight = 0.6f;
constexpr float kColumnHeadingTop = 0.41f;
constexpr float kColumnHeadingBottom = 0.36f;
constexpr float kSwitchRight = kKeyLeft + 0.08f;  // the On / Off pictures' own shape
constexpr float kMinusRight = kKeyLeft + 0.07f;
constexpr float kPlusLeft = 0.0f;
constexpr float kPlusRight = 0.07f;
constexpr float kVolumeMiddle = (kMinusRight + kPlusLeft) / 2;
constexpr float kHintY = -0.365f;

// As on the options screen: a held button acts again after this pause.
constexpr int32_t kPauseAfterChangeMs = 200;

constexpr SpriteSlot kActionLabels[kActionCount] = {TurnLeftLabel, TurnRightLabel, ThrustLabel,
                                                    FireLabel,     GiveUpLabel,    PauseLabel};

// What the second font needs to put text on the menu plane: the plane at
// z = -1 reaches this far above the centre (the projection's tangent term),
// and the font lays out in cells of an 80 x 60 grid over the view.
constexpr float kPlaneHalfHeight = 0.55785f;
constexpr float kTextColumns = 80;
constexpr float kTextRows = 60;

// Text centred on (x, y) of the menu plane, in the colour given.
void PrintCentred(const char* text, float x, float y, float red, float green, float blue) {
  if (!frontEnd.secondFont || !*text) return;
  const float halfWidth =
      kPlaneHalfHeight * static_cast<float>(ViewWidth()) / static_cast<float>(ViewHeight());
  const float column =
      (x / halfWidth + 1) * kTextColumns / 2 - static_cast<float>(std::strlen(text)) / 2;
  const float row = (y / kPlaneHalfHeight + 1) * kTextRows / 2 - 0.5f;
  gl.glColor3f(red, green, blue);
  frontEnd.secondFont->Print(static_cast<uint32_t>(std::max(0.0f, std::round(column))),
                             static_cast<uint32_t>(std::max(0.0f, std::round(row))), text);
}

void PrintName(const char* text, float x, float y) { PrintCentred(text, x, y, 0.8f, 0.92f, 1.0f); }
void PrintPrompt(const char* text, float x, float y) {
  PrintCentred(text, x, y, 1.0f, 0.84f, 0.35f);
}

MenuButton InRow(int row, float left, float right, SpriteSlot normal, SpriteSlot active) {
  return MenuButton(left, right, RowTop(row), RowBottom(row), CatalogueSprite(normal),
                    CatalogueSprite(active));
}

MenuButton RowLabel(int row, SpriteSlot label) {
  return MenuButton(kLabelLeft, kLabelRight, RowTop(row), RowBottom(row), CatalogueSprite(label));
}

// The buttons and pictures, built from the catalogue once per visit.
struct ControlsWidgets {
  ControlsWidgets() {
    labels.reserve(kActionCount);
    keys.reserve(kActionCount);
    pads.reserve(kActionCount);
    for (int action = 0; action < kActionCount; ++action) {
      labels.push_back(RowLabel(action, kActionLabels[action]));
      keys.push_back(InRow(action, kKeyLeft, kKeyRight, BindingNormal, BindingActive));
      pads.push_back(InRow(action, kPadLeft, kPadRight, BindingNormal, BindingActive));
    }
  }

  std::vector<const MenuButton*> Drawn() const {
    std::vector<const MenuButton*> drawn = {&header, &keyHeading, &padHeading};
    for (int action = 0; action < kActionCount; ++action) {
      drawn.insert(drawn.end(), {&labels[action], &keys[action], &pads[action]});
    }
    drawn.insert(drawn.end(),
                 {&rumbleLabel, &rumbleOn, &rumbleOff, &musicLabel, &musicDown, &musicUp,
                  &effectsLabel, &effectsDown, &effectsUp, &defaults, &back});
    return drawn;
  }

  std::vector<MenuButton*> Reacting() {
    std::vector<MenuButton*> reacting;
    for (int action = 0; action < kActionCount; ++action) {
      reacting.insert(reacting.end(), {&keys[action], &pads[action]});
    }
    reacting.insert(reacting.end(), {&rumbleOn, &rumbleOff, &musicDown, &musicUp, &effectsDown,
                                     &effectsUp, &defaults, &back});
    return reacting;
  }

  MenuButton header{-0.35f, 0.35f, 0.545f, 0.425f, CatalogueSprite(ControlsHeader)};
  MenuButton keyHeading{kKeyLeft, kKeyRight, kColumnHeadingTop, kColumnHeadingBottom,
                        CatalogueSprite(KeyColumn)};
  MenuButton padHeading{kPadLeft, kPadRight, kColumnHeadingTop, kColumnHeadingBottom,
                        CatalogueSprite(PadColumn)};
  std::vector<MenuButton> labels;
  std::vector<MenuButton> keys;
  std::vector<MenuButton> pads;
  MenuButton rumbleLabel = RowLabel(kRumbleRow, RumbleLabel);
  MenuButton rumbleOn = InRow(kRumbleRow, kKeyLeft, kSwitchRight, OnNormal, OnActive);
  MenuButton rumbleOff = InRow(kRumbleRow, kKeyLeft, kSwitchRight, OffNormal, OffActive);
  MenuButton musicLabel = RowLabel(kMusicRow, MusicVolumeLabel);
  MenuButton musicDown = InRow(kMusicRow, kKeyLeft, kMinusRight, MinusNormal, MinusActive);
  MenuButton musicUp = InRow(kMusicRow, kPlusLeft, kPlusRight, PlusNormal, PlusActive);
  MenuButton effectsLabel = RowLabel(kEffectsRow, EffectsVolumeLabel);
  MenuButton effectsDown = InRow(kEffectsRow, kKeyLeft, kMinusRight, MinusNormal, MinusActive);
  MenuButton effectsUp = InRow(kEffectsRow, kPlusLeft, kPlusRight, PlusNormal, PlusActive);
  // Defaults where the options have Controls, Back where they have OK.
  MenuButton defaults{
      -0.6f, -0.3f, -0.4f, -0.5f, CatalogueSprite(DefaultsNormal), CatalogueSprite(DefaultsActive)};
  MenuButton back{
      0.4f, 0.6f, -0.4f, -0.5f, CatalogueSprite(BackNormal), CatalogueSprite(BackActive)};
};

void DrawNames(const BindingPick& pick) {
  const ControlBindings& bindings = Settings.bindings;
  for (int action = 0; action < kActionCount; ++action) {
    const float y = RowMiddle(action);
    const bool picked = pick.Active() && pick.action() == action;
    if (picked && pick.kind() == BindingKind::Key) {
      PrintPrompt("PRESS A KEY", (kKeyLeft + kKeyRight) / 2, y);
    } else {
      PrintName(KeyName(bindings.keys[action]), (kKeyLeft + kKeyRight) / 2, y);
    }
    if (picked && pick.kind() == BindingKind::PadButton) {
      PrintPrompt("PRESS A BUTTON", (kPadLeft + kPadRight) / 2, y);
    } else {
      PrintName(PadButtonName(bindings.padButtons[action]), (kPadLeft + kPadRight) / 2, y);
    }
  }
  char step[16];
  std::snprintf(step, sizeof step, "%d", static_cast<int>(Settings.musicVolume));
  PrintName(step, kVolumeMiddle, RowMiddle(kMusicRow));
  std::snprintf(step, sizeof step, "%d", static_cast<int>(Settings.effectsVolume));
  PrintName(step, kVolumeMiddle, RowMiddle(kEffectsRow));
  if (pick.Active()) {
    PrintPrompt("ESCAPE CANCELS", 0, kHintY);
  } else {
    PrintName("CLICK A KEY OR A BUTTON TO CHANGE IT", 0, kHintY);
  }
}

// One step of a volume, heard at once: the music follows, and the click
// sounds at the new effects level.
void StepVolume(int32_t* step, int32_t by) {
  *step = std::clamp(*step + by, int32_t{0}, kFullVolume);
  SetVolumeSteps(Settings.musicVolume, Settings.effectsVolume);
  PlayMenuClick();
  PauseScreen(kPauseAfterChangeMs);
}

// The pick, when one is under way; a key or button taken goes to the
// controller polls at once.
void StepPick(BindingPick& pick, const ControllerState& pad) {
  if (pick.Step(InputState, pad, &Settings.bindings) != BindingPick::Outcome::Bound) return;
  SetPadBindings(Settings.bindings);
  PlayMenuClick();
}

// The button under the pointer acts. True when it was Back.
bool HandleClick(ControlsWidgets& w, BindingPick& pick) {
  for (int action = 0; action < kActionCount; ++action) {
    const bool key = w.keys[action].UnderPointer();
    if (!key && !w.pads[action].UnderPointer()) continue;
    PlayMenuClick();
    pick.Start(static_cast<GameAction>(action), key ? BindingKind::Key : BindingKind::PadButton);
    return false;
  }
  if (w.rumbleOn.UnderPointer() || w.rumbleOff.UnderPointer()) {
    PlayMenuClick();
    Settings.rumble = !Settings.rumble;
    SetRumbleEnabled(Settings.rumble);
    // Switched on, the controller gives a taste of it.
    if (Settings.rumble) Rumble(RumbleKind::ShieldHit);
    w.rumbleOn.visible = Settings.rumble;
    w.rumbleOff.visible = !Settings.rumble;
    PauseScreen(kPauseAfterChangeMs);
  }
  if (w.musicDown.UnderPointer()) StepVolume(&Settings.musicVolume, -1);
  if (w.musicUp.UnderPointer()) StepVolume(&Settings.musicVolume, 1);
  if (w.effectsDown.UnderPointer()) StepVolume(&Settings.effectsVolume, -1);
  if (w.effectsUp.UnderPointer()) StepVolume(&Settings.effectsVolume, 1);
  if (w.defaults.UnderPointer()) {
    PlayMenuClick();
    Settings.bindings = kDefaultBindings;
    SetPadBindings(Settings.bindings);
    PauseScreen(kPauseAfterChangeMs);
  }
  if (w.back.UnderPointer()) {
    PlayMenuClick();
    return true;
  }
  return false;
}

}  // namespace

void ControlsScreen(const Texture& pointer) {
  ControlsWidgets widgets;
  widgets.rumbleOn.visible = Settings.rumble;
  widgets.rumbleOff.visible = !Settings.rumble;
  const std::vector<const MenuButton*> drawn = widgets.Drawn();
  const std::vector<MenuButton*> reacting = widgets.Reacting();
  BindingPick pick;
  // The click that opened the screen may still be down, and a pick ends with
  // its key or button down: neither acts until it has been let go.
  bool clickLetGo = false;
  bool escapeLetGo = false;
  bool leaving = false;

  DiscardMouseMotion();  // what moved during the pause after the click
  while (!QuitRequested()) {
    TakeMenuInput();
    ControllerState pad;
    SnapshotController(&pad);
    if (pick.Active()) {
      StepPick(pick, pad);
      if (!pick.Active()) clickLetGo = escapeLetGo = false;
    }
    HoverButtons(reacting);
    BeginMenuFrame(drawn);
    DrawNames(pick);
    EndMenuFrame(pointer);

    clickLetGo = clickLetGo || !LeftButtonDown();
    escapeLetGo = escapeLetGo || !MenuKeyDown(kKeyEscape);
    if (leaving) {
      if (clickLetGo && escapeLetGo) return;
      continue;
    }
    if (pick.Active()) continue;
    if (clickLetGo && LeftButtonDown() && HandleClick(widgets, pick)) {
      leaving = true;
      clickLetGo = false;
    }
    if (escapeLetGo && MenuKeyDown(kKeyEscape)) {
      leaving = true;
      escapeLetGo = false;
    }
  }
}
