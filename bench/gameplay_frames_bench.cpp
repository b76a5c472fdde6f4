// Frame rate of play: the real gameplay loop in a busy level, its ship held
// on thrust, turn and fire by scripted keys, for a fixed number of frames.
//
//   gameplay_frames_bench ASSET_DIR [glsl 0|1] [frames] [level]
//
// Needs DISPLAY (the bench script starts a private Xvfb). Prints one line:
//   gameplay glsl=G frames=N fps=F cpu_us_per_frame=C first_frame_ms=A
//            first_play_frame_ms=B peak_rss_kb=K ...
// cpu_us_per_frame: CPU time of all the program's threads per measured frame;
// first_frame_ms: process start to the first frame presented once the engine
// is up; first_play_frame_ms: to the first frame of play, after every texture
// and shader is loaded.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/frame_rate/frame_stats.h"
#include "frontend/front_end.h"
#include "game/gameplay_loop.h"
#include "game/level.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "game/screen_frame.h"
#include "platform/engine.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "resources/shader_program.h"

namespace {

using frame_stats::Clock;

// The gameplay loop snapshots the keys once at the top of every frame, so
// the n-th call marks the end of frame n - 1. Holds thrust, left and fire;
// presses Q once the warm-up and the measured frames are done.
class HeldKeys : public InputScript {
 public:
  HeldKeys(int warmUp, int measured) : warmUp(warmUp), measured(measured) {
    stamps.reserve(static_cast<std::size_t>(warmUp + measured + 2));
  }

  void Keys(uint8_t destination[kKeyCount]) override {
    stamps.push_back(Clock::now());
    const int call = static_cast<int>(stamps.size()) - 1;
    if (call == warmUp) cpuFrom = frame_stats::ProcessCpuSeconds();
    if (call == warmUp + measured) cpuTo = frame_stats::ProcessCpuSeconds();
    std::memset(destination, 0, kKeyCount);
    if (Done()) {
      destination[kKeyQ] = kPressedBit;
      return;
    }
    destination[kKeyUp] = kPressedBit;
    destination[kKeyLeft] = kPressedBit;
    destination[kKeySpace] = kPressedBit;
  }
  void Mouse(MouseState* destination) override { *destination = MouseState{}; }

  // Frame n (1-based) has been presented once call n + 1 was made.
  bool Done() const { return static_cast<int>(stamps.size()) > warmUp + measured; }
  int FramesSeen() const { return static_cast<int>(stamps.size()) - 1; }

  std::vector<Clock::time_point> stamps;
  double cpuFrom = 0;  // CPU seconds at the start and the end of the measured frames
  double cpuTo = 0;
  const int warmUp;
  const int measured;
};

int Fail(const char* what) {
  std::fprintf(stderr, "gameplay_frames_bench: %s\n", what);
  StopEngine();
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s ASSET_DIR [glsl 0|1] [frames] [level]\n", argv[0]);
    return 2;
  }
  const bool glsl = argc > 2 && std::atoi(argv[2]) != 0;
  const int frames = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000;
  const int levelNumber = argc > 4 ? std::clamp(std::atoi(argv[4]), 1, kLevelCount) : 14;
  constexpr int kWarmUp = 30;

  if (!frame_stats::StartBenchEngine(argv[1], glsl)) return Fail("the engine did not start");
  // The same choice and GL state the game makes right after its start.
  if (!gl.arbShadingLanguage100) Settings.glslEnabled = false;
  gl.glEnable(GL_DEPTH_TEST);
  gl.glDepthFunc(GL_LEQUAL);
  gl.glShadeModel(GL_SMOOTH);

  // What the player would see first: an empty frame as soon as it can be.
  BeginScreenFrame();
  EndScreenFrame();
  const double firstFrameMs = frame_stats::MsSinceStart();

  LoadCatalogue();
  LoadShaders();

  frontEnd.gameTimer = AcquireTimer();
  FillLevelTable();
  playerRecord = new PlayerRecord(frontEnd.gameTimer);
  playerRecord->Reset();
  objectList = new ObjectList(frontEnd.gameTimer);
  levelCounters.currentLevel = static_cast<uint16_t>(levelNumber);

  HeldKeys keys(kWarmUp, frames);
  InstallInputScript(&keys);
  int restarts = 0;
  int shots = 0;
  int mostObjects = 0;
  // A lost game (or, rarely, a cleared level) ends the loop early: play the
  // level again from the start until enough frames have been drawn.
  while (!keys.Done()) {
    if (playerRecord->lives < 0) playerRecord->Reset();
    Level level(levelCounters.currentLevel);
    objectList->ResetClock();
    mostObjects = std::max(mostObjects, objectList->Count());
    GameplayLoop(level, frontEnd.gameTimer, nullptr);
    shots += level.shotCount;
    if (!keys.Done()) ++restarts;
  }
  InstallInputScript(nullptr);

  const double firstPlayFrameMs = frame_stats::MsSinceStart(keys.stamps[1]);
  const double fps = frame_stats::FramesPerSecond(frames, keys.stamps[kWarmUp], keys.stamps[kWarmUp + frames]);
  const long peakKb = frame_stats::PeakResidentKb();

  objectList->KillAll();
  objectList->RemoveDead();
  delete objectList;
  objectList = nullptr;
  ReleaseResources();
  ReleaseShaders();
  StopEngine();

  const double cpuUsPerFrame = 1e6 * (keys.cpuTo - keys.cpuFrom) / frames;
  std::printf(
      "gameplay glsl=%d frames=%d fps=%.1f cpu_us_per_frame=%.0f first_frame_ms=%.0f first_play_frame_ms=%.0f "
      "peak_rss_kb=%ld level=%d restarts=%d shots=%d objects_at_start=%d\n",
      Settings.glslEnabled ? 1 : 0, frames, fps, cpuUsPerFrame, firstFrameMs, firstPlayFrameMs, peakKb,
      levelNumber, restarts, shots, mostObjects);
  if (glsl && !Settings.glslEnabled) std::fprintf(stderr, "gameplay_frames_bench: no GLSL on this display\n");
  return 0;
}
