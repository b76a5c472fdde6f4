#include "platform/frame_timer.h"

#include <atomic>
#include <chrono>

#include "platform/locks.h"

namespace {

struct FrameTimer {
  int64_t frequency = 0;   // counts per second, read at acquire and reset
  int64_t startCount = 0;  // counter at acquire or reset
  int64_t lastCount = 0;   // counter at the last update
  bool free = true;
  bool held = false;       // paused: updates leave it alone
  float elapsed = 0.0f;    // seconds from startCount to lastCount
};

// Guarded by tableLock once StartTimers has created it.
FrameTimer table[kTimerCount];

// Written by StartTimers / StopTimers (release), read by every timer
// operation on any thread (acquire).
std::atomic<int32_t> tableLock{-1};

int64_t SystemCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t SystemFrequency() { return 1'000'000'000; }

// Written by SetTimerClock / UseSystemTimerClock, read by every timer
// operation; any thread.
std::atomic<int64_t (*)()> clockCounter{SystemCounter};
std::atomic<int64_t (*)()> clockFrequency{SystemFrequency};

int64_t ReadCounter() { return clockCounter.load(std::memory_order_acquire)(); }
int64_t ReadFrequency() { return clockFrequency.load(std::memory_order_acquire)(); }

// Holds the table's lock for a scope; without a lock (before StartTimers) it
// holds nothing.
class TableGuard {
 public:
  TableGuard() : lock_(tableLock.load(std::memory_order_acquire)), held_(Lock(lock_)) {}
  ~TableGuard() {
    if (held_) Unlock(lock_);
  }
  TableGuard(const TableGuard&) = delete;
  TableGuard& operator=(const TableGuard&) = delete;

 private:
  int32_t lock_;
  bool held_;
};

bool ValidIndex(int32_t index) { return index >= 0 && index < kTimerCount; }

// Caller holds the table. Starts the slot's time from the counter now and
// marks it in use; a clock without a counter leaves it free.
bool Restart(FrameTimer& timer) {
  timer.frequency = ReadFrequency();
  timer.startCount = timer.frequency > 0 ? ReadCounter() : 0;
  timer.lastCount = timer.startCount;
  timer.elapsed = 0.0f;
  timer.held = false;
  timer.free = timer.frequency <= 0;
  return !timer.free;
}

float ElapsedSeconds(const FrameTimer& timer) {
  // The difference is taken modulo 2^64 so a counter that wraps past the
  // largest int64 still gives the right signed count; then extended
  // precision for the division, as the counts can be far beyond float's.
  const auto counts = static_cast<int64_t>(static_cast<uint64_t>(timer.lastCount) -
                                           static_cast<uint64_t>(timer.startCount));
  return static_cast<float>(static_cast<long double>(counts) / timer.frequency);
}

}  // namespace

void SetTimerClock(const TimerClock& clock) {
  clockCounter.store(clock.counter ? clock.counter : SystemCounter, std::memory_order_release);
  clockFrequency.store(clock.frequency ? clock.frequency : SystemFrequency,
                       std::memory_order_release);
}

void UseSystemTimerClock() { SetTimerClock({nullptr, nullptr}); }

void StartTimers() {
  for (FrameTimer& timer : table) timer.free = true;
  tableLock.store(CreateLock(), std::memory_order_release);
}

void StopTimers() {
  const int32_t lock = tableLock.exchange(-1, std::memory_order_acq_rel);
  CloseLock(lock);
}

int32_t AcquireTimer() {
  TableGuard guard;
  for (int32_t index = 0; index < kTimerCount; ++index) {
    if (table[index].free) return Restart(table[index]) ? index : -1;
  }
  return -1;
}

// Takes the lock like every other operation, so that a reset on one thread
// never tears a slot another thread is updating.
void ResetTimer(int32_t index) {
  if (!ValidIndex(index)) return;
  TableGuard guard;
  Restart(table[index]);
}

void ReleaseTimer(int32_t index) {
  if (!ValidIndex(index)) return;
  TableGuard guard;
  table[index].free = true;
}

void UpdateTimers() {
  TableGuard guard;
  bool sampled = false;
  int64_t now = 0;
  for (FrameTimer& timer : table) {
    if (timer.free || timer.held) continue;
    if (!sampled) {
      now = ReadCounter();
      sampled = true;
    }
    timer.lastCount = now;
    timer.elapsed = ElapsedSeconds(timer);
  }
}

void HoldRunningTimers() {
  TableGuard guard;
  for (FrameTimer& timer : table) timer.held = !timer.free;
}

void ResumeHeldTimers() {
  TableGuard guard;
  const int64_t now = ReadCounter();
  for (FrameTimer& timer : table) {
    if (!timer.held) continue;
    // Moving the start by the held time keeps the reading; the next update
    // adds only what passes from now on. Modulo 2^64, like the readings.
    timer.startCount =
        static_cast<int64_t>(static_cast<uint64_t>(timer.startCount) +
                             (static_cast<uint64_t>(now) - static_cast<uint64_t>(timer.lastCount)));
    timer.lastCount = now;
    timer.held = false;
  }
}

float TimerSeconds(int32_t index) {
  if (!ValidIndex(index)) return 0.0f;
  TableGuard guard;
  return table[index].elapsed;
}

float TimerMilliseconds(int32_t index) { return TimerSeconds(index) * 1000.0f; }
