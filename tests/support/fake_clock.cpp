#include "fake_clock.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdio>

#include "platform/frame_timer.h"

namespace {

// Written by the test's threads, read by the timers on any thread.
std::atomic<int64_t> fakeCount{0};
std::atomic<int64_t> fakeFrequency{1'000'000'000};
std::atomic<bool> installed{false};

int64_t FakeCounter() { return fakeCount.load(); }
int64_t FakeFrequency() { return fakeFrequency.load(); }

}  // namespace

FakeClock::FakeClock(int64_t frequency, int64_t startCount) {
  if (installed.exchange(true)) {
    std::fprintf(stderr, "FakeClock: only one may be installed at a time\n");
    std::abort();
  }
  fakeFrequency.store(frequency);
  fakeCount.store(startCount);
  SetTimerClock({FakeCounter, FakeFrequency});
}

FakeClock::~FakeClock() {
  UseSystemTimerClock();
  installed.store(false);
}

void FakeClock::Advance(double seconds) {
  AdvanceCounts(std::llround(seconds * static_cast<double>(fakeFrequency.load())));
}

// Wraps like a hardware counter instead of overflowing.
void FakeClock::AdvanceCounts(int64_t counts) {
  int64_t current = fakeCount.load();
  while (!fakeCount.compare_exchange_weak(
      current, static_cast<int64_t>(static_cast<uint64_t>(current) + static_cast<uint64_t>(counts)))) {
  }
}

void FakeClock::SetCount(int64_t count) { fakeCount.store(count); }

int64_t FakeClock::count() const { return fakeCount.load(); }

int64_t FakeClock::frequency() const { return fakeFrequency.load(); }
