#pragma once
#include <cstdint>

// Installs a counter the test moves by hand into the frame timers, and puts
// the system clock back when it goes out of scope. One at a time per process.
// The counter may be read and advanced from any thread.
//
//   FakeClock clock;          // counts are nanoseconds, starting at 0
//   int32_t timer = AcquireTimer();
//   clock.Advance(0.5);
//   UpdateTimers();           // TimerSeconds(timer) == 0.5f
class FakeClock {
 public:
  // frequency = counts per second; 0 or less makes a clock with no counter.
  explicit FakeClock(int64_t frequency = 1'000'000'000, int64_t startCount = 0);
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  // Moves the counter on by seconds × frequency counts (rounded to nearest).
  void Advance(double seconds);
  void AdvanceCounts(int64_t counts);
  void SetCount(int64_t count);
  int64_t count() const;
  int64_t frequency() const;
};
