#pragma once
#include <cstdint>

// A fixed pool of 30 locks named by index; -1 stands for no lock, and every
// operation on -1, a free slot or an index outside the pool does nothing and
// returns false. No code holds two locks at once, so there is no lock order.

constexpr int32_t kLockPoolSize = 30;

// Clears the pool (engine start, before any lock is created).
void ResetLockPool();
// First free slot, or -1 when all 30 are in use.
int32_t CreateLock();
// Waits without time-out.
bool Lock(int32_t index);
bool Unlock(int32_t index);
bool CloseLock(int32_t index);
// Engine stop: closes every slot still in use.
bool CloseAllLocks();
