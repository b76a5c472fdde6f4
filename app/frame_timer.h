#pragma once
#include <cstdint>

// A table of 128 stopwatches addressed by index (-1 = none). Timers are not
// read from the clock when they are read: UpdateTimers samples the counter
// for every timer in use once per frame, so all readings in a frame agree.
// Operations on -1 or any index outside 0..127 do nothing and read as 0.

constexpr int32_t kTimerCount = 128;

// Where the counts come from. The default is the platform's monotonic
// high-resolution counter; tests install a fake clock.
struct TimerClock {
  int64_t (*counter)();
  int64_t (*frequency)();
};
void SetTimerClock(const TimerClock& clock);
void UseSystemTimerClock();

// System thread start / stop: creates the table's lock and frees every slot /
// closes the lock.
void StartTimers();
void StopTimers();

int32_t AcquireTimer();
void ResetTimer(int32_t index);
void ReleaseTimer(int32_t index);
// Once per frame, right after the frame is presented.
void UpdateTimers();
float TimerSeconds(int32_t index);
float TimerMilliseconds(int32_t index);
