#pragma once
// Screenshots of the current X display through xwd: a dump of the root
// window read straight into RGB bytes. Several times quicker than going
// through ImageMagick, which matters when a screen lasts only a second or two
// on a busy machine.
#include <string>

struct Capture {
  int width = 0;
  int height = 0;
  std::string rgb;  // width × height × 3 bytes, rows from the top
  bool valid() const { return width > 0 && rgb.size() == static_cast<std::size_t>(width) * height * 3; }
};

// Parses an XWD dump (TrueColor, 16 to 32 bits per pixel). An invalid
// capture when the dump is short or of a kind this reader does not handle.
Capture ParseXwd(const std::string& dump);

// Dumps the root window of DISPLAY into xwdPath and parses it; an invalid
// capture when xwd fails.
Capture CaptureScreen(const std::string& xwdPath);

// Writes an earlier dump as a PNG file; false when that fails.
bool SaveXwdAsPng(const std::string& xwdPath, const std::string& pngPath);
