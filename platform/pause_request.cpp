#include "platform/pause_request.h"

#include <atomic>

namespace {

// Raised by the system thread, taken by the main thread; nothing else is
// published through it, so relaxed is enough.
std::atomic<bool> pauseRequested{false};

}  // namespace

void RequestPause() { pauseRequested.store(true, std::memory_order_relaxed); }

bool TakePauseRequest() { return pauseRequested.exchange(false, std::memory_order_relaxed); }
