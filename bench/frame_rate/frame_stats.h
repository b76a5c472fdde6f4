#pragma once
// Small helpers the frame-rate programs share: a clock that starts with the
// process, the CPU time of all its threads, the peak resident set from /proc.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>

#include "app/engine_start.h"
#include "platform/offscreen_frame.h"
#include "resources/settings.h"

namespace frame_stats {

using Clock = std::chrono::steady_clock;

// Taken while static objects are constructed, before main runs.
inline const Clock::time_point processStart = Clock::now();

inline double MsSinceStart(Clock::time_point when = Clock::now()) {
  return std::chrono::duration<double, std::milli>(when - processStart).count();
}

// VmHWM of this process in KiB; -1 when /proc cannot be read.
inline long PeakResidentKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  long kb = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) {
      std::sscanf(line + 6, "%ld", &kb);
      break;
    }
  }
  std::fclose(status);
  return kb;
}

// CPU seconds used so far by every thread of this process (the GL
// rasteriser's workers included). Unlike the frame rate it hardly moves when
// other programs share the cores, so it compares runs on a busy machine.
inline double ProcessCpuSeconds() {
  timespec now{};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0) return 0;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline double FramesPerSecond(int frames, Clock::time_point from, Clock::time_point to) {
  const double seconds = std::chrono::duration<double>(to - from).count();
  return seconds > 0 ? frames / seconds : 0;
}

// Starts the engine windowed at 640 × 480 on the given asset tree, silent,
// with shaders as asked. False when the engine did not start. For measuring
// the present pass the environment may change the set-up:
//   BENCH_SCREEN=WxH      the game's resolution
//   BENCH_FULL_SCREEN=1   desktop full screen (the picture scaled to the screen)
//   BENCH_PRESENT=0       no framebuffer: frames go straight into the window
inline bool StartBenchEngine(const char* assetDirectory, bool glsl) {
  Settings.screenWidth = 640;
  Settings.screenHeight = 480;
  if (const char* screen = std::getenv("BENCH_SCREEN")) {
    int width = 0, height = 0;
    if (std::sscanf(screen, "%dx%d", &width, &height) == 2 && width > 0 && height > 0) {
      Settings.screenWidth = width;
      Settings.screenHeight = height;
    }
  }
  const char* fullScreen = std::getenv("BENCH_FULL_SCREEN");
  const char* present = std::getenv("BENCH_PRESENT");
  AllowFramebufferObjects(!(present && std::strcmp(present, "0") == 0));
  Settings.colorDepth = 32;
  Settings.fullScreen = fullScreen && std::strcmp(fullScreen, "1") == 0;
  Settings.soundEnabled = false;
  Settings.glslEnabled = glsl;
  Settings.glslRequested = glsl;
  EngineConfig config;
  config.assetDirectory = assetDirectory;
  return StartGameEngine(config);
}

}  // namespace frame_stats
