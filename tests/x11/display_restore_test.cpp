#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/gamma.h"
#include "platform/offscreen_frame.h"
#include "platform/quit_request.h"
#include "x11/engine_session.h"

namespace {

// Writes what the engine does to the display's gamma into a pipe, one line
// per call, so it can be read even after the writing process has died.
class PipeGamma final : public GammaOutput {
 public:
  explicit PipeGamma(int fd) : fd_(fd) {}
  void Save() override { Write("save"); }
  void Apply(const GammaRamp& ramp) override { Write("apply " + std::to_string(ramp.red[127])); }
  void Restore() override { Write("restore"); }
  void Write(const std::string& line) {
    std::string text = line + "\n";
    ssize_t written = write(fd_, text.data(), text.size());
    (void)written;
  }

 private:
  int fd_;
};

// Everything the pipe holds once `last` has been read, or after 10 s.
std::string ReadUntil(int fd, const std::string& last) {
  std::string text;
  for (int waited = 0; waited < 10000 && text.find(last) == std::string::npos; waited += 50) {
    pollfd request{fd, POLLIN, 0};
    if (poll(&request, 1, 50) <= 0) continue;
    char buffer[256];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

// The wait status of the child, killing it after 10 s if it has not ended.
int WaitForEnd(pid_t child) {
  int status = 0;
  for (int waited = 0; waited < 10000; waited += 10) {
    if (waitpid(child, &status, WNOHANG) == child) return status;
    usleep(10000);
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return status;
}

class DisplayRestore : public EngineSession {
 protected:
  // The display's ramp carries the brightness only where frames are not
  // presented through a framebuffer.
  void SetUp() override {
    EngineSession::SetUp();
    AllowFramebufferObjects(false);
    ASSERT_EQ(pipe(fds_), 0);
  }
  void TearDown() override {
    EngineSession::TearDown();
    AllowFramebufferObjects(true);
    SetGammaOutput(nullptr);
    close(fds_[0]);
    close(fds_[1]);
  }
  int fds_[2] = {-1, -1};
};

TEST_F(DisplayRestore, TheSavedRampComesBackWhenTheEngineStops) {
  PipeGamma gamma(fds_[1]);
  SetGammaOutput(&gamma);
  Settings.brightness = 1;
  ASSERT_TRUE(StartGameEngine(config_));
  ApplyBrightness(2);  // as the options screen does
  StopEngine();
  gamma.Write("end");
  EXPECT_EQ(ReadUntil(fds_[0], "end"), "save\napply 26068\napply 20738\nrestore\nend\n");
}

// Ctrl+C, kill and a closing terminal ask the game to end as Exit does: the
// desktop stays as it is until the flow stops the engine, and the process
// ends normally. SIGQUIT (and a second Ctrl+C) puts the desktop back and
// then ends the process by that signal.
TEST_F(DisplayRestore, QuitSignalsAskTheGameToEndAndSigquitRestoresBeforeItEnds) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      PipeGamma gamma(fds_[1]);
      SetGammaOutput(&gamma);
      Settings.brightness = 2;
      if (!StartGameEngine(config_)) _exit(3);
      gamma.Write("started");
      while (!QuitRequested()) usleep(1000);
      gamma.Write("quit");
      StopEngine();
      _exit(0);
    }
    std::string before = ReadUntil(fds_[0], "started");
    EXPECT_EQ(before, "save\napply 20738\nstarted\n") << "signal " << signal;
    kill(child, signal);
    int status = WaitForEnd(child);
    if (signal == SIGQUIT) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGQUIT) << status;
      EXPECT_EQ(ReadUntil(fds_[0], "restore"), "restore\n");
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
          << "signal " << signal << ": " << status;
      EXPECT_EQ(ReadUntil(fds_[0], "restore"), "quit\nrestore\n") << "signal " << signal;
    }
  }
}

}  // namespace
