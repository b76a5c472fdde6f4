#include "other_window.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

// A map is answered within milliseconds; a server this slow is not there.
constexpr int kMapWaitMs = 5000;
constexpr int kMapPollMs = 5;

Display* DisplayOf(void* display) { return static_cast<Display*>(display); }

// Xlib's own handler ends the process on any error; a bad id given as
// `like` must only fail the window.
bool errorSeen = false;
int NoteError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

}  // namespace

OtherWindow::OtherWindow(int x, int y, int width, int height, unsigned long like) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);

  XWindowAttributes likeAttributes;
  if (like) {
    errorSeen = false;
    XErrorHandler previous = XSetErrorHandler(NoteError);
    const Status got = XGetWindowAttributes(display, like, &likeAttributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!got || errorSeen) return;
  }
  XSetWindowAttributes attributes;
  attributes.border_pixel = 0;
  attributes.background_pixel = WhitePixel(display, screen);
  unsigned long mask = CWBorderPixel | CWBackPixel;
  Visual* visual = CopyFromParent;
  int depth = CopyFromParent;
  if (like) {
    visual = likeAttributes.visual;
    depth = likeAttributes.depth;
    // All bits set: white in any true or direct colour visual.
    attributes.background_pixel = (1ul << depth) - 1;
    attributes.colormap = likeAttributes.colormap;
    mask |= CWColormap;
  }
  window_ = XCreateWindow(display, root, x, y, width, height, 0, depth, InputOutput, visual, mask,
                          &attributes);
  XStoreName(display, window_, "other window");
  XSelectInput(display, window_, StructureNotifyMask);
  XMapRaised(display, window_);
  XFlush(display);
  // Focus can only go to a window that is on the screen.
  XEvent event;
  for (int waited = 0; waited < kMapWaitMs && !shown_; waited += kMapPollMs) {
    while (!shown_ && XCheckTypedWindowEvent(display, window_, MapNotify, &event)) shown_ = true;
    if (!shown_) std::this_thread::sleep_for(std::chrono::milliseconds(kMapPollMs));
  }
}

OtherWindow::~OtherWindow() {
  if (!display_) return;
  if (window_) XDestroyWindow(DisplayOf(display_), window_);
  XCloseDisplay(DisplayOf(display_));
}

std::string OtherWindow::id() const { return shown_ ? std::to_string(window_) : ""; }
