#include "x_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

namespace {

#define TEST_X_FUNCTIONS(X)                                                                        \
  X(x11, XOpenDisplay)                                                                             \
  X(x11, XCloseDisplay)                                                                            \
  X(x11, XDefaultRootWindow)                                                                       \
  X(x11, XSync) X(x11, XDisplayWidth) X(x11, XDisplayHeight) X(x11, XDefaultScreen)                \
      X(x11, XGetWindowAttributes) X(x11, XInternAtom) X(x11, XSendEvent) X(                       \
          x11, XCreateSimpleWindow) X(x11, XMapWindow) X(x11, XSetInputFocus) X(x11, XGrabPointer) \
          X(x11, XUngrabPointer) X(x11, XGetVisualInfo) X(x11, XFree) X(x11, XSetErrorHandler)     \
              X(xrandr, XRRGetScreenResources) X(xrandr, XRRFreeScreenResources)                   \
                  X(xrandr, XRRGetCrtcInfo) X(xrandr, XRRFreeCrtcInfo) X(xrandr, XRRGetCrtcGamma)  \
                      X(xrandr, XRRFreeGamma) X(xrandr, XRRAllocGamma) X(xrandr, XRRSetCrtcGamma)

struct Functions {
#define TEST_X_FIELD(library, name) decltype(&::name) name = nullptr;
  TEST_X_FUNCTIONS(TEST_X_FIELD)
#undef TEST_X_FIELD
};

Functions x;

bool Load() {
  static const bool loaded = [] {
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    void* xrandr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!x11 || !xrandr) return false;
    bool complete = true;
#define TEST_X_LOAD(library, name)                                     \
  x.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
  complete = complete && x.name;
    TEST_X_FUNCTIONS(TEST_X_LOAD)
#undef TEST_X_LOAD
    return complete;
  }();
  return loaded;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// One short link per question, so nothing of the test's lingers
// between a game's runs.
class ServerLink {
 public:
  ServerLink() : display_(Load() ? x.XOpenDisplay(nullptr) : nullptr) {
    if (display_) previous_ = x.XSetErrorHandler(IgnoreErrors);
  }
  ~ServerLink() {
    if (!display_) return;
    x.XSync(display_, False);
    x.XSetErrorHandler(previous_);
    x.XCloseDisplay(display_);
  }
  ServerLink(const ServerLink&) = delete;
  ServerLink& operator=(const ServerLink&) = delete;
  Display* get() const { return display_; }

 private:
  Display* display_;
  XErrorHandler previous_ = nullptr;
};

// The first CRTC that shows a mode, with the resources it came from.
template <typename Use>
void WithActiveCrtc(Display* display, Use use) {
  // The probing call: a server just started may have nothing current yet.
  XRRScreenResources* resources = x.XRRGetScreenResources(display, x.XDefaultRootWindow(display));
  if (!resources) return;
  for (int i = 0; i < resources->ncrtc; ++i) {
    XRRCrtcInfo* info = x.XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
    const bool active = info && info->mode != None;
    if (active) use(resources->crtcs[i], *info);
    if (info) x.XRRFreeCrtcInfo(info);
    if (active) break;
  }
  x.XRRFreeScreenResources(resources);
}

}  // namespace

ScreenMode ReadScreenMode() {
  ScreenMode mode;
  ServerLink link;
  Display* display = link.get();
  if (!display) return mode;
  const int screen = x.XDefaultScreen(display);
  mode.width = x.XDisplayWidth(display, screen);
  mode.height = x.XDisplayHeight(display, screen);
  WithActiveCrtc(display, [&mode](RRCrtc, const XRRCrtcInfo& info) {
    mode.mode = info.mode;
    mode.modeWidth = static_cast<int>(info.width);
    mode.modeHeight = static_cast<int>(info.height);
  });
  return mode;
}

std::string Describe(const ScreenMode& mode) {
  char text[96];
  std::snprintf(text, sizeof text, "screen %d x %d, mode 0x%lx of %d x %d", mode.width, mode.height,
                mode.mode, mode.modeWidth, mode.modeHeight);
  return text;
}

std::vector<uint16_t> ReadCrtcGamma() {
  std::vector<uint16_t> green;
  ServerLink link;
  if (!link.get()) return green;
  WithActiveCrtc(link.get(), [&](RRCrtc crtc, const XRRCrtcInfo&) {
    if (XRRCrtcGamma* gamma = x.XRRGetCrtcGamma(link.get(), crtc)) {
      green.assign(gamma->green, gamma->green + gamma->size);
      x.XRRFreeGamma(gamma);
    }
  });
  return green;
}

DesktopGammaRamp::DesktopGammaRamp(const std::vector<uint16_t>& ramp) {
  Display* display = Load() ? x.XOpenDisplay(nullptr) : nullptr;
  if (!display) return;
  display_ = display;
  // Now and then a busy server lists no active CRTC at first; it comes.
  for (int attempt = 0; attempt < 20 && !set_; ++attempt) {
    if (attempt > 0) usleep(50000);
    WithActiveCrtc(display, [&](RRCrtc crtc, const XRRCrtcInfo&) {
      XRRCrtcGamma* gamma = x.XRRAllocGamma(static_cast<int>(ramp.size()));
      if (!gamma) return;
      for (std::size_t i = 0; i < ramp.size(); ++i)
        gamma->red[i] = gamma->green[i] = gamma->blue[i] = ramp[i];
      x.XRRSetCrtcGamma(display, crtc, gamma);
      x.XRRFreeGamma(gamma);
      set_ = true;
    });
  }
  x.XSync(display, False);
}

DesktopGammaRamp::~DesktopGammaRamp() {
  if (display_) x.XCloseDisplay(static_cast<Display*>(display_));
}

int WindowVisualClass(unsigned long window) {
  ServerLink link;
  if (!link.get()) return -1;
  XWindowAttributes attributes{};
  if (!x.XGetWindowAttributes(link.get(), window, &attributes) || !attributes.visual) return -1;
  XVisualInfo wanted{};
  wanted.visualid = attributes.visual->visualid;
  int count = 0;
  XVisualInfo* info = x.XGetVisualInfo(link.get(), VisualIDMask, &wanted, &count);
  const int visualClass = info && count > 0 ? info->c_class : -1;
  if (info) x.XFree(info);
  return visualClass;
}

std::string VisualIdOfClass(int visualClass) {
  ServerLink link;
  if (!link.get()) return "";
  XVisualInfo wanted{};
  wanted.c_class = visualClass;
  wanted.depth = 24;
  int count = 0;
  XVisualInfo* info =
      x.XGetVisualInfo(link.get(), VisualClassMask | VisualDepthMask, &wanted, &count);
  char id[24] = "";
  if (info && count > 0) std::snprintf(id, sizeof id, "0x%lx", info->visualid);
  if (info) x.XFree(info);
  return id;
}

bool SendCloseRequest(unsigned long window) {
  ServerLink link;
  Display* display = link.get();
  if (!display || window == 0) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = x.XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(x.XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  return x.XSendEvent(display, window, False, NoEventMask, &event) != 0;
}

bool GiveFocusTo(unsigned long window) {
  ServerLink link;
  if (!link.get() || window == 0) return false;
  x.XSetInputFocus(link.get(), window, RevertToParent, CurrentTime);
  return true;
}

bool PointerGrabbedElsewhere() {
  ServerLink link;
  Display* display = link.get();
  if (!display) return false;
  const int result = x.XGrabPointer(display, x.XDefaultRootWindow(display), False, ButtonPressMask,
                                    GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  if (result == GrabSuccess) x.XUngrabPointer(display, CurrentTime);
  return result == AlreadyGrabbed;
}
