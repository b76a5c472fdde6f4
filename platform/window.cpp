#include "platform/window.h"

#include <atomic>
#include <cstring>

#include "platform/console_log.h"
#include "platform/end_signals.h"
#include "platform/gamma.h"
#include "platform/gl_table.h"
#include "platform/input_live.h"
#include "platform/offscreen_frame.h"
#include "platform/picture_brightness.h"
#include "platform/x_error_trap.h"

namespace {

constexpr const char* kWindowTitle = "KelpforgeSoftware | StarfieldStampede";

// Written by the system thread only; the main thread reads the window while
// the engine runs (ordered by the start and stop handshake).
SDL_Window* window = nullptr;
bool videoStarted = false;
// Written by the system thread (creation, Alt+Enter / F11); the main thread
// reads it when the settings are saved.
std::atomic<bool> fullScreen{false};
// Whether the game's picture goes through a framebuffer object; decided once
// per window, before full screen is chosen.
bool framebufferPath = false;
// The options the window was made with; system thread only.
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

// What the driver offers the present pass.
struct DriverOffer {
  bool framebufferObjects = false;
  bool glsl = false;
};

// Asked through a short-lived hidden window and context before the game's
// window exists: a desktop full-screen window is best made full screen from
// the start, since without a window manager nothing resizes it later, and the
// display's gamma is best left unread when the picture will carry brightness.
DriverOffer ProbeDriver() {
  DriverOffer offer;
  if (!FramebufferObjectsAllowed() || !gl.glGetString) return offer;
  SDL_Window* probeWindow = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!probeWindow) return offer;
  if (SDL_GLContext probe = SDL_GL_CreateContext(probeWindow)) {
    if (SDL_GL_MakeCurrent(probeWindow, probe) == 0) {
      const char* extensions = reinterpret_cast<const char*>(gl.glGetString(GL_EXTENSIONS));
      offer.framebufferObjects = FramebufferObjectsOffered(extensions);
      offer.glsl = PictureBrightnessOffered(extensions);
    }
    SDL_GL_MakeCurrent(probeWindow, nullptr);
    SDL_GL_DeleteContext(probe);
  }
  SDL_DestroyWindow(probeWindow);
  return offer;
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

// Alt+Enter and F11; Alt+F4 is the input layer's (it ends the game).
bool IsFullScreenSwitch(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  if (code == SDL_SCANCODE_F11) return true;
  return (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
         (key.keysym.mod & KMOD_ALT) != 0;
}

// The window is moved and sized by hand before and after SDL's switch:
// without a window manager (a bare X server) nothing else would do it, and
// with one the manager's own full-screen geometry wins anyway.
void SwitchToDesktopFullScreen() {
  const int display = SDL_GetWindowDisplayIndex(window);
  SDL_Rect bounds = {0, 0, requested.width, requested.height};
  SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds);
  SDL_SetWindowPosition(window, bounds.x, bounds.y);
  SDL_SetWindowSize(window, bounds.w, bounds.h);
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowCursor(SDL_DISABLE);
}

void SwitchToWindow() {
  const int display = SDL_GetWindowDisplayIndex(window);
  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowResizable(window, SDL_TRUE);
  SDL_SetWindowSize(window, requested.width, requested.height);
  const int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display);
  SDL_SetWindowPosition(window, centred, centred);
  SDL_ShowCursor(SDL_ENABLE);
}

bool Fail() {
  CloseConsoleLog();
  return false;
}

// Without a display to reach SDL settles for its offscreen driver, whose
// window nobody sees and whose mouse cannot be held: no video for a game. An
// X server that resets as its last client leaves drops whoever connects in
// that moment (a bare X server started for the game), so a few tries before
// the start fails, and the log says why it did.
constexpr int kVideoStartTries = 3;
constexpr Uint32 kVideoRetryMs = 400;

bool ReachedADisplay() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

bool StartVideo() {
  for (int attempt = 1; attempt <= kVideoStartTries; ++attempt) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      if (ReachedADisplay()) return true;
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      SDL_SetError("no X or Wayland display could be reached");
    }
    if (attempt < kVideoStartTries) SDL_Delay(kVideoRetryMs);
  }
  OpenConsoleLog();  // loading the GL library closed it
  LogAppend("Video did not start: ");
  LogLine(SDL_GetError());
  return false;
}

}  // namespace

bool CreateGameWindow(const char* glLibrary, const WindowOptions& options) {
  requested = options;
  OpenConsoleLog();
  if (!LoadGl(glLibrary)) return Fail();
  TrapXErrors();
  if (!StartVideo()) return Fail();
  videoStarted = true;
  RequestPixelFormat();

  fullScreen = options.fullScreen;
  const DriverOffer offer = ProbeDriver();
  framebufferPath = offer.framebufferObjects;
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
  if (!window) {
    OpenConsoleLog();
    LogAppend("No window: ");
    LogLine(SDL_GetError());
    return Fail();
  }
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);

  // From here on the desktop is changed; a signal must not leave it so.
  CatchEndSignals();
  if (fullScreen && !desktopFullScreen) EnterFullScreen();
  PlanPictureBrightness(framebufferPath && offer.glsl);
  // The picture carries the step from the first frame; only without it is
  // the display's ramp saved and set.
  if (!BrightnessInPicture()) SaveGammaRamp();
  ApplyBrightness(options.brightness);
  CloseConsoleLog();
  return true;
}

namespace {

// Another window has the keyboard: the pointer is the player's again, with
// the system cursor over a window of ours; it is taken back with the focus.
void FollowFocus(uint8_t windowEvent) {
  if (windowEvent == SDL_WINDOWEVENT_FOCUS_LOST) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
  } else if (windowEvent == SDL_WINDOWEVENT_FOCUS_GAINED) {
    SDL_SetRelativeMouseMode(SDL_TRUE);
  }
}

}  // namespace

bool TakeWindowEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT) FollowFocus(event.window.event);
  if (event.type != SDL_KEYDOWN || !IsFullScreenSwitch(event.key)) return false;
  // Held back from the key bytes until released: a menu would take the Enter
  // of Alt+Enter as its own.
  HoldBackKey(event.key.keysym.scancode);
  if (event.key.repeat == 0) ToggleFullScreen();
  return true;
}

void ToggleFullScreen() {
  // The mode-change path has no scaled picture to follow a window's size.
  if (!window || !framebufferPath) return;
  if (fullScreen) {
    SwitchToWindow();
  } else {
    SwitchToDesktopFullScreen();
  }
  fullScreen = !fullScreen;
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
  PlanPictureBrightness(false);
  framebufferPath = false;
  if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  videoStarted = false;
  ReleaseXErrors();  // SDL's connection is closed: nothing of ours is pending
  UnloadGl();
}

SDL_Window* GameWindow() { return window; }

bool WindowIsFullScreen() { return fullScreen; }

bool WindowPresentsThroughFramebuffer() { return framebufferPath; }

void LogPresentPath(const char* swapInterval) {
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  char details[128];
  SDL_snprintf(details, sizeof details, ", drawable %d x %d, swap interval %s, brightness %s",
               drawableWidth, drawableHeight, swapInterval,
               BrightnessInPicture() ? "in the picture" : "by the display's gamma");
  OpenConsoleLog();
  LogAppend(framebufferPath ? "presenting through a framebuffer" : "presenting straight into the window");
  LogLine(details);
  CloseConsoleLog();
}
