#pragma once
#include <SDL.h>

#include "platform/engine.h"

// The game window, made and destroyed by the system thread. Internal to the
// platform layer: nothing outside platform/ sees SDL.

// Loads OpenGL (glLibrary), starts SDL's video, asks a hidden probe window
// whether the driver offers framebuffer objects, then opens the window
// "KelpforgeSoftware | StarfieldStampede" with a double-buffered RGBA format
// of the options' colour depth with depth and stencil buffers. Full screen
// (hiding the cursor) is desktop full screen at the display's size when
// framebuffer objects are offered, else the options' size with a display
// mode change; a window has the options' size (resizable with framebuffer
// objects). Saves the display's gamma ramp and applies their brightness.
// False when the library, the video system or the window is missing; the
// caller then calls DestroyGameWindow.
bool CreateGameWindow(const char* glLibrary, const WindowOptions& options);

// The pump's share of the window's own events, before the input layer sees
// them. Alt+Enter and F11 switch between desktop full screen and a window of
// the game's size (ToggleFullScreen); true for those keys, which are held
// back from the game's key bytes until released. Losing the focus lets go of
// the mouse (relative mode) and shows the cursor in a window; gaining it
// takes the mouse back. System thread.
bool TakeWindowEvent(const SDL_Event& event);

// Desktop full screen becomes a resizable window of the options' size, centred,
// with the system cursor, or back. Nothing happens on the mode-change path or
// without a window. System thread.
void ToggleFullScreen();

// Puts back the gamma ramp and the desktop mode, destroys the window, stops
// SDL's video and unloads OpenGL. Safe for a partly made or absent window.
void DestroyGameWindow();

// The window, or nullptr. Written by the system thread before the engine
// reports its start and cleared after the main thread has let go of it.
SDL_Window* GameWindow();

// True when the window was made for the framebuffer path (the driver offers
// framebuffer objects and they are allowed): full screen is then the
// desktop's own mode. Written before the engine reports its start.
bool WindowPresentsThroughFramebuffer();

// Logs in one line which way frames reach the window, its drawable size, the
// swap interval the driver granted and where brightness is applied, once the
// whole start has succeeded (a failed start logs nothing of it). Main thread.
void LogPresentPath(const char* swapInterval);

// Puts the desktop back as it was (gamma ramp, display mode, cursor) while the
// window stays: for a process that is about to end on a signal.
void RestoreDesktop();
