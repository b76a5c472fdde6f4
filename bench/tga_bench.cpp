// TGA decoding against stb_image on the same files, and mipmap chains.
// Prints each decoder's throughput and, at the end, the speed ratio
// ours / stb_image per file (1.0 or more: ours is at least as fast).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "platform/gl_table.h"
#include "resources/tga.h"
#include "resources/tga_writer.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

struct BenchFile {
  std::string name;
  int side;
  int bits;
  TgaEncoding encoding;
};

const std::vector<BenchFile>& Files() {
  static const std::vector<BenchFile> files = [] {
    std::vector<BenchFile> list;
    for (int side : {512, 1024}) {
      for (int bits : {24, 32}) {
        for (TgaEncoding encoding : {TgaEncoding::Uncompressed, TgaEncoding::RunLength}) {
          list.push_back({std::to_string(side) + "x" + std::to_string(side) + "_" + std::to_string(bits) +
                              (encoding == TgaEncoding::RunLength ? "_rle" : "_raw") + ".tga",
                          side, bits, encoding});
        }
      }
    }
    return list;
  }();
  return files;
}

// Something like the game's art: flat panels and gradients with a noisy
// quarter, so run-length files hold both runs and literal stretches.
std::vector<uint8_t> Picture(int side) {
  std::vector<uint8_t> rgba(static_cast<std::size_t>(side) * side * 4);
  uint32_t state = 1;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      uint8_t* p = &rgba[(static_cast<std::size_t>(y) * side + x) * 4];
      state = state * 214013 + 2531011;
      const bool noisy = x < side / 2 && y < side / 2;
      const uint8_t panel = static_cast<uint8_t>(((x / 32) ^ (y / 32)) * 37);
      p[0] = noisy ? static_cast<uint8_t>(state >> 16) : panel;
      p[1] = noisy ? static_cast<uint8_t>(state >> 24) : static_cast<uint8_t>(y * 255 / side);
      p[2] = panel;
      p[3] = 255;
    }
  }
  return rgba;
}

std::filesystem::path directory;

void WriteFiles() {
  directory = std::filesystem::temp_directory_path() / ("ss-tga-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  for (const BenchFile& file : Files()) {
    const std::vector<uint8_t> rgba = Picture(file.side);
    WriteTga((directory / file.name).c_str(), TgaImage{file.side, file.side, 4, false, rgba.data()}, file.bits,
             file.encoding);
  }
  StartAssetDirectoryAt((directory.string() + "/").c_str());
}

void OurDecoder(benchmark::State& state, const BenchFile& file) {
  for (auto _ : state) {
    AssetFile handle = nullptr;
    OpenAssetFile(file.name.c_str(), "rb", &handle);
    DecodedImage image;
    if (!DecodeTga(handle, &image)) state.SkipWithError("decode failed");
    AssetClose(handle);
    benchmark::DoNotOptimize(image.pixels.get());
  }
  state.SetBytesProcessed(state.iterations() * file.side * file.side * (file.bits / 8));
}

void StbDecoder(benchmark::State& state, const BenchFile& file) {
  const std::string path = (directory / file.name).string();
  for (auto _ : state) {
    int width, height, channels;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 0);
    if (!pixels) state.SkipWithError("stb_image failed");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
  state.SetBytesProcessed(state.iterations() * file.side * file.side * (file.bits / 8));
}

void NoUpload(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*) {}
void NoStore(GLenum, GLint) {}
void NoParameter(GLenum, GLenum, GLint) {}

void MipmapChain(benchmark::State& state, int components) {
  gl.glTexImage2D = &NoUpload;
  gl.glPixelStorei = &NoStore;
  gl.glTexParameteri = &NoParameter;
  const std::vector<uint8_t> pixels = Picture(1024);
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildMipmaps(GL_TEXTURE_2D, components, 1024, 1024,
                                          components == 3 ? GL_RGB : GL_RGBA, pixels.data()));
  }
  state.SetBytesProcessed(state.iterations() * 1024 * 1024 * components);
}

// Keeps every run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  WriteFiles();
  for (const BenchFile& file : Files()) {
    benchmark::RegisterBenchmark(("ours/" + file.name).c_str(), OurDecoder, file)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("stb_image/" + file.name).c_str(), StbDecoder, file)->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("mipmaps/1024_rgba", MipmapChain, 4)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("mipmaps/1024_rgb", MipmapChain, 3)->Unit(benchmark::kMicrosecond);

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nspeed of our decoder relative to stb_image (>= 1.0 means ours is as fast or faster):\n");
  for (const BenchFile& file : Files()) {
    const auto ours = reporter.times.find("ours/" + file.name);
    const auto stb = reporter.times.find("stb_image/" + file.name);
    if (ours == reporter.times.end() || stb == reporter.times.end()) continue;
    std::printf("  %-22s %.2f\n", file.name.c_str(), stb->second / ours->second);
  }
  benchmark::Shutdown();
  StopAssetDirectory();
  std::filesystem::remove_all(directory);
  return 0;
}
