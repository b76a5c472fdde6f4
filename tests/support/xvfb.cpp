#include "xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The descriptor Xvfb writes its display number to once it listens.
constexpr int kDisplayFd = 9;

// Reads the display number Xvfb reports, waiting up to 20 s (two busy cores
// can make a server start slowly). -1 when it never comes.
int ReadDisplayNumber(int fd) {
  std::string text;
  for (int waited = 0; waited < 20000 && text.find('\n') == std::string::npos;) {
    pollfd request{fd, POLLIN, 0};
    int ready = poll(&request, 1, 100);
    waited += 100;
    if (ready <= 0) continue;
    char buffer[32];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;  // the server ended before it was ready
    text.append(buffer, static_cast<std::size_t>(got));
  }
  if (text.find('\n') == std::string::npos) return -1;
  return std::atoi(text.c_str());
}

void StopServer(pid_t pid) {
  kill(pid, SIGTERM);
  for (int waited = 0; waited < 5000; waited += 10) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace

Xvfb::Xvfb(int width, int height, int depth) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
  pid_t pid = fork();
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec.
    dup2(pipeFds[1], kDisplayFd);
    if (pipeFds[1] == kDisplayFd) fcntl(kDisplayFd, F_SETFD, 0);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    // -noreset: by default the server resets when its last client leaves,
    // and drops whoever connects during the reset. A test's short links and
    // xdotool calls come and go all the time; about one open in six failed.
    execlp("Xvfb", "Xvfb", "-displayfd", "9", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  int number = pid > 0 ? ReadDisplayNumber(pipeFds[0]) : -1;
  close(pipeFds[0]);
  if (number < 0) {
    std::fprintf(stderr, "Xvfb did not start\n");
    if (pid > 0) StopServer(pid);
    return;
  }
  pid_ = pid;
  display_ = ":" + std::to_string(number);
  if (const char* previous = std::getenv("DISPLAY")) {
    hadDisplay_ = true;
    previousDisplay_ = previous;
  }
  setenv("DISPLAY", display_.c_str(), 1);
}

Xvfb::~Xvfb() {
  if (pid_ <= 0) return;
  StopServer(pid_);
  if (hadDisplay_) {
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

int RunCommand(const std::string& command) { return std::system(command.c_str()); }

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[256];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  pclose(pipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

void PressKey(const std::string& key) { RunCommand("xdotool keydown " + key); }

void ReleaseKey(const std::string& key) { RunCommand("xdotool keyup " + key); }

void HoldKey(const std::string& key, int milliseconds) {
  // One xdotool process presses and releases: a busy machine cannot stretch
  // the press by starving a second one.
  RunCommand("xdotool keydown " + key + " sleep " + std::to_string(milliseconds / 1000.0) + " keyup " + key);
}

void HoldKeyBriefly(const std::string& key) { HoldKey(key, 100); }

void TapKey(const std::string& key) { RunCommand("xdotool keydown " + key + " keyup " + key); }

void MoveMouseBy(int dx, int dy) {
  RunCommand("xdotool mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy));
}

std::string FindWindowNamed(const std::string& name) {
  std::string ids = CommandOutput("xdotool search --name . 2>/dev/null");
  std::size_t start = 0;
  while (start < ids.size()) {
    std::size_t end = ids.find('\n', start);
    if (end == std::string::npos) end = ids.size();
    std::string id = ids.substr(start, end - start);
    if (CommandOutput("xdotool getwindowname " + id + " 2>/dev/null") == name) return id;
    start = end + 1;
  }
  return "";
}

std::string ScreenPixel(int x, int y) {
  std::string at = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
  return CommandOutput("xwd -root -silent 2>/dev/null | convert xwd:- -format '%[fx:int(255*" + at +
                       ".r+0.5)],%[fx:int(255*" + at + ".g+0.5)],%[fx:int(255*" + at +
                       ".b+0.5)]' info: 2>/dev/null");
}
