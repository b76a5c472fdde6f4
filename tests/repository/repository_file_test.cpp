#include <gtest/gtest.h>

#include "platform/asset_directory.h"
#include "repository/repository_bytes.h"
#include "resources/repository.h"
#include "support/temp_dir.h"

namespace {

class RepositoryFileTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAssetDirectoryAt(dir.withSlash().c_str()); }
  void TearDown() override { StopAssetDirectory(); }
  TempDir dir;
};

TEST_F(RepositoryFileTest, SaveWritesNewestRecordsFirstInTheFileLayout) {
  Repository repository;
  repository.AddSection("Alpha", 1);
  repository.AddSection("Beta", 2);
  int32_t seven = 7;
  uint8_t small = 0x05;
  repository.AddValue(1, "x", &seven, repositoryIntType);
  repository.AddValue(2, "t", "abc", repositoryTextType);
  repository.AddValue(1, "b", &small, 1);
  ASSERT_TRUE(repository.Save("out.rep"));

  std::string expected = RepositoryFile(
      SectionRecord("Beta", 2) + SectionRecord("Alpha", 1),
      ValueRecord(1, 1, "b", "\x05") + ValueRecord(2, 5, "t", std::string("abc\0", 4)) +
          ValueRecord(1, 3, "x", Int32(7)));
  EXPECT_EQ(dir.ReadFile("out.rep"), expected);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.rep.tmp"));
}

TEST_F(RepositoryFileTest, LoadThenSaveKeepsEveryRecordInReverseOrder) {
  std::string wide(32, '\x11');
  std::string sectionsInOrder[] = {SectionRecord("A", 0), SectionRecord("B", 1),
                                   SectionRecord("Elsewhere", 9)};
  std::string valuesInOrder[] = {ValueRecord(0, 3, "x", Int32(-3)),
                                 ValueRecord(1, 5, "y", std::string("hello\0", 6)),
                                 ValueRecord(9, 13, "wide", wide),
                                 ValueRecord(42, 0, "orphan", Int32(99))};
  auto join = [](const auto& records, bool reversed) {
    std::string out;
    for (const auto& record : records) out = reversed ? record + out : out + record;
    return out;
  };
  dir.WriteFile("in.rep", RepositoryFile(join(sectionsInOrder, false), join(valuesInOrder, false),
                                         "my own header"));

  Repository repository;
  ASSERT_TRUE(repository.Load("in.rep"));
  EXPECT_EQ(repository.LastError(), RepositoryError::none);
  EXPECT_EQ(repository.Header(), "my own header");
  ASSERT_TRUE(repository.Save("out.rep"));
  EXPECT_EQ(dir.ReadFile("out.rep"), RepositoryFile(join(sectionsInOrder, true),
                                                    join(valuesInOrder, true), "my own header"));
}

TEST_F(RepositoryFileTest, LookupsPreferTheNewestSectionAndTheFirstValue) {
  dir.WriteFile("dup.rep", RepositoryFile(SectionRecord("S", 1) + SectionRecord("S", 2),
                                          ValueRecord(1, 3, "k", Int32(5)) +
                                              ValueRecord(2, 3, "k", Int32(6)) +
                                              ValueRecord(2, 3, "k", Int32(7)) +
                                              ValueRecord(2, 1, "byte", "\xFF") +
                                              ValueRecord(2, 2, "word", "\x34\x12")));
  Repository repository;
  ASSERT_TRUE(repository.Load("dup.rep"));
  EXPECT_EQ(repository.FindSection("S"), 2);
  EXPECT_EQ(repository.FindSection("s"), -1);
  EXPECT_EQ(repository.Values().size(), 4u);  // the second "k" of section 2 was dropped

  int32_t out = -1;
  EXPECT_TRUE(repository.GetInt("S", "k", &out));
  EXPECT_EQ(out, 6);
  EXPECT_TRUE(repository.GetInt("S", "byte", &out));
  EXPECT_EQ(out, 0xFF);
  EXPECT_TRUE(repository.GetInt("S", "word", &out));
  EXPECT_EQ(out, 0x1234);
  out = -1;
  EXPECT_TRUE(repository.GetInt("S", "missing", &out));
  EXPECT_FALSE(repository.GetInt("T", "k", &out));
  EXPECT_EQ(out, -1);

  int32_t eight = 8;
  EXPECT_FALSE(repository.SetValue("S", "missing", &eight, repositoryIntType));
  EXPECT_FALSE(repository.AddValue(2, "k", &eight, repositoryIntType));
  EXPECT_TRUE(repository.SetValue("S", "byte", &eight, repositoryIntType));
  EXPECT_TRUE(repository.GetInt("S", "byte", &out));
  EXPECT_EQ(out, 8);
  EXPECT_EQ(repository.Values().size(), 4u);

  repository.SetOrAddValue("New", "n", &eight, repositoryIntType);
  EXPECT_EQ(repository.FindSection("New"), 0);  // 1 and 2 are taken
  EXPECT_TRUE(repository.GetInt("New", "n", &out));
}

TEST_F(RepositoryFileTest, EmptyBlocksLoadAndEmptyListsSaveAnEmptyFile) {
  dir.WriteFile("empty.rep", RepositoryFile("", ""));
  Repository repository;
  EXPECT_TRUE(repository.Load("empty.rep"));
  EXPECT_TRUE(repository.Sections().empty());
  EXPECT_TRUE(repository.Save("empty.rep"));
  EXPECT_EQ(dir.ReadFile("empty.rep"), "");
}

}  // namespace
