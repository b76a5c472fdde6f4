// The whole generated catalogue loaded two ways in one run: on the loader
// thread with the main thread servicing the upload hand-off every frame (as
// the title screen does), and the same decoding and uploading on the main
// thread alone. The GL and AL tables hold stand-ins that copy what a driver
// would copy, so the figures are the game's own work plus the hand-off.
// Every repetition begins with one untimed load; each way reports the median
// of its repetitions, and the last lines give threaded / main thread only.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/sound_effect.h"
#include "platform/asset_directory.h"
#include "platform/gl_table.h"
#include "resources/image_resource.h"
#include "resources/loader.h"
#include "resources/settings.h"

namespace {

using Clock = std::chrono::steady_clock;

// The generated tree: <build>/bin/base, beside this program's <build>/bench.
std::string GeneratedBase() {
  char exe[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (length <= 0) return "";
  const std::filesystem::path base =
      std::filesystem::path(std::string(exe, length)).parent_path().parent_path() / "bin" / "base";
  return std::filesystem::exists(base / "textures/gameplay/asteroid0.tga") ? base.string() + "/" : "";
}

// Main thread only, like the driver it stands for.
std::vector<uint8_t> driverMemory;
GLuint nextTexture = 1;

void GenTextures(GLsizei n, GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) names[i] = nextTexture++;
}
void TexImage2D(GLenum, GLint, GLint components, GLsizei width, GLsizei height, GLint, GLenum,
                GLenum, const GLvoid* pixels) {
  const std::size_t size = static_cast<std::size_t>(width) * height * (components == 3 ? 3 : 4);
  if (driverMemory.size() < size) driverMemory.resize(size);
  std::memcpy(driverMemory.data(), pixels, size);
  benchmark::DoNotOptimize(driverMemory.data());
}
void Ignore2(GLenum, GLuint) {}
void Ignore2i(GLenum, GLint) {}
void Ignore3i(GLenum, GLenum, GLint) {}
void Ignore1(GLenum) {}
void DeleteTextures(GLsizei, const GLuint*) {}

void GenAl(ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) names[i] = 1;
}
void BufferData(ALuint, ALenum, const ALvoid* data, ALsizei size, ALsizei) {
  std::vector<uint8_t> copy(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  benchmark::DoNotOptimize(copy.data());
}
void SourceI(ALuint, ALenum, ALint) {}
void SourceF(ALuint, ALenum, ALfloat) {}

void InstallStandIns() {
  gl = GlTable{};
  gl.glGenTextures = GenTextures;
  gl.glTexImage2D = TexImage2D;
  gl.glBindTexture = Ignore2;
  gl.glPixelStorei = Ignore2i;
  gl.glTexParameteri = Ignore3i;
  gl.glEnable = Ignore1;
  gl.glDeleteTextures = DeleteTextures;
  alTable = AlTable{};
  alTable.alGenSources = GenAl;
  alTable.alGenBuffers = GenAl;
  alTable.alBufferData = BufferData;
  alTable.alSourcei = SourceI;
  alTable.alSourcef = SourceF;
}

bool Prepare(benchmark::State& state) {
  const std::string base = GeneratedBase();
  if (base.empty()) {
    state.SkipWithError("no generated asset tree in <build>/bin/base: build the assets target first");
    return false;
  }
  StartAssetDirectoryAt(base.c_str());
  InstallStandIns();
  Settings.glslEnabled = state.range(0) != 0;
  Settings.soundEnabled = false;  // the stand-ins own no names to delete
  return true;
}

void Finish() {
  StopAssetDirectory();
  gl = GlTable{};
  alTable = AlTable{};
}

// The game loads its catalogue once, on memory it has not used before. Each
// load starts with the allocator's free memory handed back to the system, so
// that neither way reuses pages faulted in by an earlier load (which one
// would depends on which ran before and on which thread).
template <typename Load>
double TimedLoad(Load load) {
  malloc_trim(0);
  const Clock::time_point start = Clock::now();
  load();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  ReleaseResources();  // also releases the ended loader thread
  return seconds;
}

// From StartLoader to the loader's last act. Each frame of the main thread
// services the hand-off and yields the rest of its time slice, as the title
// screen's frame does after presenting; the drawing itself costs the
// stand-ins nothing.
void BM_LoadOnLoaderThread(benchmark::State& state) {
  if (!Prepare(state)) return;
  int64_t frames = 0;
  const auto load = [&frames] {
    StartLoader();
    while (IsLoaderRunning()) {
      ServicePendingUpload();
      std::this_thread::yield();
      ++frames;
    }
  };
  TimedLoad(load);
  frames = 0;
  for (auto _ : state) state.SetIterationTime(TimedLoad(load));
  state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
  Finish();
}

// The same decoding and uploading with no loader thread at all.
void BM_LoadOnMainThreadOnly(benchmark::State& state) {
  if (!Prepare(state)) return;
  const auto load = [] {
    LoadCatalogue();
    LoadShipSounds();
  };
  TimedLoad(load);
  for (auto _ : state) state.SetIterationTime(TimedLoad(load));
  Finish();
}

// Keeps the median of every benchmark so the ratios can be printed at the end.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") medians[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

}  // namespace

BENCHMARK(BM_LoadOnLoaderThread)->ArgName("glsl")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_LoadOnMainThreadOnly)->ArgName("glsl")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nthreaded / main thread only, medians (target <= 1.1):\n");
  for (const char* glsl : {"glsl:1", "glsl:0"}) {
    const auto threaded = reporter.medians.find(std::string("BM_LoadOnLoaderThread/") + glsl);
    const auto alone = reporter.medians.find(std::string("BM_LoadOnMainThreadOnly/") + glsl);
    if (threaded == reporter.medians.end() || alone == reporter.medians.end()) continue;
    std::printf("  %s  %.3f\n", glsl, threaded->second / alone->second);
  }
  benchmark::Shutdown();
  return 0;
}
