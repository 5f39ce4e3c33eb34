#include "app/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

TEST(ReadWholeFile, MissingFileFailsWithEmptyOutput) {
  TestFolder dir;
  std::string bytes = "old";
  EXPECT_FALSE(ReadWholeFile(dir / "missing", bytes));
  EXPECT_EQ(bytes, "");
}

TEST(ReadWholeFile, ZeroLengthFileIsEmptySuccess) {
  TestFolder dir;
  WriteTestFile(dir / "empty", "");
  std::string bytes = "old";
  EXPECT_TRUE(ReadWholeFile(dir / "empty", bytes));
  EXPECT_EQ(bytes, "");
}

TEST(ReadWholeFile, ByteOrderMarkRule) {
  struct Case {
    std::string content;
    std::string expected;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF", ""},
      {"\xEF\xBB", "\xEF\xBB"},
      {"\xEF\xBB\xBF{}", "{}"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF", "\xEF\xBB\xBF"},  // only one mark is removed
      {"a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},
      {std::string("\0\1\2", 3), std::string("\0\1\2", 3)},
  };
  TestFolder dir;
  for (const Case& c : cases) {
    WriteTestFile(dir / "f", c.content);
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(dir / "f", bytes));
    EXPECT_EQ(bytes, c.expected);
  }
}

TEST(ReadWholeFile, SizeLimitIsSixteenMebibytes) {
  TestFolder dir;
  std::string big(MaxReadFileSize - 1, 'x');
  WriteTestFile(dir / "just-under", big);
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(dir / "just-under", bytes));
  EXPECT_EQ(bytes.size(), 16777215u);
  big.push_back('y');
  WriteTestFile(dir / "at-limit", big);
  EXPECT_FALSE(ReadWholeFile(dir / "at-limit", bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(ReadWholeFile, FolderIsRefused) {
  TestFolder dir;
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes));
}

TEST(WriteFileAtomic, CreatesAndReplaces) {
  TestFolder dir;
  const std::string target = dir / "out.json";
  ASSERT_TRUE(WriteFileAtomic(target, "first"));
  EXPECT_EQ(ReadTestFile(target), "first");
  ASSERT_TRUE(WriteFileAtomic(target, std::string("sec\0ond", 7)));
  EXPECT_EQ(ReadTestFile(target), std::string("sec\0ond", 7));
  ASSERT_TRUE(WriteFileAtomic(target, ""));
  EXPECT_EQ(ReadTestFile(target), "");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

TEST(WriteFileAtomic, StaleTempFileIsOverwritten) {
  TestFolder dir;
  const std::string target = dir / "out.json";
  WriteTestFile(target + ".tmp", "a stale and much longer temporary file");
  ASSERT_TRUE(WriteFileAtomic(target, "new"));
  EXPECT_EQ(ReadTestFile(target), "new");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

TEST(WriteFileAtomic, TargetThatIsAFolderFailsAtTheRename) {
  TestFolder dir;
  const std::string target = dir / "folder";
  ASSERT_TRUE(std::filesystem::create_directory(target));
  WriteTestFile(target + "/inside", "kept");
  EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
  EXPECT_NE(LastFileError(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(ReadTestFile(target + "/inside"), "kept");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

TEST(WriteFileAtomic, TempPathTakenByAFolderFails) {
  TestFolder dir;
  const std::string target = dir / "out.json";
  WriteTestFile(target, "original");
  ASSERT_TRUE(std::filesystem::create_directory(target + ".tmp"));
  WriteTestFile(target + ".tmp/x", "x");
  EXPECT_FALSE(WriteFileAtomic(target, "replacement"));
  EXPECT_EQ(ReadTestFile(target), "original");
  EXPECT_EQ(ReadTestFile(target + ".tmp/x"), "x");
}

TEST(MoveFileReplacing, ReplacesTheTargetAndFailsForAMissingSource) {
  TestFolder dir;
  WriteTestFile(dir / "screens.json", "new");
  WriteTestFile(dir / "screens.json.bad", "older");
  ASSERT_TRUE(MoveFileReplacing(dir / "screens.json", dir / "screens.json.bad"));
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), "new");
  EXPECT_FALSE(Exists(dir / "screens.json"));
  EXPECT_FALSE(MoveFileReplacing(dir / "screens.json", dir / "screens.json.bad"));
  EXPECT_NE(LastFileError(), 0);
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), "new");
}

TEST(Version, NormalizesTheBuildVersion) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"1.0.1.12", "1.0.1.12"}, {"2.3", "2.3.0.0"},
      {"7", "7.0.0.0"},         {"", "1.0.1.1"},
      {"1.2.3.4.5", "1.0.1.1"}, {"1..2", "1.0.1.1"},
      {"1.2.", "1.0.1.1"},      {"65536.0", "1.0.1.1"},
      {"1.2-beta", "1.0.1.1"},  {"65535.0.0.1", "65535.0.0.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeVersion(c.text), c.expected) << c.text;
}

TEST(Version, ComesFromTheBuild) {
  std::string version = VersionString();
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 3);
  EXPECT_EQ(NormalizeVersion(version), version);
}

}  // namespace
}  // namespace velquist
