#pragma once
#include <cstdint>

// Every thread besides the main thread is started and ended here. Threads are
// never killed: the owner asks its thread to finish through a flag of its own
// and StopThread then joins it.

struct ThreadRecord;
using ThreadProcedure = uint32_t (*)(void* argument);

// Starts procedure(argument) on a new thread; nullptr when that fails.
ThreadRecord* StartThread(ThreadProcedure procedure, void* argument);
// Waits for the thread to end, then frees the record. True when the thread
// ended and the record was freed; false for nullptr.
bool StopThread(ThreadRecord* record);
// True once the thread's procedure has returned (the thread can be joined
// without waiting).
bool ThreadFinished(const ThreadRecord* record);
