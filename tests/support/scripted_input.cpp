#include "scripted_input.h"

#include <cstring>

ScriptedInput::ScriptedInput() { InstallInputScript(this); }

ScriptedInput::~ScriptedInput() { InstallInputScript(nullptr); }

void ScriptedInput::Hold(int keyCode) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  if (keyCode >= 0 && keyCode < kKeyCount) keys_[keyCode] = kPressedBit;
}

void ScriptedInput::Release(int keyCode) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  if (keyCode >= 0 && keyCode < kKeyCount) keys_[keyCode] = 0;
}

void ScriptedInput::ReleaseAll() {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  std::memset(keys_, 0, sizeof keys_);
}

void ScriptedInput::MoveMouse(int32_t dx, int32_t dy, int32_t wheel) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  mouse_.mouseDx += dx;
  mouse_.mouseDy += dy;
  mouse_.mouseWheel += wheel;
}

void ScriptedInput::SetButton(int button, bool down) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  if (button >= 0 && button < kMouseButtonCount) mouse_.mouseButtons[button] = down ? kPressedBit : 0;
}

void ScriptedInput::AtKeySnapshot(int snapshot, std::function<void(ScriptedInput&)> action) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  actions_.emplace(snapshot, std::move(action));
}

int ScriptedInput::keySnapshots() const {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  return keySnapshots_;
}

int ScriptedInput::mouseSnapshots() const {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  return mouseSnapshots_;
}

void ScriptedInput::Keys(uint8_t destination[kKeyCount]) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  ++keySnapshots_;
  auto due = actions_.equal_range(keySnapshots_);
  for (auto action = due.first; action != due.second; ++action) action->second(*this);
  actions_.erase(due.first, due.second);
  std::memcpy(destination, keys_, sizeof keys_);
}

void ScriptedInput::Mouse(MouseState* destination) {
  std::lock_guard<std::recursive_mutex> hold(mutex_);
  ++mouseSnapshots_;
  *destination = mouse_;
  mouse_.mouseDx = mouse_.mouseDy = mouse_.mouseWheel = 0;
}
