#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "platform/input.h"

// Input for tests that run the game's screens and loops without devices.
// While it lives it is the installed input script: every SnapshotKeys sees
// the keys held at that moment, every SnapshotMouse takes the motion added
// since the previous one (then none until more is added) and the buttons held.
// Use it from the thread that takes the snapshots, or from any thread: its
// state is guarded.
class ScriptedInput : public InputScript {
 public:
  ScriptedInput();
  ~ScriptedInput() override;
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

  void Hold(int keyCode);
  void Release(int keyCode);
  void ReleaseAll();
  void MoveMouse(int32_t dx, int32_t dy, int32_t wheel = 0);
  void SetButton(int button, bool down);

  // Runs action just before key snapshot number `snapshot` (1 for the first)
  // is answered, to script a screen frame by frame: AtKeySnapshot(30, [](auto&
  // input) { input.Hold(kKeyEscape); }).
  void AtKeySnapshot(int snapshot, std::function<void(ScriptedInput&)> action);

  int keySnapshots() const;
  int mouseSnapshots() const;

  void Keys(uint8_t destination[kKeyCount]) override;
  void Mouse(MouseState* destination) override;

 private:
  mutable std::recursive_mutex mutex_;  // actions run under it and may call back in
  uint8_t keys_[kKeyCount] = {};
  MouseState mouse_;
  int keySnapshots_ = 0;
  int mouseSnapshots_ = 0;
  std::multimap<int, std::function<void(ScriptedInput&)>> actions_;
};
