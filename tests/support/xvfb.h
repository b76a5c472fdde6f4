#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <thread>

// A private X server for one test: Xvfb on a display number it picks itself
// (never one in use), with one screen of the given size. Once constructed the
// server accepts connections and DISPLAY names it; the destructor kills it
// and puts DISPLAY back as it was. Construct it before anything opens X.
class Xvfb {
 public:
  Xvfb(int width, int height, int depth = 24);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // False when the server could not be started (the reason is on stderr).
  bool running() const { return pid_ > 0; }
  // ":N", or "" when not running.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
  bool hadDisplay_ = false;
  std::string previousDisplay_;
};

// Runs a shell command (with the current DISPLAY) and returns its exit
// status, or its standard output with the last line break removed.
int RunCommand(const std::string& command);
std::string CommandOutput(const std::string& command);

// Real input through the X server's test extension (xdotool). A key name is
// an X keysym name: "q", "1", "Up", "Escape", "space", "Return".
// HoldKeyBriefly presses for 100 ms, longer than a poll of the game's pump.
void PressKey(const std::string& key);
void ReleaseKey(const std::string& key);
void HoldKeyBriefly(const std::string& key);
void HoldKey(const std::string& key, int milliseconds);
// Down and up at once: shorter than a poll.
void TapKey(const std::string& key);
void MoveMouseBy(int dx, int dy);

// The window id of the window whose name is exactly `name`, or "" when none.
std::string FindWindowNamed(const std::string& name);

// Colour of one pixel of the root window as "r,g,b" (0..255 each), from a
// screenshot; "" when it cannot be taken.
std::string ScreenPixel(int x, int y);

// Polls condition every 5 ms for up to timeoutMs; true once it holds.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 3000) {
  for (int waited = 0; waited <= timeoutMs; waited += 5) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return condition();
}
