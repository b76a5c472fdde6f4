#include "frontend/menu_frame.h"

#include "game/screen_frame.h"
#include "platform/input.h"

void TakeMenuInput() {
  SnapshotKeys(InputState.keys);
  SnapshotMouse(&InputState);
  MovePointer(InputState.mouseDx, InputState.mouseDy);
}

void DiscardMouseMotion() { SnapshotMouse(&InputState); }

void HoverButtons(std::initializer_list<MenuButton*> buttons) {
  for (MenuButton* button : buttons) button->UpdateHover(menuPointer.x, menuPointer.y);
}

void BeginMenuFrame(std::initializer_list<const MenuButton*> widgets) {
  BeginScreenFrame();
  for (const MenuButton* widget : widgets) widget->Draw();
}

void EndMenuFrame(const Texture& pointer) {
  DrawPointer(pointer, menuPointer.x, menuPointer.y, kMenuDepth);
  EndScreenFrame();
}

bool MenuKeyDown(int keyCode) { return Pressed(InputState.keys[keyCode]); }

bool LeftButtonDown() { return Pressed(InputState.mouseButtons[0]); }
