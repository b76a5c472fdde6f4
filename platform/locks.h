#pragma once
#include <cstdint>

// A fixed pool of 30 locks named by index; -1 stands for no lock, and every
// operation on -1, a free slot or an index outside the pool does nothing and
// returns false. Each lock is a binary semaphore used as a mutex: it starts
// free, and Unlock may come from any thread, not only the one that locked it.
// No code holds two locks at once, so there is no lock order. Every operation
// may be called from any thread.

constexpr int32_t kLockPoolSize = 30;

// Clears the pool (engine start, before any lock is created).
void ResetLockPool();
// First free slot, or -1 when all 30 are in use.
int32_t CreateLock();
// Waits without time-out; true once the lock is held. False at once for an
// invalid or closed lock, and for a waiter whose lock is closed under it.
bool Lock(int32_t index);
// Releases by one; false when the lock is not held (the count is already 1).
bool Unlock(int32_t index);
// Frees the slot; threads waiting on it return false from Lock.
bool CloseLock(int32_t index);
// Engine stop: closes every slot still in use. Returns true.
bool CloseAllLocks();
