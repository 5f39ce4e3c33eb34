#include "app/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
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

TEST(ReadWholeFile, PipeIsRefusedWithoutWaiting) {
  TestFolder dir;
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(dir / "pipe", bytes));
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

TEST(WriteFileAtomic, TempLinkIsNotWrittenThrough) {
  TestFolder dir;
  const std::string target = dir / "out.json";
  const std::string victim = dir / "victim";
  WriteTestFile(victim, "keep me");
  ASSERT_EQ(symlink(victim.c_str(), (target + ".tmp").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomic(target, "new"));
  EXPECT_EQ(ReadTestFile(victim), "keep me");
  EXPECT_EQ(ReadTestFile(target), "new");
}

TEST(WriteFileAtomic, ReadOnlyTargetIsLeftUntouched) {
  TestFolder dir;
  const std::string target = dir / "locked.json";
  WriteTestFile(target, "original");
  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  errno = 0;
  EXPECT_FALSE(WriteFileAtomic(target, "replacement"));
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(ReadTestFile(target), "original");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

TEST(WriteFileAtomic, TargetThatIsAFolderFailsAtTheRename) {
  TestFolder dir;
  const std::string target = dir / "folder";
  ASSERT_TRUE(std::filesystem::create_directory(target));
  WriteTestFile(target + "/inside", "kept");
  EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
  EXPECT_NE(errno, 0);
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(ReadTestFile(target + "/inside"), "kept");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

TEST(WriteFileAtomic, MissingFolderFails) {
  TestFolder dir;
  const std::string target = dir / "no-such-folder/out.json";
  EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(Exists(target));
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

// A file-size limit makes the write itself fail part-way, even for root.
TEST(WriteFileAtomic, FailedWriteKeepsTargetAndRemovesTemp) {
  TestFolder dir;
  const std::string target = dir / "out.json";
  WriteTestFile(target, "original");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool ok = WriteFileAtomic(target, std::string(5000, 'z'));
  int error = errno;
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadTestFile(target), "original");
  EXPECT_FALSE(Exists(target + ".tmp"));
}

class EnvironmentGuard {
 public:
  explicit EnvironmentGuard(const char* name) : m_name(name) {
    const char* value = std::getenv(name);
    m_had = value != nullptr;
    if (m_had) m_value = value;
  }
  ~EnvironmentGuard() {
    if (m_had) {
      setenv(m_name, m_value.c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_value;
};

TEST(Folders, FollowTheXdgVariablesAndAreCreated) {
  TestFolder dir;
  EnvironmentGuard data("XDG_DATA_HOME"), cache("XDG_CACHE_HOME"), config("XDG_CONFIG_HOME");
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  EXPECT_EQ(DataFolder(), dir / "data/Orvane Software/Velquist");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "data/Orvane Software/Velquist"));
  EXPECT_EQ(WebViewDataFolder(), dir / "cache/Orvane Software/Velquist/WebView2");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "cache/Orvane Software/Velquist/WebView2"));
  EXPECT_EQ(OptionsFilePath(), dir / "config/Orvane Software/Velquist.reg");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "config/Orvane Software"));
  // Created again when it went away between two calls.
  std::filesystem::remove_all(dir / "data");
  DataFolder();
  EXPECT_TRUE(std::filesystem::is_directory(dir / "data/Orvane Software/Velquist"));
}

TEST(Folders, FallBackToTheHomeFolder) {
  TestFolder dir;
  EnvironmentGuard data("XDG_DATA_HOME"), cache("XDG_CACHE_HOME"), home("HOME");
  setenv("HOME", dir.Path().c_str(), 1);
  unsetenv("XDG_DATA_HOME");
  setenv("XDG_CACHE_HOME", "relative/ignored", 1);
  EXPECT_EQ(DataFolder(), dir / ".local/share/Orvane Software/Velquist");
  EXPECT_EQ(WebViewDataFolder(), dir / ".cache/Orvane Software/Velquist/WebView2");
  EXPECT_TRUE(std::filesystem::is_directory(dir / ".cache/Orvane Software/Velquist/WebView2"));
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
