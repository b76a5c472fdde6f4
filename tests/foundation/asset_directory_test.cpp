#include "platform/asset_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

std::string ReadAll(AssetFile file) {
  std::string bytes;
  char chunk[64];
  for (std::size_t got; (got = AssetRead(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, got);
  return bytes;
}

// The file's whole text, or "<none>" when it does not open.
std::string OpenAndRead(const std::string& relativePath) {
  AssetFile file;
  OpenAssetFile(relativePath.c_str(), "rb", &file);
  if (!file) return "<none>";
  std::string bytes = ReadAll(file);
  AssetClose(file);
  return bytes;
}

class AssetDirectoryTest : public ::testing::Test {
 protected:
  void TearDown() override { StopAssetDirectory(); }
  TempDir dir;
};

TEST_F(AssetDirectoryTest, BaseFolderBesideTheExecutable) {
  dir.WriteFile("games/x/base/config/ss.rep", "settings");
  const std::string executable = (dir / "games/x/game").string();
  ASSERT_TRUE(StartAssetDirectoryFor(executable.c_str()));
  EXPECT_EQ(AssetDirectory(), dir.withSlash() + "games/x/base/");
  EXPECT_EQ(OpenAndRead("config/ss.rep"), "settings");
}

TEST_F(AssetDirectoryTest, BareExecutableNameMeansTheWorkingDirectory) {
  dir.WriteFile("base/config/ss.rep", "here");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  ASSERT_TRUE(StartAssetDirectoryFor("game"));
  EXPECT_STREQ(AssetDirectory(), "base/");
  const std::string bytes = OpenAndRead("config/ss.rep");
  std::filesystem::current_path(previous);
  EXPECT_EQ(bytes, "here");
}

TEST_F(AssetDirectoryTest, RealExecutableGivesItsOwnFolder) {
  ASSERT_TRUE(StartAssetDirectory());
  const auto executable = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(AssetDirectory(), executable.parent_path().string() + "/base/");
}

// Writes a file through the asset directory; false when it does not open.
bool WriteThrough(const std::string& relativePath, const std::string& bytes) {
  AssetFile file;
  OpenAssetFile(relativePath.c_str(), "wb", &file);
  if (!file) return false;
  AssetWrite(bytes.data(), 1, bytes.size(), file);
  AssetClose(file);
  return true;
}

// An installed copy reads the shared tree, writes only below the per-user
// directory (creating it), and a player's file there wins over the shared one.
TEST_F(AssetDirectoryTest, InstalledCopyKeepsWhatItWritesPerUser) {
  dir.WriteFile("usr/share/starfield-stampede/base/config/ss.rep", "defaults");
  dir.WriteFile("usr/share/starfield-stampede/base/textures/a.tga", "shared");
  dir.WriteFile("usr/bin/starfield-stampede", "");
  const std::string executable = (dir / "usr/bin/starfield-stampede").string();
  const std::string data = (dir / "data").string();
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  ASSERT_TRUE(StartAssetDirectoryFor(executable.c_str()));
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(AssetDirectory(), dir.withSlash() + "usr/bin/../share/starfield-stampede/base/");
  EXPECT_EQ(AssetWriteDirectory(), data + "/starfield-stampede/");

  EXPECT_EQ(OpenAndRead("config/ss.rep"), "defaults") << "first start reads the installed defaults";
  ASSERT_TRUE(WriteThrough("config/ss.rep", "mine"));
  EXPECT_EQ(OpenAndRead("config/ss.rep"), "mine");
  EXPECT_EQ(dir.ReadFile("data/starfield-stampede/config/ss.rep"), "mine");
  EXPECT_EQ(dir.ReadFile("usr/share/starfield-stampede/base/config/ss.rep"), "defaults");

  dir.WriteFile("data/starfield-stampede/textures/a.tga", "override");
  EXPECT_EQ(OpenAndRead("textures/a.tga"), "override");
  EXPECT_EQ(OpenAndRead("missing.tga"), "<none>");

  // Without XDG_DATA_HOME the XDG default below $HOME.
  const std::string home = (dir / "home").string();
  const char* previousHome = std::getenv("HOME");
  const std::string savedHome = previousHome ? previousHome : "";
  setenv("HOME", home.c_str(), 1);
  ASSERT_TRUE(StartAssetDirectoryFor(executable.c_str()));
  setenv("HOME", savedHome.c_str(), 1);
  EXPECT_EQ(AssetWriteDirectory(), home + "/.local/share/starfield-stampede/");
}

TEST_F(AssetDirectoryTest, InPlaceWritesRecreateMissingFolders) {
  dir.WriteFile("games/x/base/readme.txt", "x");
  ASSERT_TRUE(StartAssetDirectoryFor((dir / "games/x/game").string().c_str()));
  EXPECT_STREQ(AssetWriteDirectory(), AssetDirectory());
  ASSERT_TRUE(WriteThrough("config/ss.rep", "saved")) << "config/ was deleted";
  EXPECT_EQ(dir.ReadFile("games/x/base/config/ss.rep"), "saved");
}

TEST_F(AssetDirectoryTest, ExplicitDirectories) {
  dir.WriteFile("f.txt", "f");
  const std::string plain = dir.path().string();
  ASSERT_TRUE(StartAssetDirectoryAt(plain.c_str()));
  EXPECT_EQ(AssetDirectory(), plain + "/") << "the separator is added";
  EXPECT_EQ(OpenAndRead("f.txt"), "f");

  // An empty directory lets absolute paths through.
  ASSERT_TRUE(StartAssetDirectoryAt(""));
  EXPECT_TRUE(AssetDirectoryStarted());
  EXPECT_EQ(OpenAndRead((dir / "f.txt").string()), "f");

  EXPECT_FALSE(StartAssetDirectoryAt(nullptr));
  EXPECT_EQ(OpenAndRead((dir / "f.txt").string()), "<none>");
}

TEST_F(AssetDirectoryTest, StoppedDirectoryOpensNothing) {
  dir.WriteFile("f.txt", "f");
  ASSERT_TRUE(StartAssetDirectoryAt(dir.withSlash().c_str()));
  EXPECT_TRUE(StopAssetDirectory());
  EXPECT_FALSE(AssetDirectoryStarted());
  EXPECT_STREQ(AssetDirectory(), "");
  AssetFile file = stdin;  // must be overwritten
  OpenAssetFile("f.txt", "rb", &file);
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(OpenAndRead("missing.txt"), "<none>");
}

// A relative path of exactly `length` characters under nested folders (no
// name may exceed 255), ending in a file name of `length` - prefix.
std::string PathOfLength(std::size_t length, const std::string& folders) {
  return folders + std::string(length - folders.size(), 'f');
}

TEST_F(AssetDirectoryTest, JoinedPathMustFitIn1024Bytes) {
  const std::string base = dir.withSlash();
  ASSERT_TRUE(StartAssetDirectoryAt(base.c_str()));
  const std::size_t fits = kAssetPathLimit - 1 - base.size();
  std::string folders;
  while (fits - folders.size() > 250) folders += std::string(200, 'd') + "/";
  const std::string longest = PathOfLength(fits, folders);
  const std::string tooLong = PathOfLength(fits + 1, folders);
  dir.WriteFile(longest, "1023");
  dir.WriteFile(tooLong, "1024");

  EXPECT_EQ(OpenAndRead(longest), "1023");
  EXPECT_EQ(OpenAndRead(tooLong), "<none>") << "the file exists but its path is too long";
}

TEST_F(AssetDirectoryTest, DirectoryThatCannotHoldBaseStaysStopped) {
  // "<folder>/" + "base/" + terminator must fit in 1024 bytes.
  const std::string longestFolder = "/" + std::string(1016, 'a') + "/";
  ASSERT_TRUE(StartAssetDirectoryFor((longestFolder + "game").c_str()));
  EXPECT_EQ(std::strlen(AssetDirectory()), kAssetPathLimit - 1);

  const std::string tooLongFolder = "/" + std::string(1017, 'a') + "/";
  EXPECT_FALSE(StartAssetDirectoryFor((tooLongFolder + "game").c_str()));
  EXPECT_FALSE(AssetDirectoryStarted());
  EXPECT_STREQ(AssetDirectory(), "");

  EXPECT_TRUE(StartAssetDirectoryAt(std::string(1022, 'a').c_str()));
  EXPECT_FALSE(StartAssetDirectoryAt(std::string(1023, 'a').c_str()));
  EXPECT_STREQ(AssetDirectory(), "");
}

TEST_F(AssetDirectoryTest, ReadsTakeWholeItemsAndRaiseEofOnlyAtTheEnd) {
  dir.WriteFile("six.bin", "ABCDEF");
  ASSERT_TRUE(StartAssetDirectoryAt(dir.withSlash().c_str()));
  AssetFile file;
  OpenAssetFile("six.bin", "rb", &file);
  ASSERT_NE(file, nullptr);

  uint32_t value = 0;
  EXPECT_EQ(AssetRead(&value, 4, 1, file), 1u);
  EXPECT_FALSE(AssetEof(file));
  EXPECT_EQ(AssetTell(file), 4);

  // Two bytes remain: no whole item, and the destination keeps its value.
  value = 0x11223344;
  EXPECT_EQ(AssetRead(&value, 4, 1, file), 0u);
  EXPECT_EQ(value, 0x11223344u);
  EXPECT_TRUE(AssetEof(file));

  ASSERT_TRUE(AssetSeek(file, 0, SEEK_SET));
  EXPECT_FALSE(AssetEof(file));
  char pairs[8] = "xxxxxxx";
  EXPECT_EQ(AssetRead(pairs, 4, 2, file), 1u);
  EXPECT_STREQ(pairs, "ABCDxxx");
  AssetClose(file);
}

TEST_F(AssetDirectoryTest, WriteSeekAndNullHandles) {
  ASSERT_TRUE(StartAssetDirectoryAt(dir.withSlash().c_str()));
  AssetFile file;
  OpenAssetFile("out.bin", "w+b", &file);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(AssetWrite("data", 1, 4, file), 4u);
  EXPECT_TRUE(AssetFlush(file));
  EXPECT_EQ(dir.ReadFile("out.bin"), "data");
  EXPECT_TRUE(AssetSeek(file, -2, SEEK_END));
  EXPECT_EQ(ReadAll(file), "ta");
  AssetClose(file);

  char byte = 'z';
  EXPECT_EQ(AssetRead(&byte, 1, 1, nullptr), 0u);
  EXPECT_EQ(byte, 'z');
  EXPECT_EQ(AssetWrite(&byte, 1, 1, nullptr), 0u);
  EXPECT_FALSE(AssetSeek(nullptr, 0, SEEK_SET));
  EXPECT_EQ(AssetTell(nullptr), -1);
  EXPECT_TRUE(AssetEof(nullptr));
  EXPECT_FALSE(AssetFlush(nullptr));
  AssetClose(nullptr);
}

}  // namespace
