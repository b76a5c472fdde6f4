#pragma once
#include <cstdint>

// Every thread besides the main thread is started and ended here. Threads are
// never killed: the owner asks its thread to finish through a flag of its own
// and StopThread then joins it. All three operations may be called from any
// thread other than the one the record names.

struct ThreadRecord;
// The result is the thread's exit code; nothing reads it.
using ThreadProcedure = uint32_t (*)(void* argument);

// Starts procedure(argument) on a new thread and returns its record, owned by
// the caller until StopThread; nullptr when the thread cannot be started.
ThreadRecord* StartThread(ThreadProcedure procedure, void* argument);
// Waits for the thread to end, then frees the record. True when the thread
// ended and the record was freed; false for nullptr, and for a thread asked to
// stop itself (the record then stays valid).
bool StopThread(ThreadRecord* record);
// True once the thread's procedure has returned (StopThread will then not
// wait); true for nullptr, which names no running thread.
bool ThreadFinished(const ThreadRecord* record);
