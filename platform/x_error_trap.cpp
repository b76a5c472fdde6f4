#include "platform/x_error_trap.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>

#include "platform/console_log.h"

namespace {

using SetErrorHandler = XErrorHandler (*)(XErrorHandler);

// Written by the system thread while no X connection of the game is open.
SetErrorHandler setErrorHandler = nullptr;
XErrorHandler previousHandler = nullptr;
bool trapping = false;

// Xlib calls the handler on whichever thread met the error (SDL's connection
// is used by the system and the main thread).
std::atomic<int32_t> errorCount{0};
std::atomic<int32_t> firstError{0};
std::atomic<int32_t> firstRequest{0};
std::atomic<int32_t> firstMinor{0};
// How many of them the log has told of already.
std::atomic<int32_t> loggedCount{0};

int NoteError(Display*, XErrorEvent* error) {
  if (errorCount.fetch_add(1, std::memory_order_acq_rel) == 0) {
    firstError.store(error->error_code, std::memory_order_relaxed);
    firstRequest.store(error->request_code, std::memory_order_relaxed);
    firstMinor.store(error->minor_code, std::memory_order_relaxed);
  }
  return 0;  // Xlib ignores the value
}

bool LoadSetErrorHandler() {
  if (setErrorHandler) return true;
  // Kept open for the rest of the run, as SDL keeps its own handle.
  void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
  if (!x11) return false;
  setErrorHandler = reinterpret_cast<SetErrorHandler>(dlsym(x11, "XSetErrorHandler"));
  return setErrorHandler != nullptr;
}

}  // namespace

void TrapXErrors() {
  errorCount.store(0, std::memory_order_release);
  loggedCount.store(0, std::memory_order_release);
  if (trapping || !LoadSetErrorHandler()) return;
  previousHandler = setErrorHandler(NoteError);
  trapping = true;
}

void ReleaseXErrors() {
  if (!trapping) return;
  setErrorHandler(previousHandler);
  previousHandler = nullptr;
  trapping = false;
}

int32_t TrappedXErrorCount() { return errorCount.load(std::memory_order_acquire); }

TrappedXError FirstTrappedXError() {
  if (TrappedXErrorCount() == 0) return {};
  return {firstError.load(std::memory_order_relaxed), firstRequest.load(std::memory_order_relaxed),
          firstMinor.load(std::memory_order_relaxed)};
}

void LogTrappedXErrors(const char* doing) {
  const int32_t count = TrappedXErrorCount();
  if (count == loggedCount.exchange(count, std::memory_order_acq_rel)) return;
  const TrappedXError first = FirstTrappedXError();
  char line[160];
  std::snprintf(line, sizeof line, "X error %d (request %d.%d) while %s; %d in all",
                first.errorCode, first.requestCode, first.minorCode, doing, count);
  LogText(line);
}
