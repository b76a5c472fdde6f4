#pragma once
#include <string>

// A small plain window of the test's own on the current DISPLAY, standing in
// for another program's: something that can take the input focus from the
// game (xdotool windowfocus). Construct it after the X server is up; the
// window goes when the object does.
class OtherWindow {
 public:
  // A width × height window at (x, y) of the root, in pixels, filled white;
  // mapped and on the screen once the constructor returns. Made in the
  // visual of the window `like` (an X window id; 0: the screen's default):
  // xwd dumps a screen whose windows differ in visual in a form the
  // screenshot reader does not take.
  OtherWindow(int x, int y, int width, int height, unsigned long like = 0);
  ~OtherWindow();
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;

  // False when the display could not be opened, `like` is not a window, or
  // the window never showed.
  bool shown() const { return shown_; }
  // The window's id as xdotool takes it (decimal); "" when not shown.
  std::string id() const;

 private:
  // Xlib's types stay out of the tests that include this.
  void* display_ = nullptr;
  unsigned long window_ = 0;
  bool shown_ = false;
};
