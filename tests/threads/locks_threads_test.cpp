#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/frame_timer.h"
#include "platform/locks.h"
#include "platform/threads.h"
#include "support/fake_clock.h"

namespace {

using namespace std::chrono_literals;

class LockPoolTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetLockPool(); }
  void TearDown() override { CloseAllLocks(); }
};

TEST_F(LockPoolTest, ThirtyLocksThenNone) {
  for (int32_t expected = 0; expected < kLockPoolSize; ++expected) {
    ASSERT_EQ(CreateLock(), expected);
  }
  EXPECT_EQ(CreateLock(), -1);
  EXPECT_TRUE(CloseLock(7));
  EXPECT_EQ(CreateLock(), 7);
  EXPECT_TRUE(CloseAllLocks());
  EXPECT_EQ(CreateLock(), 0);
}

TEST_F(LockPoolTest, InvalidAndClosedLocksFailAtOnce) {
  for (int32_t index : {-1, kLockPoolSize, 3}) {
    EXPECT_FALSE(Lock(index)) << index;
    EXPECT_FALSE(Unlock(index)) << index;
    EXPECT_FALSE(CloseLock(index)) << index;
  }
  int32_t lock = CreateLock();
  EXPECT_FALSE(Unlock(lock)) << "a free lock cannot be released again";
  ASSERT_TRUE(Lock(lock));
  ASSERT_TRUE(CloseLock(lock));
  EXPECT_FALSE(Lock(lock));
  EXPECT_FALSE(Unlock(lock));
  EXPECT_FALSE(CloseLock(lock));

  // A slot created again starts free, whatever the closed lock's state was.
  ASSERT_EQ(CreateLock(), lock);
  EXPECT_TRUE(Lock(lock));
}

TEST_F(LockPoolTest, LockWaitsAndAnyThreadMayRelease) {
  int32_t lock = CreateLock();
  ASSERT_TRUE(Lock(lock));
  std::atomic<bool> taken{false};
  std::thread waiter([&] {
    Lock(lock);
    taken = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(taken);
  EXPECT_TRUE(Unlock(lock));
  waiter.join();
  EXPECT_TRUE(taken);

  // The waiter ended holding the lock; another thread releases it.
  bool released = false;
  std::thread([&] { released = Unlock(lock); }).join();
  EXPECT_TRUE(released);
  EXPECT_TRUE(Lock(lock));
}

TEST_F(LockPoolTest, ClosingALockWakesItsWaiters) {
  int32_t lock = CreateLock();
  ASSERT_TRUE(Lock(lock));
  std::atomic<int> results{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i) waiters.emplace_back([&] { results += Lock(lock) ? 100 : 1; });
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(CloseLock(lock));
  for (auto& waiter : waiters) waiter.join();
  EXPECT_EQ(results, 2) << "both waiters return false";
}

TEST_F(LockPoolTest, LockExcludesOtherThreads) {
  int32_t lock = CreateLock();
  int counter = 0;  // plain on purpose: the lock alone must order the writes
  std::vector<std::thread> workers;
  for (int i = 0; i < 4; ++i) {
    workers.emplace_back([&] {
      for (int n = 0; n < 5000; ++n) {
        Lock(lock);
        ++counter;
        Unlock(lock);
      }
    });
  }
  for (auto& worker : workers) worker.join();
  EXPECT_EQ(counter, 20000);
}

struct Job {
  std::atomic<bool> stop{false};
  std::atomic<ThreadRecord*> self{nullptr};
  int result = 0;  // written by the thread, read after StopThread
  bool stoppedItself = true;
};

uint32_t RunUntilAsked(void* argument) {
  auto* job = static_cast<Job*>(argument);
  while (!job->stop.load(std::memory_order_acquire)) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);  // a slow finish StopThread must wait for
  job->result = 42;
  return 0;
}

TEST(Threads, StopWaitsForACooperativeEnd) {
  Job job;
  ThreadRecord* record = StartThread(RunUntilAsked, &job);
  ASSERT_NE(record, nullptr);
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(ThreadFinished(record));

  job.stop.store(true, std::memory_order_release);
  EXPECT_TRUE(StopThread(record));
  EXPECT_EQ(job.result, 42);
}

TEST(Threads, FinishedOnceTheProcedureReturns) {
  Job job;
  job.stop = true;
  ThreadRecord* record = StartThread(RunUntilAsked, &job);
  ASSERT_NE(record, nullptr);
  while (!ThreadFinished(record)) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(job.result, 42);
  EXPECT_TRUE(StopThread(record));
}

uint32_t TryToStopItself(void* argument) {
  auto* job = static_cast<Job*>(argument);
  ThreadRecord* self;
  while (!(self = job->self.load(std::memory_order_acquire))) std::this_thread::sleep_for(1ms);
  job->stoppedItself = StopThread(self);
  return 0;
}

TEST(Threads, AThreadCannotStopItself) {
  Job job;
  ThreadRecord* record = StartThread(TryToStopItself, &job);
  ASSERT_NE(record, nullptr);
  job.self.store(record, std::memory_order_release);
  EXPECT_TRUE(StopThread(record));
  EXPECT_FALSE(job.stoppedItself);
}

TEST(Threads, NullRecordsAndProcedures) {
  EXPECT_EQ(StartThread(nullptr, nullptr), nullptr);
  EXPECT_FALSE(StopThread(nullptr));
  EXPECT_TRUE(ThreadFinished(nullptr));
}

TEST(TimerThreads, TimersStayWholeUnderTwoThreads) {
  ResetLockPool();
  StartTimers();
  FakeClock clock;
  std::atomic<bool> done{false};
  std::thread frames([&] {
    while (!done.load()) {
      clock.Advance(0.001);
      UpdateTimers();
    }
  });
  for (int n = 0; n < 2000; ++n) {
    int32_t timer = AcquireTimer();
    if (timer < 0) {
      ADD_FAILURE() << "no timer at pass " << n;
      break;
    }
    ResetTimer(timer);
    EXPECT_GE(TimerMilliseconds(timer), 0.0f);
    ReleaseTimer(timer);
  }
  done = true;
  frames.join();
  StopTimers();
  CloseAllLocks();
}

}  // namespace
