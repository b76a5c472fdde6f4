#pragma once
#include <cstdint>

// The engine runs on two threads. The system thread owns the window, its
// event pump, the input devices and the audio device; the main thread owns
// the OpenGL context on that window and does all drawing. StartEngine and
// StopEngine are called by the main thread only, in pairs.

// The window the system thread opens, as the player set it up.
struct WindowOptions {
  int32_t width = 640;
  int32_t height = 480;
  int32_t colorDepth = 32;  // 16 or less (low byte) asks for 5-6-5 colour
  bool fullScreen = false;
  int32_t brightness = 0;   // gamma step 0..2
};

// The texts must stay valid until StartEngine returns.
struct EngineConfig {
  // Where the game's files live; nullptr means "base/" beside the executable.
  const char* assetDirectory = nullptr;
  // The OpenGL library to load; nullptr means the system's (kGlLibraryName).
  const char* glLibrary = nullptr;
  WindowOptions window;
  // The sound device belongs to the layers above; the system thread starts it
  // last and stops it first, and StopEngine unloads its library. A null hook
  // is skipped (no sound device: a start that needs none, as tools do).
  bool (*startAudio)() = nullptr;
  void (*stopAudio)() = nullptr;
  void (*unloadAudio)() = nullptr;
};

// startStatus, set once per start by the system thread.
constexpr int32_t kEngineStarting = 0;
constexpr int32_t kEngineRunning = 1;
constexpr int32_t kEngineFailed = 2;
// runState: no system thread / running / stop requested.
constexpr int32_t kSystemThreadGone = 2;
constexpr int32_t kSystemThreadRunning = 0;
constexpr int32_t kSystemThreadStopRequested = 1;

// Starts the system thread with the window (config.window), input, display
// gamma and audio (config.startAudio), waits for it, then creates and makes current the GL context on the
// main thread, sets viewport, projection and clear colour and reads the GL
// extensions. True when all of that exists; false on any failure, after
// which StopEngine is still to be called (it then returns at once).
bool StartEngine(const EngineConfig& config = {});

// Deletes the GL context, asks the system thread to stop and waits until it
// has undone its start, closes every remaining lock and unloads OpenAL and
// OpenGL. Safe after a failed start and when nothing was started. True.
bool StopEngine();

// Presents the frame drawn on the main thread (swaps the window's buffers).
// Main thread; does nothing while no context exists.
void PresentFrame();

// The screen size the window and its view were made with at the last
// StartEngine; 0 while no GL context exists. Main thread.
int32_t EngineViewWidth();
int32_t EngineViewHeight();

// Whether the window is full screen now: the player switches with Alt+Enter
// or F11 at any moment, so the choice to remember is read at the save. False
// while no window exists. Any thread.
bool WindowIsFullScreen();

// The two handshake words, for the curious (tests, diagnostics). Any thread.
int32_t EngineStartStatus();
int32_t EngineRunState();

// The one message the user may see: a message box with a single OK button
// and no owner window, and the same text on stderr, since without a display
// no box can show. Main thread; returns when the box is closed.
void ShowErrorMessage(const char* caption, const char* text);
