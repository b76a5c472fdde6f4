#include "platform/console_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/asset_directory.h"
#include "support/temp_dir.h"

namespace {

class ConsoleLogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(StartAssetDirectoryAt(dir.withSlash().c_str())); }
  void TearDown() override {
    StopConsoleLog();
    StopAssetDirectory();
  }
  std::string Log() const { return dir.ReadFile("conlog.txt"); }
  TempDir dir;
};

TEST_F(ConsoleLogTest, EachRunStartsAnEmptyFileOfItsOwnLines) {
  dir.WriteFile("conlog.txt", "previous run\n");
  ASSERT_TRUE(StartConsoleLog());
  EXPECT_TRUE(std::filesystem::exists(dir / "conlog.txt"));
  EXPECT_EQ(Log(), "");

  OpenConsoleLog();
  LogLine("one");
  CloseConsoleLog();
  OpenConsoleLog();  // a later writer appends
  LogAppend("loading library: ");
  LogAppend("libGL.so.1");
  LogAppend("... ");
  LogLine("Success!");
  LogText("");
  CloseConsoleLog();
  EXPECT_EQ(Log(), "one\nloading library: libGL.so.1... Success!\n\n");

  ASSERT_TRUE(StopConsoleLog());
  ASSERT_TRUE(StartConsoleLog());
  EXPECT_EQ(Log(), "");
}

TEST_F(ConsoleLogTest, LinesAreOnDiskBeforeTheFileCloses) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  LogLine("flushed");
  EXPECT_EQ(Log(), "flushed\n");
}

TEST_F(ConsoleLogTest, LinesWhileClosedAreDropped) {
  LogLine("before start");
  ASSERT_TRUE(StartConsoleLog());
  LogLine("not open");
  LogText("not open either");
  OpenConsoleLog();
  LogLine("kept");
  CloseConsoleLog();
  LogLine("after close");
  OpenConsoleLog();
  StopConsoleLog();
  LogLine("after stop");
  EXPECT_EQ(Log(), "kept\n");
}

TEST_F(ConsoleLogTest, AssembledLineIsCutAt255) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  LogAppend(std::string(200, 'a').c_str());
  LogAppend(std::string(100, 'b').c_str());
  LogAppend(nullptr);
  LogLine("c");
  LogLine("next");  // the cut leaves nothing behind for the next line
  EXPECT_EQ(Log(), std::string(200, 'a') + std::string(55, 'b') + "\nnext\n");
}

TEST_F(ConsoleLogTest, LogTextWritesAnyLengthAndLeavesTheLineAlone) {
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  const std::string extensions(9000, 'x');
  LogAppend("half ");
  LogText(extensions.c_str());
  LogText(nullptr);
  LogLine("done");
  EXPECT_EQ(Log(), extensions + "\nhalf done\n");
}

TEST_F(ConsoleLogTest, StartFailsWhenTheFileCannotBeCreated) {
  // A folder in its place cannot be opened for writing, even by root.
  std::filesystem::create_directory(dir / "conlog.txt");
  EXPECT_FALSE(StartConsoleLog());
  StopAssetDirectory();
  EXPECT_FALSE(StartConsoleLog());
}

TEST_F(ConsoleLogTest, StartClearsAHalfAssembledLine) {
  LogAppend("left over ");
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  LogLine("fresh");
  EXPECT_EQ(Log(), "fresh\n");
}

}  // namespace
