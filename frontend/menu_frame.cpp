#include "frontend/menu_frame.h"

#include "audio/game_sounds.h"
#include "game/screen_frame.h"
#include "platform/input.h"

void TakeMenuInput() {
  SnapshotKeys(InputState.keys);
  SnapshotMouse(&InputState);
  MovePointer(InputState.mouseDx, InputState.mouseDy);
}

void DiscardMouseMotion() { SnapshotMouse(&InputState); }

void HoverButtons(std::span<MenuButton* const> buttons) {
  // Only the pointer's own move ticks: a screen that opens under it, or a
  // setting that shows its next button there, is not a move onto a button.
  const bool moved = InputState.mouseDx != 0 || InputState.mouseDy != 0;
  bool arrived = false;
  for (MenuButton* button : buttons) {
    const bool before = button->UnderPointer();
    button->UpdateHover(menuPointer.x, menuPointer.y);
    arrived = arrived || (!before && button->UnderPointer());
  }
  if (moved && arrived) PlayCentredSound(EventSound::MenuTick);
}

void PlayMenuClick() { PlayCentredSound(EventSound::MenuClick); }

void BeginMenuFrame(std::span<const MenuButton* const> widgets) {
  BeginScreenFrame();
  for (const MenuButton* widget : widgets) widget->Draw();
}

void EndMenuFrame(const Texture& pointer) {
  DrawPointer(pointer, menuPointer.x, menuPointer.y, kMenuDepth);
  EndScreenFrame();
}

bool MenuKeyDown(int keyCode) { return Pressed(InputState.keys[keyCode]); }

bool LeftButtonDown() { return Pressed(InputState.mouseButtons[0]); }
