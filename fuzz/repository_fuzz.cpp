// Feeds arbitrary bytes to Repository::Load as a file, reads from what it
// kept, saves that and checks that the saved file loads back to the same
// records in reverse order.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/asset_directory.h"
#include "resources/repository.h"

namespace {

std::filesystem::path scratch;

void RemoveScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
}

bool StartScratch() {
  char pattern[] = "/tmp/repository_fuzz-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  scratch = pattern;
  std::atexit(RemoveScratch);
  return StartAssetDirectoryAt(pattern);
}

template <typename Record>
bool SameReversed(const std::vector<Record>& a, const std::vector<Record>& b, auto same) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!same(a[i], b[b.size() - 1 - i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = StartScratch();
  if (!started) std::abort();
  std::FILE* file = std::fopen((scratch / "in.rep").c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  Repository repository;
  repository.Load("in.rep");
  int32_t out = 0;
  repository.GetInt("StarfieldStampede", "HighScore", &out);
  for (std::size_t i = 0; i < repository.Values().size() && i < 16; ++i) {
    const RepositoryValue& value = repository.Values()[i];
    for (const auto& section : repository.Sections()) {
      repository.GetInt(section.name.c_str(), value.key.c_str(), &out);
    }
  }
  if (!repository.Save("out.rep")) std::abort();

  Repository again;
  bool kept = !repository.Sections().empty() && !repository.Values().empty();
  if (again.Load("out.rep") != kept) std::abort();
  if (!kept) return 0;
  bool same = again.Header() == repository.Header() &&
              SameReversed(repository.Sections(), again.Sections(),
                           [](const RepositorySection& a, const RepositorySection& b) {
                             return a.id == b.id && a.name == b.name;
                           }) &&
              SameReversed(repository.Values(), again.Values(),
                           [](const RepositoryValue& a, const RepositoryValue& b) {
                             return a.sectionId == b.sectionId && a.key == b.key &&
                                    a.type == b.type && a.data == b.data;
                           });
  if (!same) std::abort();
  return 0;
}
