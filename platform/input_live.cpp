#include "platform/input_live.h"

#include <atomic>
#include <cstring>

#include "platform/key_codes.h"
#include "platform/locks.h"

InputStateRecord InputState;

namespace {

// Lock indices: written by the system thread when the devices are made and
// destroyed, read by the snapshot callers (release / acquire).
std::atomic<int32_t> keysLock{-1};
std::atomic<int32_t> mouseLock{-1};
std::atomic<int32_t> controllerLock{-1};

// Live records, each guarded by its lock. Without locks (no engine running)
// they are used by one thread only.
uint8_t liveKeys[kKeyCount];
MouseState liveMouse;
ControllerState liveController;
// The controller's keys (keys lock) and left button (mouse lock).
uint8_t livePadKeys[kKeyCount];
bool livePadLeftButton = false;

// Presses since the last poll; system thread only.
bool keyLatched[kDeviceScanCodeCount];
bool keyHeldBack[kDeviceScanCodeCount];
uint32_t buttonsLatched = 0;
int32_t pendingWheel = 0;

// Installed and removed by the main thread, read by snapshot callers.
std::atomic<InputScript*> script{nullptr};

class Guard {
 public:
  explicit Guard(const std::atomic<int32_t>& lock) : lock_(lock.load(std::memory_order_acquire)) {
    Lock(lock_);
  }
  ~Guard() { Unlock(lock_); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  int32_t lock_;
};

void ClearLiveRecords() {
  std::memset(liveKeys, 0, sizeof liveKeys);
  liveMouse = MouseState{};
  liveController = ControllerState{};
  std::memset(livePadKeys, 0, sizeof livePadKeys);
  livePadLeftButton = false;
  std::memset(keyLatched, 0, sizeof keyLatched);
  std::memset(keyHeldBack, 0, sizeof keyHeldBack);
  buttonsLatched = 0;
  pendingWheel = 0;
}

void CloseInputLock(std::atomic<int32_t>& lock) {
  CloseLock(lock.exchange(-1, std::memory_order_acq_rel));
}

}  // namespace

void CreateInputLocks() {
  ClearLiveRecords();
  keysLock.store(CreateLock(), std::memory_order_release);
  mouseLock.store(CreateLock(), std::memory_order_release);
  controllerLock.store(CreateLock(), std::memory_order_release);
}

void CloseInputLocks() {
  CloseInputLock(controllerLock);
  CloseInputLock(keysLock);
  CloseInputLock(mouseLock);
  ClearLiveRecords();
}

void LatchKeyDown(int deviceScanCode) {
  if (deviceScanCode < 0 || deviceScanCode >= kDeviceScanCodeCount) return;
  keyLatched[deviceScanCode] = true;
  keyHeldBack[deviceScanCode] = false;  // pressed again on its own, for the game
}

void HoldBackKey(int deviceScanCode) {
  if (deviceScanCode < 0 || deviceScanCode >= kDeviceScanCodeCount) return;
  keyHeldBack[deviceScanCode] = true;
  keyLatched[deviceScanCode] = false;
}

void PublishKeys(const uint8_t* held, int count) {
  uint8_t keys[kKeyCount] = {};
  for (int device = 0; device < kDeviceScanCodeCount; ++device) {
    const bool heldNow = device < count && held[device] != 0;
    if (keyHeldBack[device]) {
      keyHeldBack[device] = heldNow;
      continue;
    }
    bool down = keyLatched[device] || heldNow;
    int scanCode = down ? ScanCodeFromDevice(device) : 0;
    if (scanCode != 0) keys[KeyCodeFromScanCode(scanCode)] = kPressedBit;
  }
  std::memset(keyLatched, 0, sizeof keyLatched);
  Guard guard(keysLock);
  std::memcpy(liveKeys, keys, sizeof liveKeys);
}

void LatchButtonDown(int button) {
  if (button >= 0 && button < kMouseButtonCount) buttonsLatched |= 1u << button;
}

void AddWheel(int32_t amount) { pendingWheel += amount; }

void PublishMouse(int32_t dx, int32_t dy, uint32_t heldButtons) {
  uint32_t down = heldButtons | buttonsLatched;
  int32_t wheel = pendingWheel;
  buttonsLatched = 0;
  pendingWheel = 0;
  Guard guard(mouseLock);
  // Motion adds up until a snapshot takes it, so frames slower than the poll
  // lose none of it.
  liveMouse.mouseDx += dx;
  liveMouse.mouseDy += dy;
  liveMouse.mouseWheel += wheel;
  for (int button = 0; button < kMouseButtonCount; ++button) {
    liveMouse.mouseButtons[button] = (down >> button) & 1u ? kPressedBit : 0;
  }
}

void PublishController(const ControllerState& state) {
  Guard guard(controllerLock);
  liveController = state;
}

void PublishPadKeys(const uint8_t keys[kKeyCount]) {
  Guard guard(keysLock);
  std::memcpy(livePadKeys, keys, sizeof livePadKeys);
}

void PublishPadPointer(int32_t dx, int32_t dy, bool leftButton) {
  Guard guard(mouseLock);
  liveMouse.mouseDx += dx;
  liveMouse.mouseDy += dy;
  livePadLeftButton = leftButton;
}

bool SnapshotKeys(uint8_t destination[kKeyCount]) {
  if (InputScript* installed = script.load(std::memory_order_acquire)) {
    installed->Keys(destination);
    return true;
  }
  Guard guard(keysLock);
  for (int key = 0; key < kKeyCount; ++key) destination[key] = liveKeys[key] | livePadKeys[key];
  return true;
}

bool SnapshotMouse(MouseState* destination) {
  if (InputScript* installed = script.load(std::memory_order_acquire)) {
    installed->Mouse(destination);
    return true;
  }
  Guard guard(mouseLock);
  *destination = liveMouse;
  if (livePadLeftButton) destination->mouseButtons[0] = kPressedBit;
  liveMouse.mouseDx = 0;
  liveMouse.mouseDy = 0;
  liveMouse.mouseWheel = 0;
  return true;
}

bool SnapshotController(ControllerState* destination) {
  Guard guard(controllerLock);
  *destination = liveController;
  return true;
}

void InstallInputScript(InputScript* installed) {
  script.store(installed, std::memory_order_release);
}
