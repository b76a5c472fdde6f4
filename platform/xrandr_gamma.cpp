#include "platform/xrandr_gamma.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

#include <atomic>
#include <vector>

namespace {

// clang-format off
#define SS_X_FUNCTIONS(X)                                                                 \
  X(x11, XOpenDisplay) X(x11, XCloseDisplay) X(x11, XDefaultRootWindow) X(x11, XSync)      \
  X(x11, XSetErrorHandler) X(x11, XGetWindowAttributes)                                   \
  X(xrandr, XRRQueryExtension) X(xrandr, XRRQueryVersion)                                 \
  X(xrandr, XRRGetScreenResources) X(xrandr, XRRGetScreenResourcesCurrent)                \
  X(xrandr, XRRFreeScreenResources) X(xrandr, XRRGetCrtcInfo) X(xrandr, XRRFreeCrtcInfo)  \
  X(xrandr, XRRGetCrtcGammaSize) X(xrandr, XRRGetCrtcGamma) X(xrandr, XRRAllocGamma)      \
  X(xrandr, XRRSetCrtcGamma) X(xrandr, XRRFreeGamma)
// clang-format on

struct XFunctions {
#define SS_X_FIELD(library, name) decltype(&::name) name = nullptr;
  SS_X_FUNCTIONS(SS_X_FIELD)
#undef SS_X_FIELD
};

struct SavedCrtc {
  RRCrtc crtc;
  std::vector<uint16_t> red, green, blue;
};

// Used by whichever thread the caller lets in; the caller serialises.
XFunctions x;
bool loaded = false;
Display* display = nullptr;
std::vector<SavedCrtc> saved;
bool resourcesCurrent = false;  // XRandR 1.3 can list resources without probing

bool LoadXFunctions() {
  if (loaded) return true;
  // Kept open for the rest of the run: SDL holds libX11 anyway.
  void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
  void* xrandr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (!x11 || !xrandr) return false;
  bool complete = true;
#define SS_X_LOAD(library, name)                                        \
  x.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
  complete = complete && x.name;
  SS_X_FUNCTIONS(SS_X_LOAD)
#undef SS_X_LOAD
  loaded = complete;
  return loaded;
}

// Xlib calls the error handler on whichever thread met the error (SDL's
// connection is used by the system and the main thread): it reads these two,
// written by the thread that opens and closes our connection.
std::atomic<Display*> ownDisplay{nullptr};
std::atomic<XErrorHandler> previousHandler{nullptr};

// A CRTC that went away between two calls must not end the game through
// Xlib's default handler; errors of other connections go on as before.
int IgnoreOwnErrors(Display* from, XErrorEvent* error) {
  if (from == ownDisplay.load(std::memory_order_acquire)) return 0;
  XErrorHandler previous = previousHandler.load(std::memory_order_acquire);
  return previous ? previous(from, error) : 0;
}

void CloseConnection() {
  if (!display) return;
  x.XSync(display, False);
  x.XSetErrorHandler(previousHandler.load(std::memory_order_acquire));
  x.XCloseDisplay(display);
  display = nullptr;
  ownDisplay.store(nullptr, std::memory_order_release);
  saved.clear();
}

bool OpenConnection() {
  if (!LoadXFunctions()) return false;
  display = x.XOpenDisplay(nullptr);
  if (!display) return false;
  ownDisplay.store(display, std::memory_order_release);
  previousHandler.store(x.XSetErrorHandler(IgnoreOwnErrors), std::memory_order_release);
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!x.XRRQueryExtension(display, &eventBase, &errorBase) ||
      !x.XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
    CloseConnection();
    return false;
  }
  resourcesCurrent = major > 1 || minor >= 3;
  return true;
}

void SaveActiveCrtcs(bool probe) {
  Window root = x.XDefaultRootWindow(display);
  XRRScreenResources* resources = probe ? x.XRRGetScreenResources(display, root)
                                        : x.XRRGetScreenResourcesCurrent(display, root);
  if (!resources) return;
  for (int i = 0; i < resources->ncrtc; ++i) {
    RRCrtc crtc = resources->crtcs[i];
    XRRCrtcInfo* info = x.XRRGetCrtcInfo(display, resources, crtc);
    bool active = info && info->mode != None;
    if (info) x.XRRFreeCrtcInfo(info);
    int size = active ? x.XRRGetCrtcGammaSize(display, crtc) : 0;
    XRRCrtcGamma* gamma = size > 0 ? x.XRRGetCrtcGamma(display, crtc) : nullptr;
    if (!gamma) continue;
    if (gamma->size == size) {
      saved.push_back({crtc, {gamma->red, gamma->red + size}, {gamma->green, gamma->green + size},
                       {gamma->blue, gamma->blue + size}});
    }
    x.XRRFreeGamma(gamma);
  }
  x.XRRFreeScreenResources(resources);
}

void SetCrtc(const SavedCrtc& target, const uint16_t* red, const uint16_t* green, const uint16_t* blue) {
  int size = static_cast<int>(target.red.size());
  XRRCrtcGamma* gamma = x.XRRAllocGamma(size);
  if (!gamma) return;
  for (int i = 0; i < size; ++i) {
    gamma->red[i] = red[i];
    gamma->green[i] = green[i];
    gamma->blue[i] = blue[i];
  }
  x.XRRSetCrtcGamma(display, target.crtc, gamma);
  x.XRRFreeGamma(gamma);
}

}  // namespace

bool SaveCrtcGamma() {
  CloseConnection();
  if (!OpenConnection()) return false;
  // The cheap list first; a server that has not been asked yet may hold no
  // current one, and only then is the slower probing call worth it.
  if (resourcesCurrent) SaveActiveCrtcs(false);
  if (saved.empty()) SaveActiveCrtcs(true);
  if (saved.empty()) CloseConnection();
  return !saved.empty();
}

bool ApplyCrtcGamma(const GammaRamp& ramp) {
  if (!display) return false;
  for (const SavedCrtc& target : saved) {
    int size = static_cast<int>(target.red.size());
    std::vector<uint16_t> red(size), green(size), blue(size);
    ResampleGammaChannel(ramp.red, red.data(), size);
    ResampleGammaChannel(ramp.green, green.data(), size);
    ResampleGammaChannel(ramp.blue, blue.data(), size);
    SetCrtc(target, red.data(), green.data(), blue.data());
  }
  x.XSync(display, False);
  return true;
}

void RestoreCrtcGamma() {
  if (!display) return;
  for (const SavedCrtc& target : saved) {
    int size = static_cast<int>(target.red.size());
    if (GammaChannelUsable(target.red.data(), size) && GammaChannelUsable(target.green.data(), size) &&
        GammaChannelUsable(target.blue.data(), size)) {
      SetCrtc(target, target.red.data(), target.green.data(), target.blue.data());
    } else {
      GammaRamp linear = LinearGammaRamp();
      std::vector<uint16_t> channel(size);
      ResampleGammaChannel(linear.red, channel.data(), size);
      SetCrtc(target, channel.data(), channel.data(), channel.data());
    }
  }
  CloseConnection();
}

void ForgetCrtcGamma() { CloseConnection(); }

bool VisualTakesGammaRamp(void* xDisplay, unsigned long xWindow) {
  XWindowAttributes attributes{};
  if (!xDisplay || !LoadXFunctions() ||
      !x.XGetWindowAttributes(static_cast<Display*>(xDisplay), xWindow, &attributes) ||
      !attributes.visual) {
    return false;
  }
  // Only a DirectColor visual has a colour map to hold a ramp.
  return attributes.visual->c_class == DirectColor;
}

void ResampleGammaChannel(const uint16_t* channel, uint16_t* out, int size) {
  if (size == 1) out[0] = channel[kGammaRampSize - 1];
  for (int j = 0; size > 1 && j < size; ++j) {
    int64_t source = (static_cast<int64_t>(j) * (kGammaRampSize - 1) + (size - 1) / 2) / (size - 1);
    out[j] = channel[source];
  }
}

bool GammaChannelUsable(const uint16_t* channel, int size) {
  return size > 0 && channel[size - 1] != 0;
}
