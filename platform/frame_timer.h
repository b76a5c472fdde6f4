#pragma once
#include <cstdint>

// A table of 128 stopwatches addressed by index (-1 = none). Timers are not
// read from the clock when they are read: UpdateTimers samples the counter
// for every timer in use once per frame, so all readings in a frame agree.
// Operations on -1 or any index outside 0..127 do nothing and read as 0.
// Every operation may be called from any thread: the table is guarded by a
// lock from the pool once StartTimers has run (before it, and after
// StopTimers, the table works unguarded, for tools and tests).

constexpr int32_t kTimerCount = 128;

// Where the counts come from. The default is std::chrono::steady_clock in
// nanoseconds; tests install a fake clock. A frequency of 0 or less means the
// clock offers no counter: AcquireTimer then returns -1 and ResetTimer leaves
// the slot free, reading 0.
struct TimerClock {
  int64_t (*counter)();
  int64_t (*frequency)();
};
// A clock with a null function falls back to the system clock. The clock is
// read again on every use, so it may be swapped while timers are held (the
// frequency of a timer is the one read at its acquire or reset).
void SetTimerClock(const TimerClock& clock);
void UseSystemTimerClock();

// System thread start / stop: creates the table's lock and frees every slot /
// closes the lock.
void StartTimers();
void StopTimers();

// First free slot in index order, reading 0 until the next update; -1 when
// all 128 are in use.
int32_t AcquireTimer();
// Starts the slot's time again from 0 and marks it in use.
void ResetTimer(int32_t index);
void ReleaseTimer(int32_t index);
// Once per frame, right after the frame is presented.
void UpdateTimers();
// The game's pause: every timer in use stops where its last update left it
// (later updates pass it by), until ResumeHeldTimers, from which it reads on
// as if the held time had never passed. Timers acquired while others are
// held run as usual; a reset or release lets go of a held timer.
void HoldRunningTimers();
void ResumeHeldTimers();
// Seconds from acquire or reset to the last update. A released slot keeps
// reading what it held last.
float TimerSeconds(int32_t index);
// TimerSeconds × 1000, computed in float.
float TimerMilliseconds(int32_t index);
