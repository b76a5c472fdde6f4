// The whole generated catalogue loaded two ways in one run: on the loader
// thread with the main thread servicing the upload hand-off every frame (as
// the title screen does), and the same decoding and uploading on the main
// thread alone. The GL and AL tables hold stand-ins that copy what a driver
// would copy, so the figures are the game's own work plus the hand-off.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
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

// From StartLoader to the loader's last act, the main thread looping over
// frames that only service the hand-off and yield.
void BM_LoadOnLoaderThread(benchmark::State& state) {
  if (!Prepare(state)) return;
  int64_t frames = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    StartLoader();
    while (IsLoaderRunning()) {
      ServicePendingUpload();
      std::this_thread::yield();
      ++frames;
    }
    const Clock::time_point end = Clock::now();
    StopLoader();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    ReleaseResources();
  }
  state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
  Finish();
}

// The same decoding and uploading with no loader thread at all.
void BM_LoadOnMainThreadOnly(benchmark::State& state) {
  if (!Prepare(state)) return;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    LoadCatalogue();
    LoadShipSounds();
    const Clock::time_point end = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    ReleaseResources();
  }
  Finish();
}

}  // namespace

BENCHMARK(BM_LoadOnLoaderThread)->ArgName("glsl")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadOnMainThreadOnly)->ArgName("glsl")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
