// assetgen OUTDIR [PART...]: writes the game's base/ tree into OUTDIR.
// PART limits the run to some of: pictures, sounds, music, shaders (all by
// default). Prints one progress line per part; exits 1 on any failure.
// assetgen --icons OUTDIR: writes the desktop icons in hicolor's layout
// (OUTDIR/<n>x<n>/apps/...), which the install puts under share/icons.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tools/assetgen/art/pictures.h"
#include "tools/assetgen/audio/audio_assets.h"
#include "tools/assetgen/icons/app_icon.h"
#include "tools/assetgen/shaders/shader_assets.h"

namespace {

bool WritePictures(const std::string& baseDir) {
  return art::WriteGameplayPictures(baseDir) && art::WriteScreenPictures(baseDir) &&
         art::WriteMenuBundles(baseDir) && art::WriteFontSheet(baseDir);
}

struct Part {
  const char* name;
  bool (*write)(const std::string&);
  int lane;  // parts of one lane run in order on one thread
};

// The pictures and the sound share nothing, so the two lanes run side by
// side and the slow music costs no extra wait.
const Part kParts[] = {
    {"pictures", WritePictures, 0},
    {"sounds", WriteSoundEffects, 1},
    {"music", WriteMusic, 1},
    {"shaders", WriteShaders, 1},
};

// Runs the chosen parts of one lane; false at the first failure.
bool RunLane(const std::vector<const Part*>& chosen, int lane, const std::string& baseDir) {
  for (const Part* part : chosen) {
    if (part->lane != lane) continue;
    auto start = std::chrono::steady_clock::now();
    if (!part->write(baseDir)) {
      std::fprintf(stderr, "assetgen: failed to write the %s into %s\n", part->name, baseDir.c_str());
      return false;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %s written into %s (%.1f s)\n", part->name, baseDir.c_str(), seconds);
    std::fflush(stdout);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: assetgen OUTDIR [pictures|sounds|music|shaders ...]\n"
                         "       assetgen --icons OUTDIR\n");
    return 2;
  }
  if (std::strcmp(argv[1], "--icons") == 0) {
    if (argc != 3 || argv[2][0] == '\0') {
      std::fprintf(stderr, "usage: assetgen --icons OUTDIR\n");
      return 2;
    }
    return icons::WriteAppIcons(argv[2]) ? 0 : 1;
  }
  std::string baseDir = argv[1];
  std::vector<const Part*> chosen;
  for (int i = 2; i < argc; ++i) {
    const Part* found = nullptr;
    for (const Part& part : kParts) {
      if (std::strcmp(part.name, argv[i]) == 0) found = &part;
    }
    if (found == nullptr) {
      std::fprintf(stderr, "assetgen: unknown part \"%s\" (pictures, sounds, music or shaders)\n", argv[i]);
      return 2;
    }
    chosen.push_back(found);
  }
  if (chosen.empty()) {
    for (const Part& part : kParts) chosen.push_back(&part);
  }

  std::error_code error;
  std::filesystem::create_directories(baseDir, error);
  if (!std::filesystem::is_directory(baseDir)) {
    std::fprintf(stderr, "assetgen: cannot create the folder %s\n", baseDir.c_str());
    return 1;
  }

  bool sound = false;
  std::thread soundLane([&] { sound = RunLane(chosen, 1, baseDir); });
  bool pictures = RunLane(chosen, 0, baseDir);
  soundLane.join();
  return pictures && sound ? 0 : 1;
}
