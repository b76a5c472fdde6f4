#pragma once
// What a test asks the X server of DISPLAY directly, as another client on the
// desktop would see it: the screen's size and mode, the gamma ramp it holds,
// the window's visual, a close request from the "window manager", and the
// input focus handed to a window. libX11 and libXrandr are opened at run time.
#include <cstdint>
#include <string>
#include <vector>

struct ScreenMode {
  int width = 0;  // the root window
  int height = 0;
  unsigned long mode = 0;  // XRandR mode of the first active CRTC, 0 if none
  int modeWidth = 0;
  int modeHeight = 0;
  bool operator==(const ScreenMode&) const = default;
};
// An all-zero record when the server cannot be asked.
ScreenMode ReadScreenMode();
std::string Describe(const ScreenMode& mode);

// The gamma ramp of the first active CRTC, as the server holds it: its green
// channel (empty when there is none).
std::vector<uint16_t> ReadCrtcGamma();

// A known ramp (all three channels alike) set on the first active CRTC by a
// client of the test's own, as the desktop's: the client stays connected as
// long as this object, as a desktop's colour daemon would.
class DesktopGammaRamp {
 public:
  explicit DesktopGammaRamp(const std::vector<uint16_t>& ramp);
  ~DesktopGammaRamp();
  DesktopGammaRamp(const DesktopGammaRamp&) = delete;
  DesktopGammaRamp& operator=(const DesktopGammaRamp&) = delete;
  bool set() const { return set_; }

 private:
  void* display_ = nullptr;
  bool set_ = false;
};

// The visual class (4 TrueColor, 5 DirectColor) of a window; -1 on failure.
int WindowVisualClass(unsigned long window);
// The id of a visual of that class at depth 24, as SDL_VIDEO_X11_VISUALID
// takes it ("0x21"); "" when the server has none.
std::string VisualIdOfClass(int visualClass);

// Sends WM_DELETE_WINDOW to the window, as a window manager does for its
// close button. False when the message cannot be sent.
bool SendCloseRequest(unsigned long window);

// Hands the input focus to a window by id. False when it cannot be asked.
bool GiveFocusTo(unsigned long window);
// True when another client holds the pointer grabbed (a grab of our own
// cannot be had): the game keeps the mouse to itself.
bool PointerGrabbedElsewhere();
