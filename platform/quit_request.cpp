#include "platform/quit_request.h"

#include <atomic>

namespace {

// Written by the system thread, a signal handler or the main thread; read by
// the main thread's loops. Relaxed is enough: nothing else is published
// through it.
std::atomic<bool> quitRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "signal handlers may only touch lock-free atomics");

}  // namespace

void RequestQuit() { quitRequested.store(true, std::memory_order_relaxed); }

bool QuitRequested() { return quitRequested.load(std::memory_order_relaxed); }

void ClearQuitRequest() { quitRequested.store(false, std::memory_order_relaxed); }
