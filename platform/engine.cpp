#include "platform/engine.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/end_signals.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/input_devices.h"
#include "platform/locks.h"
#include "platform/gamma.h"
#include "platform/offscreen_frame.h"
#include "platform/picture_brightness.h"
#include "platform/threads.h"
#include "platform/quit_request.h"
#include "platform/window.h"
#include "platform/x_error_trap.h"

namespace {

using std::chrono::milliseconds;

// Written once per start by the system thread (release), polled by the main
// thread every 10 ms (acquire).
std::atomic<int32_t> startStatus{kEngineStarting};
// The main thread writes "running" after a start and "stop requested" at the
// stop; the system thread writes "running" before it reports its start and
// "gone" as its last act. Each side polls the other's writes (acquire).
std::atomic<int32_t> runState{kSystemThreadGone};

// Main thread only. The config is copied before the system thread starts and
// only read by it until it reports its start.
ThreadRecord* systemThread = nullptr;
SDL_GLContext context = nullptr;
EngineConfig config;
// The size the view was set up with; 0 while no context exists.
int32_t viewWidth = 0;
int32_t viewHeight = 0;

// How far the system thread's start got; its shutdown undoes exactly that.
enum Stage {
  kNothingStarted,
  kAssetDirectoryStarted,
  kConsoleLogStarted,
  kTimersStarted,
  kInputCreated,
  kWindowCreated,
  kInputAcquired,
  kAudioStarted,
};

// The normal shutdown order. A failed start runs it too from the step that
// failed, so a failed start leaves nothing behind for StopEngine to wait on.
void ShutDownFrom(Stage reached) {
  if (reached >= kAudioStarted && config.stopAudio) config.stopAudio();
  if (reached >= kWindowCreated) DestroyGameWindow();
  if (reached >= kInputCreated) DestroyInputDevices();
  if (reached >= kTimersStarted) StopTimers();
  if (reached >= kConsoleLogStarted) StopConsoleLog();
  if (reached >= kAssetDirectoryStarted) StopAssetDirectory();
  SDL_Quit();
}

bool StartAssets() {
  return config.assetDirectory ? StartAssetDirectoryAt(config.assetDirectory) : StartAssetDirectory();
}

bool StartAudioDevice() { return config.startAudio ? config.startAudio() : true; }

bool StartTimerTable() {
  StartTimers();
  return true;
}

void PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (!TakeWindowEvent(event)) TakeInputEvent(event);
  }
}

uint32_t SystemThread(void*) {
  // SDL would turn SIGINT and SIGTERM into quit events; the window's own
  // handlers (end_signals.h) deal with them instead, SIGHUP and SIGQUIT too.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const char* glLibrary = config.glLibrary ? config.glLibrary : kGlLibraryName;

  Stage reached = kNothingStarted;
  auto step = [&reached](Stage stage, bool done) {
    reached = stage;
    return done;
  };
  bool started = step(kAssetDirectoryStarted, StartAssets()) &&
                 step(kConsoleLogStarted, StartConsoleLog()) &&
                 step(kTimersStarted, StartTimerTable()) &&
                 step(kInputCreated, CreateInputDevices()) &&
                 step(kWindowCreated, CreateGameWindow(glLibrary, config.window)) &&
                 step(kInputAcquired, AcquireInputDevices()) &&
                 step(kAudioStarted, StartAudioDevice());
  if (!started) {
    ShutDownFrom(reached);
    startStatus.store(kEngineFailed, std::memory_order_release);
    return 0;
  }

  runState.store(kSystemThreadRunning, std::memory_order_release);
  startStatus.store(kEngineRunning, std::memory_order_release);
  do {
    PumpEvents();
    PollKeyboard();
    PollMouse();
    PollController();
    if (CaughtEndSignal() != 0) {
      RestoreDesktop();
      ReleaseEndSignals();
    }
    std::this_thread::sleep_for(milliseconds(20));
  } while (runState.load(std::memory_order_acquire) == kSystemThreadRunning);

  ShutDownFrom(kAudioStarted);
  runState.store(kSystemThreadGone, std::memory_order_release);
  return 0;
}

void SetUpView() {
  viewWidth = config.window.width;
  viewHeight = config.window.height;
  gl.glViewport(0, 0, viewWidth, viewHeight);
  gl.glMatrixMode(GL_PROJECTION);
  gl.glLoadIdentity();
  Perspective(45.0, static_cast<double>(viewWidth) / viewHeight, 0.1, 500.0);
  gl.glMatrixMode(GL_MODELVIEW);
  gl.glLoadIdentity();
  gl.glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  gl.glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

// The window was made for one way of presenting; a driver that then refuses
// the framebuffer's format leaves the picture drawn straight into the window.
void StartPresenting() {
  if (!WindowPresentsThroughFramebuffer()) return;
  const bool sixteenBit = (config.window.colorDepth & 0xFF) <= 16;
  const bool framed = CreateOffscreenFrame(viewWidth, viewHeight, sixteenBit);
  if (!framed) {
    OpenConsoleLog();
    LogLine("the framebuffer could not be made: presenting straight into the window");
    CloseConsoleLog();
  }
  // The window left the display's gamma alone for the picture to carry the
  // brightness; where it cannot, the display's ramp takes over after all.
  if (BrightnessInPicture() && !(framed && CreatePictureBrightness())) {
    PlanPictureBrightness(false);
    SaveGammaRamp();
    ApplyBrightness(PictureBrightnessStep());
  }
}

// Adaptive sync shows every refresh without waiting on a late one; plain
// sync is next best. The loop stays uncapped either way: where the driver
// refuses (Xvfb does), frames simply come as fast as they are drawn.
const char* AskForSwapInterval() {
  constexpr int kAdaptive = -1;
  constexpr int kEveryRefresh = 1;
  if (SDL_GL_SetSwapInterval(kAdaptive) == 0) return "adaptive";
  if (SDL_GL_SetSwapInterval(kEveryRefresh) == 0) return "1";
  return "refused";
}

}  // namespace

bool StartEngine(const EngineConfig& requested) {
  config = requested;
  ClearQuitRequest();
  ResetLockPool();
  startStatus.store(kEngineStarting, std::memory_order_release);
  runState.store(kSystemThreadGone, std::memory_order_release);
  systemThread = StartThread(SystemThread, nullptr);
  if (!systemThread) {
    startStatus.store(kEngineFailed, std::memory_order_release);
    return false;
  }
  while (startStatus.load(std::memory_order_acquire) == kEngineStarting) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  if (startStatus.load(std::memory_order_acquire) == kEngineFailed) return false;

  runState.store(kSystemThreadRunning, std::memory_order_release);
  // A window without a context would leave every frame undrawn: that is a
  // failed start too (StopEngine then stops the running system thread).
  context = SDL_GL_CreateContext(GameWindow());
  const bool current = context && SDL_GL_MakeCurrent(GameWindow(), context) == 0;
  OpenConsoleLog();
  LogTrappedXErrors("making the GL context");
  if (!current) {
    LogAppend("No GL context on the window: ");
    LogLine(SDL_GetError());
  }
  CloseConsoleLog();
  if (!current) return false;
  // Logged before the driver's strings, as every start-up line of the
  // window is; a framebuffer or brightness program refused later says so.
  LogPresentPath(AskForSwapInterval());
  SetUpView();
  SetGlProcAddressFunction(SDL_GL_GetProcAddress);
  ReadGlExtensions();
  StartPresenting();
  return true;
}

bool StopEngine() {
  if (context) {
    DestroyPictureBrightness();
    DestroyOffscreenFrame();
    SDL_GL_MakeCurrent(GameWindow(), nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
    viewWidth = viewHeight = 0;
  }
  if (runState.load(std::memory_order_acquire) == kSystemThreadRunning) {
    runState.store(kSystemThreadStopRequested, std::memory_order_release);
    while (runState.load(std::memory_order_acquire) != kSystemThreadGone) {
      std::this_thread::sleep_for(milliseconds(10));
    }
  }
  // The thread has written its last word; joining only collects it.
  if (systemThread) StopThread(systemThread);
  systemThread = nullptr;
  SetGlProcAddressFunction(nullptr);
  CloseAllLocks();
  if (config.unloadAudio) config.unloadAudio();
  UnloadGl();
  return true;
}

int32_t EngineViewWidth() { return viewWidth; }
int32_t EngineViewHeight() { return viewHeight; }

void PresentFrame() {
  if (!context) return;
  if (OffscreenFrameActive()) {
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(GameWindow(), &drawableWidth, &drawableHeight);
    DrawOffscreenFrame(drawableWidth, drawableHeight);
  }
  SDL_GL_SwapWindow(GameWindow());
  BindOffscreenFrame();
}

int32_t EngineStartStatus() { return startStatus.load(std::memory_order_acquire); }

int32_t EngineRunState() { return runState.load(std::memory_order_acquire); }

void ShowErrorMessage(const char* caption, const char* text) {
  std::fprintf(stderr, "%s\n", text);
  std::fflush(stderr);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}
