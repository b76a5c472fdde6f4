#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "repository/repository_bytes.h"
#include "support/temp_dir.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

class DepotbuilderTest : public ::testing::Test {
 protected:
  Outcome Run(const std::string& args) {
    std::string command = std::string("'") + SS_BIN_DIR + "/depotbuilder' " + args + " >'" +
                          (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() + "'";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.ReadFile("stdout"),
            dir.ReadFile("stderr")};
  }
  std::string Path(const std::string& name) { return "'" + (dir / name).string() + "'"; }

  TempDir dir;
};

TEST_F(DepotbuilderTest, CreateWritesTheDefaultsWithOverridesAndRefusesToOverwrite) {
  std::string file = Path("config/ss.rep");
  ASSERT_EQ(Run("create " + file + " ScreenWidth=800 HighScore=-5").status, 0);
  Outcome dump = Run("dump " + file);
  EXPECT_EQ(dump.status, 0);
  EXPECT_EQ(dump.out,
            "header \"//This file will NOT be edited by any other application other than "
            "DepotBuilder.exe\\r\\n\"\n"
            "section StarfieldStampede id=0\n"
            "value 0 ScreenWidth type=3 data=20030000 int=800\n"
            "value 0 ScreenHeight type=3 data=00030000 int=768\n"
            "value 0 ColorDepth type=3 data=20000000 int=32\n"
            "value 0 Brightness type=3 data=00000000 int=0\n"
            "value 0 GLSL type=3 data=01000000 int=1\n"
            "value 0 Sound type=3 data=01000000 int=1\n"
            "value 0 HighScore type=3 data=fbffffff int=-5\n"
            "ok\n");

  std::string before = dir.ReadFile("config/ss.rep");
  Outcome refused = Run("create " + file);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err, "");
  EXPECT_EQ(dir.ReadFile("config/ss.rep"), before);
  EXPECT_EQ(Run("create " + file + " Bogus=1").status, 2);
  EXPECT_EQ(Run("create --force " + file + " ScreenWidth=wide").status, 2);
  EXPECT_EQ(dir.ReadFile("config/ss.rep"), before);

  ASSERT_EQ(Run("create --force " + file).status, 0);
  EXPECT_EQ(Run("get " + file + " StarfieldStampede ScreenWidth").out, "1024\n");
}

TEST_F(DepotbuilderTest, DumpShowsTextAndShortValues) {
  dir.WriteFile("odd.rep", RepositoryFile(SectionRecord("X", 7),
                                          ValueRecord(7, 5, "t", std::string("ab\0", 3)) +
                                              ValueRecord(7, 1, "b", "\x9c") +
                                              ValueRecord(7, 5, "long", std::string("abcd\0", 5)),
                                          "hi\r\n"));
  Outcome dump = Run("dump " + Path("odd.rep"));
  EXPECT_EQ(dump.status, 0);
  EXPECT_EQ(dump.out,
            "header \"hi\\r\\n\"\n"
            "section X id=7\n"
            "value 7 t type=5 data=616200\n"
            "value 7 b type=1 data=9c\n"
            "value 7 long type=5 data=6162636400 int=1684234849\n"
            "ok\n");
}

TEST_F(DepotbuilderTest, GetAndSetReachOnlyWhatExistsUnlessAdding) {
  std::string file = Path("ss.rep");
  ASSERT_EQ(Run("create " + file).status, 0);
  Outcome got = Run("get " + file + " StarfieldStampede ColorDepth");
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "32\n");
  EXPECT_EQ(Run("get " + file + " Nowhere ColorDepth").status, 2);
  EXPECT_EQ(Run("get " + file + " StarfieldStampede Missing").status, 2);

  EXPECT_EQ(Run("set " + file + " StarfieldStampede HighScore 123456").status, 0);
  EXPECT_EQ(Run("get " + file + " StarfieldStampede HighScore").out, "123456\n");

  std::string before = dir.ReadFile("ss.rep");
  EXPECT_EQ(Run("set " + file + " StarfieldStampede Extra 1").status, 2);
  EXPECT_EQ(Run("set " + file + " Other Key 1").status, 2);
  EXPECT_EQ(Run("set " + file + " StarfieldStampede HighScore many").status, 2);
  EXPECT_EQ(dir.ReadFile("ss.rep"), before);

  EXPECT_EQ(Run("set --add " + file + " StarfieldStampede Extra -1").status, 0);
  EXPECT_EQ(Run("set --add " + file + " Other Key 9").status, 0);
  EXPECT_EQ(Run("get " + file + " StarfieldStampede Extra").out, "-1\n");
  EXPECT_EQ(Run("get " + file + " Other Key").out, "9\n");
  Outcome dump = Run("dump " + file);
  EXPECT_NE(dump.out.find("section Other id=1\n"), std::string::npos) << dump.out;
}

TEST_F(DepotbuilderTest, UnopenableAndDamagedFilesFailWithStatusOne) {
  std::string missing = Path("missing.rep");
  for (const std::string& args : {"dump " + missing, "get " + missing + " StarfieldStampede GLSL",
                                   "set " + missing + " StarfieldStampede GLSL 0"}) {
    Outcome outcome = Run(args);
    EXPECT_EQ(outcome.status, 1) << args;
    EXPECT_NE(outcome.err.find("missing.rep"), std::string::npos) << outcome.err;
  }

  std::string whole = RepositoryFile(SectionRecord("StarfieldStampede", 0),
                                     ValueRecord(0, 3, "GLSL", Int32(1)) +
                                         ValueRecord(0, 3, "Sound", Int32(0)));
  dir.WriteFile("cut.rep", whole.substr(0, whole.size() - 3));
  Outcome dump = Run("dump " + Path("cut.rep"));
  EXPECT_EQ(dump.status, 1);
  EXPECT_NE(dump.out.find("value 0 GLSL type=3 data=01000000 int=1\n"
                          "damaged: value block runs past the end of the file\n"),
            std::string::npos)
      << dump.out;
  EXPECT_EQ(Run("set " + Path("cut.rep") + " StarfieldStampede GLSL 0").status, 1);
  EXPECT_EQ(dir.ReadFile("cut.rep"), whole.substr(0, whole.size() - 3));
}

}  // namespace
