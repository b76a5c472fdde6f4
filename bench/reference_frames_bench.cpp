// The yardstick for the gameplay frame rate: the least a frame of this
// engine can do at the same window size. Clear, one textured quad over the
// whole window, present.
//
//   reference_frames_bench ASSET_DIR [frames] [texture]
//
// With the texture "none" no quad is drawn: the frame is the clear and the
// present alone, which through the framebuffer is the present pass's cost.
//
// Needs DISPLAY. Prints one line:
//   reference frames=N fps=F cpu_us_per_frame=C first_frame_ms=A peak_rss_kb=K texture=WxH
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/frame_rate/frame_stats.h"
#include "game/object_drawing.h"
#include "game/screen_frame.h"
#include "platform/engine.h"
#include "platform/gl_table.h"
#include "resources/settings.h"
#include "resources/texture.h"

namespace {

// The whole clip square; drawn with identity matrices it fills the window.
constexpr QuadVertex kFullWindow[6] = {{-1, 1, 0, 1},  {1, 1, 1, 1},  {-1, -1, 0, 0},
                                       {-1, -1, 0, 0}, {1, 1, 1, 1},  {1, -1, 1, 0}};

constexpr const char* kNoQuad = "none";

void DrawFrame(const Texture* texture) {
  BeginScreenFrame();
  if (texture) {
    texture->Bind();
    DrawTriangles(kFullWindow, 0);
  }
  EndScreenFrame();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s ASSET_DIR [frames] [texture]\n", argv[0]);
    return 2;
  }
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
  const char* picture = argc > 3 ? argv[3] : "textures/gameplay/background0.tga";
  constexpr int kWarmUp = 30;

  if (!frame_stats::StartBenchEngine(argv[1], false)) {
    std::fprintf(stderr, "reference_frames_bench: the engine did not start\n");
    StopEngine();
    return 1;
  }
  int status = 0;
  {
    Texture texture;
    const bool quad = std::strcmp(picture, kNoQuad) != 0;
    if (quad && !texture.Load(picture, false)) {
      std::fprintf(stderr, "reference_frames_bench: cannot load %s\n", picture);
      status = 1;
    } else {
      gl.glMatrixMode(GL_PROJECTION);
      gl.glLoadIdentity();
      gl.glMatrixMode(GL_MODELVIEW);
      gl.glColor4f(1, 1, 1, 1);

      DrawFrame(quad ? &texture : nullptr);
      const double firstFrameMs = frame_stats::MsSinceStart();
      for (int i = 1; i < kWarmUp; ++i) DrawFrame(quad ? &texture : nullptr);
      const auto from = frame_stats::Clock::now();
      const double cpuFrom = frame_stats::ProcessCpuSeconds();
      for (int i = 0; i < frames; ++i) DrawFrame(quad ? &texture : nullptr);
      const double cpuTo = frame_stats::ProcessCpuSeconds();
      const auto to = frame_stats::Clock::now();

      std::printf("reference frames=%d fps=%.1f cpu_us_per_frame=%.0f first_frame_ms=%.0f peak_rss_kb=%ld "
                  "texture=%dx%d\n",
                  frames, frame_stats::FramesPerSecond(frames, from, to), 1e6 * (cpuTo - cpuFrom) / frames,
                  firstFrameMs, frame_stats::PeakResidentKb(),
                  texture.width, texture.height);
    }
  }
  StopEngine();
  return status;
}
