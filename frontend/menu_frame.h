#pragma once
#include <initializer_list>
#include <span>

#include "frontend/menu_widgets.h"

class Texture;

// The frame every menu screen runs, in pieces, for the menu screens' own
// files. Main thread only.

// Key and mouse snapshots into InputState, then the pointer moves.
void TakeMenuInput();
// Once as a menu screen starts: one mouse snapshot that throws away the
// motion gathered while screens that read no mouse ran, so the pointer does
// not jump on the first frame.
void DiscardMouseMotion();
// UpdateHover with the pointer on each button that reacts; a tick when the
// pointer's move this frame brought it onto one of them.
void HoverButtons(std::span<MenuButton* const> buttons);
inline void HoverButtons(std::initializer_list<MenuButton*> buttons) {
  HoverButtons(std::span(buttons.begin(), buttons.size()));
}
// The sound of a button acting.
void PlayMenuClick();
// Clears the frame and draws the widgets in the order given.
void BeginMenuFrame(std::span<const MenuButton* const> widgets);
inline void BeginMenuFrame(std::initializer_list<const MenuButton*> widgets) {
  BeginMenuFrame(std::span(widgets.begin(), widgets.size()));
}
// Draws the pointer last, presents the frame, advances the timers, yields.
void EndMenuFrame(const Texture& pointer);

// From the last snapshot.
bool MenuKeyDown(int keyCode);
bool LeftButtonDown();
