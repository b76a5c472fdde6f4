#include "platform/end_signals.h"

#include <atomic>
#include <csignal>

#include "platform/quit_request.h"

namespace {

constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// Written by the handlers (any thread), read and cleared by the system thread.
std::atomic<int> waitingToEnd{0};
std::atomic<int> quitSignals{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free atomics");

struct sigaction previous[kSignalCount];
bool replaced[kSignalCount] = {};
bool installed = false;

bool IsQuitSignal(int signal) {
  for (int quit : kQuitSignals) {
    if (signal == quit) return true;
  }
  return false;
}

void NoteSignal(int signal) {
  if (IsQuitSignal(signal)) {
    RequestQuit();
    if (quitSignals.fetch_add(1, std::memory_order_relaxed) == 0) return;
  }
  waitingToEnd.store(signal, std::memory_order_relaxed);
}

}  // namespace

void CatchEndSignals() {
  if (installed) return;
  waitingToEnd.store(0, std::memory_order_relaxed);
  quitSignals.store(0, std::memory_order_relaxed);
  struct sigaction action = {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) {
    // A signal the process was told to ignore (a background job's SIGINT,
    // nohup's SIGHUP) stays ignored.
    sigaction(kSignals[i], nullptr, &previous[i]);
    replaced[i] = previous[i].sa_handler != SIG_IGN;
    if (replaced[i]) sigaction(kSignals[i], &action, nullptr);
  }
  installed = true;
}

int CaughtEndSignal() { return waitingToEnd.load(std::memory_order_relaxed); }

void ReleaseEndSignals() {
  if (!installed) return;
  for (int i = 0; i < kSignalCount; ++i) {
    if (replaced[i]) sigaction(kSignals[i], &previous[i], nullptr);
  }
  installed = false;
  quitSignals.store(0, std::memory_order_relaxed);
  if (int signal = waitingToEnd.exchange(0, std::memory_order_relaxed)) raise(signal);
}
