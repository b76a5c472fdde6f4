#include "platform/frame_timer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/locks.h"
#include "support/fake_clock.h"

namespace {

class FrameTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLockPool();
    StartTimers();
  }
  void TearDown() override {
    StopTimers();
    CloseAllLocks();
  }
};

TEST_F(FrameTimerTest, TimeMovesOnlyAtUpdatesAndRestartsAtAcquireAndReset) {
  FakeClock clock;
  clock.Advance(3.0);  // time before the acquire must not count
  int32_t timer = AcquireTimer();
  ASSERT_GE(timer, 0);
  EXPECT_EQ(TimerSeconds(timer), 0.0f);

  clock.Advance(1.5);
  EXPECT_EQ(TimerSeconds(timer), 0.0f) << "read before any update";
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 1.5f);
  clock.Advance(2.0);
  EXPECT_EQ(TimerSeconds(timer), 1.5f) << "two reads between updates agree";
  EXPECT_EQ(TimerMilliseconds(timer), 1500.0f);

  ResetTimer(timer);
  EXPECT_EQ(TimerSeconds(timer), 0.0f);
  clock.Advance(0.25);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.25f);

  // A released slot keeps its last reading and is no longer updated.
  ReleaseTimer(timer);
  clock.Advance(1.0);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.25f);
}

TEST_F(FrameTimerTest, AllTimersOfOneUpdateAgree) {
  FakeClock clock;
  int32_t first = AcquireTimer();
  clock.Advance(1.0);
  int32_t second = AcquireTimer();
  clock.Advance(0.5);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(first), 1.5f);
  EXPECT_EQ(TimerSeconds(second), 0.5f);
}

TEST_F(FrameTimerTest, HeldTimersReadOnFromWhereTheyStoppedAndNewOnesRun) {
  FakeClock clock;
  const int32_t play = AcquireTimer();
  clock.Advance(2.0);
  UpdateTimers();
  HoldRunningTimers();
  const int32_t during = AcquireTimer();  // e.g. a music stop's wait
  for (int i = 0; i < 10; ++i) {
    clock.Advance(1.0);
    UpdateTimers();
  }
  EXPECT_EQ(TimerSeconds(play), 2.0f);
  EXPECT_EQ(TimerSeconds(during), 10.0f);
  ResumeHeldTimers();
  EXPECT_EQ(TimerSeconds(play), 2.0f);
  clock.Advance(0.5);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(play), 2.5f) << "the held ten seconds never count";
  EXPECT_EQ(TimerSeconds(during), 10.5f);

  HoldRunningTimers();
  ResetTimer(play);  // a reset lets go of the hold
  clock.Advance(1.0);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(play), 1.0f);
  ResumeHeldTimers();
}

TEST_F(FrameTimerTest, FullTableAndIndicesOutsideIt) {
  FakeClock clock;
  for (int32_t expected = 0; expected < kTimerCount; ++expected) {
    ASSERT_EQ(AcquireTimer(), expected);
  }
  EXPECT_EQ(AcquireTimer(), -1);

  clock.Advance(2.0);
  UpdateTimers();
  for (int32_t index : {-1, kTimerCount, -7, std::numeric_limits<int32_t>::max()}) {
    ResetTimer(index);
    ReleaseTimer(index);
    EXPECT_EQ(TimerSeconds(index), 0.0f) << index;
    EXPECT_EQ(TimerMilliseconds(index), 0.0f) << index;
  }

  // The first free slot in index order is handed out again.
  ReleaseTimer(70);
  ReleaseTimer(5);
  EXPECT_EQ(AcquireTimer(), 5);
  EXPECT_EQ(AcquireTimer(), 70);
  EXPECT_EQ(AcquireTimer(), -1);
}

TEST_F(FrameTimerTest, StartTimersFreesEverySlot) {
  FakeClock clock;
  for (int32_t i = 0; i < kTimerCount; ++i) AcquireTimer();
  StopTimers();
  StartTimers();
  EXPECT_EQ(AcquireTimer(), 0);
}

TEST_F(FrameTimerTest, MillisecondsAreSecondsTimesThousandInFloat) {
  // For 31677 ns, seconds × 1000 in float differs from the milliseconds
  // computed straight from the counts; the reading must be the former.
  FakeClock clock;
  int32_t timer = AcquireTimer();
  for (int64_t counts : {31677, 39596, 102948, 1'000'000'001}) {
    ResetTimer(timer);
    clock.AdvanceCounts(counts);
    UpdateTimers();
    const float seconds = TimerSeconds(timer);
    EXPECT_EQ(TimerMilliseconds(timer), seconds * 1000.0f) << counts;
  }
}

TEST_F(FrameTimerTest, LargeCountsKeepTheirPrecision) {
  // Counts near 2^62 are far beyond float's precision; only their difference
  // may be converted.
  FakeClock clock(1'000'000'000, int64_t{4'000'000'000'000'000'000});
  int32_t timer = AcquireTimer();
  clock.Advance(0.75);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.75f);

  // A counter that wraps past the largest int64 still moves forward.
  clock.SetCount(std::numeric_limits<int64_t>::max() - 250'000'000);
  ResetTimer(timer);
  clock.Advance(1.0);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 1.0f);

  // A counter that goes back reads negative, not as a huge positive time.
  ResetTimer(timer);
  clock.AdvanceCounts(-500'000'000);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), -0.5f);
}

TEST_F(FrameTimerTest, EachTimerKeepsTheFrequencyOfItsStart) {
  int32_t slow;
  {
    FakeClock clock(1000);
    slow = AcquireTimer();
  }
  FakeClock clock(1'000'000'000);
  int32_t fast = AcquireTimer();
  clock.AdvanceCounts(2000);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(fast), 2e-6f);
  EXPECT_EQ(TimerSeconds(slow), 2.0f);
}

TEST_F(FrameTimerTest, ClockWithoutCounterGivesNoTimer) {
  int32_t timer;
  {
    FakeClock working;
    timer = AcquireTimer();
    working.Advance(1.0);
    UpdateTimers();
  }
  FakeClock broken(0);
  EXPECT_EQ(AcquireTimer(), -1);
  // The reset slot reads 0 and stays free rather than dividing by zero.
  ResetTimer(timer);
  broken.AdvanceCounts(1000);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.0f);
}

TEST_F(FrameTimerTest, WorksWithoutItsLock) {
  StopTimers();
  FakeClock clock;
  int32_t timer = AcquireTimer();
  ASSERT_GE(timer, 0);
  clock.Advance(0.5);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.5f);
}

TEST_F(FrameTimerTest, TableTakesOneLockAndGivesItBack) {
  std::vector<int32_t> locks;
  for (int32_t lock = CreateLock(); lock >= 0; lock = CreateLock()) locks.push_back(lock);
  EXPECT_EQ(locks.size(), static_cast<size_t>(kLockPoolSize - 1));
  StopTimers();
  EXPECT_GE(CreateLock(), 0);

  // With the pool full the table still works, unguarded.
  StartTimers();
  FakeClock clock;
  int32_t timer = AcquireTimer();
  clock.Advance(0.5);
  UpdateTimers();
  EXPECT_EQ(TimerSeconds(timer), 0.5f);
}

TEST(SystemTimerClock, AdvancesInRealTime) {
  UseSystemTimerClock();
  int32_t timer = AcquireTimer();
  ASSERT_GE(timer, 0);
  float previous = 0.0f;
  for (int i = 0; i < 1000 && previous == 0.0f; ++i) {
    UpdateTimers();
    previous = TimerSeconds(timer);
  }
  EXPECT_GT(previous, 0.0f);
  EXPECT_LT(previous, 1.0f);
  ReleaseTimer(timer);
}

}  // namespace
