#include "platform/threads.h"

#include <atomic>
#include <exception>
#include <new>
#include <thread>

struct ThreadRecord {
  std::thread thread;
  // Written by the thread as its last act (release), read by any (acquire).
  std::atomic<bool> finished{false};
};

ThreadRecord* StartThread(ThreadProcedure procedure, void* argument) {
  if (!procedure) return nullptr;
  auto* record = new (std::nothrow) ThreadRecord;
  if (!record) return nullptr;
  try {
    record->thread = std::thread([record, procedure, argument] {
      procedure(argument);
      record->finished.store(true, std::memory_order_release);
    });
  } catch (const std::exception&) {
    delete record;
    return nullptr;
  }
  return record;
}

bool StopThread(ThreadRecord* record) {
  if (!record) return false;
  if (record->thread.get_id() == std::this_thread::get_id()) return false;
  if (record->thread.joinable()) record->thread.join();
  delete record;
  return true;
}

bool ThreadFinished(const ThreadRecord* record) {
  return !record || record->finished.load(std::memory_order_acquire);
}
