#include "platform/locks.h"

#include <condition_variable>
#include <mutex>

namespace {

struct LockSlot {
  std::mutex guard;  // guards the fields below
  std::condition_variable released;
  bool inUse = false;
  bool held = false;  // the semaphore's count is 0
  // Bumped by every close, so a waiter never takes a lock created anew in
  // the slot it was waiting on.
  uint32_t generation = 0;
};

LockSlot pool[kLockPoolSize];

LockSlot* SlotAt(int32_t index) {
  if (index < 0 || index >= kLockPoolSize) return nullptr;
  return &pool[index];
}

// Caller holds slot.guard.
void Close(LockSlot& slot) {
  slot.inUse = false;
  slot.held = false;
  ++slot.generation;
  slot.released.notify_all();
}

}  // namespace

void ResetLockPool() { CloseAllLocks(); }

int32_t CreateLock() {
  for (int32_t index = 0; index < kLockPoolSize; ++index) {
    std::lock_guard<std::mutex> hold(pool[index].guard);
    if (!pool[index].inUse) {
      pool[index].inUse = true;
      pool[index].held = false;
      return index;
    }
  }
  return -1;
}

bool Lock(int32_t index) {
  LockSlot* slot = SlotAt(index);
  if (!slot) return false;
  std::unique_lock<std::mutex> hold(slot->guard);
  if (!slot->inUse) return false;
  const uint32_t generation = slot->generation;
  slot->released.wait(hold, [&] { return !slot->held || slot->generation != generation; });
  if (slot->generation != generation) return false;
  slot->held = true;
  return true;
}

bool Unlock(int32_t index) {
  LockSlot* slot = SlotAt(index);
  if (!slot) return false;
  std::lock_guard<std::mutex> hold(slot->guard);
  if (!slot->inUse || !slot->held) return false;
  slot->held = false;
  slot->released.notify_one();
  return true;
}

bool CloseLock(int32_t index) {
  LockSlot* slot = SlotAt(index);
  if (!slot) return false;
  std::lock_guard<std::mutex> hold(slot->guard);
  if (!slot->inUse) return false;
  Close(*slot);
  return true;
}

bool CloseAllLocks() {
  for (LockSlot& slot : pool) {
    std::lock_guard<std::mutex> hold(slot.guard);
    if (slot.inUse) Close(slot);
  }
  return true;
}
