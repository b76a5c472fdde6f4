#include "platform/window.h"

#include "platform/console_log.h"
#include "platform/end_signals.h"
#include "platform/gamma.h"
#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"
#include "platform/x_error_trap.h"

namespace {

constexpr const char* kWindowTitle = "KelpforgeSoftware | StarfieldStampede";

// Written by the system thread only; the main thread reads the window while
// the engine runs (ordered by the start and stop handshake).
SDL_Window* window = nullptr;
bool videoStarted = false;
bool fullScreen = false;
// Whether the game's picture goes through a framebuffer object; decided once
// per window, before full screen is chosen.
bool framebufferPath = false;
// The options of the window being made; read only while CreateGameWindow runs.
WindowOptions requested;

bool SixteenBit() { return (requested.colorDepth & 0xFF) <= 16; }

void RequestPixelFormat() {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, SixteenBit() ? 5 : 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, SixteenBit() ? 6 : 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, SixteenBit() ? 5 : 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // Every frame tests depth and clears depth and stencil.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

// Asked through a short-lived hidden window and context before the game's
// window exists: a desktop full-screen window is best made full screen from
// the start, since without a window manager nothing resizes it later.
bool ProbeFramebufferObjects() {
  if (!FramebufferObjectsAllowed() || !gl.glGetString) return false;
  SDL_Window* probeWindow = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!probeWindow) return false;
  bool offered = false;
  if (SDL_GLContext probe = SDL_GL_CreateContext(probeWindow)) {
    if (SDL_GL_MakeCurrent(probeWindow, probe) == 0) {
      offered = FramebufferObjectsOffered(reinterpret_cast<const char*>(gl.glGetString(GL_EXTENSIONS)));
    }
    SDL_GL_MakeCurrent(probeWindow, nullptr);
    SDL_GL_DeleteContext(probe);
  }
  SDL_DestroyWindow(probeWindow);
  return offered;
}

void EnterFullScreen() {
  SDL_DisplayMode mode = {};
  mode.format = SixteenBit() ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  mode.w = requested.width;
  mode.h = requested.height;
  mode.refresh_rate = 60;
  // A mode the display cannot show is not reported: SDL takes the closest,
  // at worst the desktop's own.
  SDL_SetWindowDisplayMode(window, &mode);
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
}

// A window the player may resize only when the picture can follow its size.
uint32_t WindowKind(bool desktopFullScreen) {
  if (desktopFullScreen) return SDL_WINDOW_FULLSCREEN_DESKTOP;
  return framebufferPath && !fullScreen ? SDL_WINDOW_RESIZABLE : 0;
}

bool Fail() {
  CloseConsoleLog();
  return false;
}

}  // namespace

bool CreateGameWindow(const char* glLibrary, const WindowOptions& options) {
  requested = options;
  OpenConsoleLog();
  if (!LoadGl(glLibrary)) return Fail();
  TrapXErrors();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Fail();
  videoStarted = true;
  RequestPixelFormat();

  fullScreen = options.fullScreen;
  framebufferPath = ProbeFramebufferObjects();
  LogTrappedXErrors("asking for framebuffer objects");
  SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
  // With the framebuffer path the monitor keeps its own mode and the picture
  // is scaled into it; only without one is the display switched to the
  // game's size (EnterFullScreen).
  const bool desktopFullScreen = fullScreen && framebufferPath;
  // Made at the desktop's size too: without a window manager nothing would
  // resize a full-screen window made at the game's.
  SDL_Rect area = {0, 0, options.width, options.height};
  if (desktopFullScreen && SDL_GetDisplayBounds(0, &area) != 0) area = {0, 0, options.width, options.height};
  window = SDL_CreateWindow(kWindowTitle, area.x, area.y, area.w, area.h,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | WindowKind(desktopFullScreen));
  LogTrappedXErrors("opening the window");
  if (!window) return Fail();
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);

  // From here on the desktop is changed; a signal must not leave it so.
  CatchEndSignals();
  if (fullScreen && !desktopFullScreen) EnterFullScreen();
  SaveGammaRamp();
  ApplyBrightness(options.brightness);
  CloseConsoleLog();
  return true;
}

void RestoreDesktop() {
  RestoreGammaRamp();
  if (window && fullScreen) SDL_SetWindowFullscreen(window, 0);
  if (videoStarted && fullScreen) SDL_ShowCursor(SDL_ENABLE);
}

void DestroyGameWindow() {
  RestoreDesktop();
  ReleaseEndSignals();
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  fullScreen = false;
  framebufferPath = false;
  if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  videoStarted = false;
  ReleaseXErrors();  // SDL's connection is closed: nothing of ours is pending
  UnloadGl();
}

SDL_Window* GameWindow() { return window; }

bool WindowPresentsThroughFramebuffer() { return framebufferPath; }

void LogPresentPath() {
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  char size[48];
  SDL_snprintf(size, sizeof size, ", drawable %d x %d", drawableWidth, drawableHeight);
  OpenConsoleLog();  // loading OpenGL closed it
  LogAppend(framebufferPath ? "presenting through a framebuffer" : "presenting straight into the window");
  LogLine(size);
  CloseConsoleLog();
}
