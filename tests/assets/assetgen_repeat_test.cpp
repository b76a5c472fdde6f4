// The asset generator's pictures: the same bytes on every run, and a clear
// failure when it cannot write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "assets/generated_tree.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
const fs::path kBin = fs::path(SS_BIN_DIR);

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

int RunAssetgen(const std::string& arguments) {
  return std::system(((kBin / "assetgen").string() + " " + arguments + " >/dev/null 2>&1").c_str());
}

TEST(AssetGenerator, WritesTheSamePicturesOnEveryRun) {
  SKIP_WITHOUT_GENERATED_TREE();
  TempDir dir;
  ASSERT_EQ(RunAssetgen(dir.path().string() + " pictures"), 0);
  int compared = 0;
  for (const char* folder : {"textures", "fonts", "tbundles"}) {
    for (const auto& item : fs::recursive_directory_iterator(kGeneratedBase / folder)) {
      if (!item.is_regular_file()) continue;
      fs::path relative = fs::relative(item.path(), kGeneratedBase);
      SCOPED_TRACE(relative.string());
      ASSERT_TRUE(fs::exists(dir / relative.string()));
      EXPECT_TRUE(ReadFile(item.path()) == ReadFile(dir / relative.string())) << "bytes differ";
      ++compared;
    }
  }
  EXPECT_GT(compared, 50);
}

TEST(AssetGenerator, FailsWithAnErrorWhenItCannotWrite) {
  SKIP_WITHOUT_GENERATED_TREE();
  TempDir dir;
  dir.WriteFile("occupied", "a file where the tree should go");
  EXPECT_NE(RunAssetgen((dir / "occupied").string() + " pictures"), 0);
  EXPECT_NE(RunAssetgen(""), 0);
}

}  // namespace
