#include "platform/end_signals.h"

#include <atomic>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

// Written by the handler (any thread), read and cleared by the system thread.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free atomics");

struct sigaction previous[2];
bool replaced[2] = {};
bool installed = false;

void NoteSignal(int signal) { caught.store(signal, std::memory_order_relaxed); }

}  // namespace

void CatchEndSignals() {
  if (installed) return;
  caught.store(0, std::memory_order_relaxed);
  struct sigaction action = {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 2; ++i) {
    // A signal the process was told to ignore (a background job's SIGINT) stays ignored.
    sigaction(kSignals[i], nullptr, &previous[i]);
    replaced[i] = previous[i].sa_handler != SIG_IGN;
    if (replaced[i]) sigaction(kSignals[i], &action, nullptr);
  }
  installed = true;
}

int CaughtEndSignal() { return caught.load(std::memory_order_relaxed); }

void ReleaseEndSignals() {
  if (!installed) return;
  for (int i = 0; i < 2; ++i) {
    if (replaced[i]) sigaction(kSignals[i], &previous[i], nullptr);
  }
  installed = false;
  if (int signal = caught.exchange(0, std::memory_order_relaxed)) raise(signal);
}
