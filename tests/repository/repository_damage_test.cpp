#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/asset_directory.h"
#include "repository/repository_bytes.h"
#include "resources/repository.h"
#include "support/temp_dir.h"

namespace {

class RepositoryDamageTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }

  RepositoryError LoadBytes(const std::string& bytes) {
    dir.WriteFile("bad.rep", bytes);
    bool loaded = repository.Load("bad.rep");
    EXPECT_EQ(loaded, repository.LastError() == RepositoryError::none);
    return repository.LastError();
  }

  TempDir dir;
  Repository repository;
};

const std::string sections = SectionRecord("Game", 0) + SectionRecord("Extra", 3);
const std::string values = ValueRecord(0, 3, "Width", Int32(1024)) +
                           ValueRecord(3, 5, "Name", std::string("pilot\0", 6)) +
                           ValueRecord(3, 9, "Vector", std::string(16, '\x7f'));
const std::string valid = RepositoryFile(sections, values);

TEST_F(RepositoryDamageTest, EveryTruncationFailsAndKeepsOnlyWholeRecords) {
  for (std::size_t length = 0; length < valid.size(); ++length) {
    SCOPED_TRACE(length);
    EXPECT_NE(LoadBytes(valid.substr(0, length)), RepositoryError::none);
    EXPECT_LE(repository.Sections().size(), 2u);
    EXPECT_LE(repository.Values().size(), 3u);
    for (const auto& section : repository.Sections()) {
      EXPECT_TRUE(section.name == "Game" || section.name == "Extra") << section.name;
    }
  }
  EXPECT_EQ(LoadBytes(valid), RepositoryError::none);
  EXPECT_EQ(repository.Values().size(), 3u);
}

TEST_F(RepositoryDamageTest, EverySingleByteCorruptionLoadsWithoutCrashing) {
  for (std::size_t at = 0; at < valid.size(); ++at) {
    for (int replacement : {0x00, 0x01, 0x05, 0x3B, 0x3D, 0x7F, 0x80, 0xFF}) {
      std::string bytes = valid;
      bytes[at] = static_cast<char>(replacement);
      LoadBytes(bytes);
      EXPECT_LE(repository.Values().size(), 3u);
    }
  }
}

TEST_F(RepositoryDamageTest, EachDamageIsNamedAndRecordsBeforeItStay) {
  const std::string header = Repository::defaultHeader;
  const std::string width = ValueRecord(0, 3, "Width", Int32(1024));
  const std::string keyWithoutNul = Int32(0) + Int32(3) + "Key";
  struct Case {
    const char* what;
    std::string bytes;
    RepositoryError error;
    std::size_t sectionsKept, valuesKept;
  } cases[] = {
      {"magic", "N>N<" + valid.substr(4), RepositoryError::badMagic, 0, 0},
      {"header marker", "N>N>\xE1" + valid.substr(5), RepositoryError::badHeaderMarker, 0, 0},
      {"empty header", RepositoryFile(sections, values, ""), RepositoryError::emptyHeader, 0, 0},
      {"huge header", "N>N>\xE0" + Int32(-16) + header, RepositoryError::headerPastEnd, 0, 0},
      {"block marker", RepositoryFile(sections, values).replace(9 + header.size(), 1, "\xDB"),
       RepositoryError::badBlockMarker, 0, 0},
      {"section block larger than the file",
       "N>N>\xE0" + Int32(1) + "h\xDA" + Int32(-2) + Int32(0) + SectionRecord("Game", 0) + "Ga",
       RepositoryError::sectionBlockPastEnd, 1, 0},
      {"section id outside its block",
       "N>N>\xE0" + Int32(1) + "h\xDA" + Int32(7) + Int32(0) + SectionRecord("Abc", 4) + "\x5C\x2F",
       RepositoryError::sectionRecordCut, 0, 0},
      {"section name without NUL", RepositoryFile("NoTerminator", ""),
       RepositoryError::sectionRecordCut, 0, 0},
      {"section end marker", RepositoryFile(sections, values).replace(18 + header.size() + sections.size(), 1, "/"),
       RepositoryError::badSectionEndMarker, 2, 0},
      {"value block larger than the file", RepositoryFile(sections, "").replace(14 + header.size(), 4, Int32(-1)) + width,
       RepositoryError::valueBlockPastEnd, 2, 1},
      {"key without NUL", RepositoryFile(sections, width + keyWithoutNul),
       RepositoryError::valueRecordCut, 2, 1},
      {"text without NUL", RepositoryFile(sections, width + Int32(0) + Int32(5) + "T" + '\0' + "=abc"),
       RepositoryError::valueRecordCut, 2, 1},
      {"data outside its block", RepositoryFile(sections, width + ValueRecord(0, 13, "Big", "short")),
       RepositoryError::valueRecordCut, 2, 1},
      {"missing '='", RepositoryFile(sections, width + ValueRecord(0, 3, "K", Int32(1)).replace(10, 1, "+")),
       RepositoryError::missingEquals, 2, 1},
      {"missing ';'", RepositoryFile(sections, width + ValueRecord(0, 1, "K", "x").replace(12, 1, ":")),
       RepositoryError::missingSemicolon, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(LoadBytes(c.bytes), c.error) << RepositoryErrorText(repository.LastError());
    EXPECT_EQ(repository.Sections().size(), c.sectionsKept);
    EXPECT_EQ(repository.Values().size(), c.valuesKept);
  }
  int32_t out = 0;
  EXPECT_TRUE(repository.GetInt("Game", "Width", &out));
  EXPECT_EQ(out, 1024);
}

TEST_F(RepositoryDamageTest, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  dir.WriteFile("config/ss.rep", valid);
  ASSERT_TRUE(repository.Load("config/ss.rep"));
  repository.AddSection("More", 5);

  // The temporary cannot be created (its folder would have to be where a
  // file is): the old file stays as it was.
  dir.WriteFile("config/plain", "a file, not a folder");
  EXPECT_FALSE(repository.Save("config/plain/ss.rep"));
  EXPECT_EQ(repository.LastError(), RepositoryError::cannotOpen);
  EXPECT_EQ(dir.ReadFile("config/plain"), "a file, not a folder");

  // The temporary cannot replace the target: it is removed again.
  std::filesystem::create_directories(dir / "config/dir.rep/inside");
  EXPECT_FALSE(repository.Save("config/dir.rep"));
  EXPECT_EQ(repository.LastError(), RepositoryError::cannotReplace);
  auto entries = [this] {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "config")) {
      names.insert(entry.path().filename().string());
    }
    return names;
  };
  EXPECT_EQ(entries(), (std::set<std::string>{"ss.rep", "plain", "dir.rep"}));

  EXPECT_TRUE(repository.Save("config/ss.rep"));
  EXPECT_EQ(entries(), (std::set<std::string>{"ss.rep", "plain", "dir.rep"}));
  Repository again;
  EXPECT_TRUE(again.Load("config/ss.rep"));
  EXPECT_EQ(again.FindSection("More"), 5);
}

}  // namespace
