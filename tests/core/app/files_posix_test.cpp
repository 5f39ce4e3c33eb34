// The file primitives' POSIX side: pipes, links, permission bits, file-size limits and
// the XDG folders.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/files.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

TEST(ReadWholeFile, PipeIsRefusedWithoutWaiting) {
  TestFolder dir;
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(dir / "pipe", bytes));
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

TEST(WriteFileAtomic, MissingFolderFails) {
  TestFolder dir;
  const std::string target = dir / "no-such-folder/out.json";
  EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(Exists(target));
}

// Bytes in which a chunk written twice, skipped or shifted shows.
std::string Patterned(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

// Large files go past the page cache in aligned chunks, where the file system allows it:
// the sizes lie around the chunk and block boundaries. The same on a tmpfs, which has no
// direct writes of its own.
TEST(WriteFileAtomic, LargeFilesArriveWhole) {
  TestFolder dir;
  std::vector<std::string> folders = {dir.Path()};
  if (std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0) {
    folders.push_back("/dev/shm");
  }
  const std::size_t MiB = std::size_t{1} << 20;
  for (const std::string& folder : folders) {
    const std::string target = folder + "/vqtest-large-" + std::to_string(getpid());
    for (std::size_t size : {MiB - 1, MiB, MiB + 1, 3 * MiB + 4095, 5 * MiB + 12345, 2 * MiB}) {
      const std::string bytes = Patterned(size);
      ASSERT_TRUE(WriteFileAtomic(target, bytes)) << folder << " " << size;
      EXPECT_TRUE(ReadTestFile(target) == bytes) << folder << " " << size;
      EXPECT_FALSE(Exists(target + ".tmp"));
    }
    std::filesystem::remove(target);
  }
}

// A file-size limit makes the write itself fail part-way, even for root; for a large file,
// after some chunks have gone out directly.
TEST(WriteFileAtomic, FailedWriteKeepsTargetAndRemovesTemp) {
  const std::size_t MiB = std::size_t{1} << 20;
  const struct {
    std::size_t size;
    rlim_t limit;
  } cases[] = {{5000, 1000}, {3 * MiB + 7, 2 * MiB + 100}};
  for (const auto& c : cases) {
    TestFolder dir;
    const std::string target = dir / "out.json";
    WriteTestFile(target, "original");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = c.limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = WriteFileAtomic(target, std::string(c.size, 'z'));
    int error = errno;
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok) << c.size;
    EXPECT_EQ(error, EFBIG) << c.size;
    EXPECT_EQ(ReadTestFile(target), "original");
    EXPECT_FALSE(Exists(target + ".tmp"));
  }
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

TEST(CanReplaceFile, WhatTheAtomicWriteCouldReplace) {
  TestFolder dir;
  WriteTestFile(dir / "old.csv", "old");
  WriteTestFile(dir / "locked.csv", "old");
  chmod((dir / "locked.csv").c_str(), 0444);
  WriteTestFile(dir / "file", "a file, not a folder");
  std::filesystem::create_directory(dir / "folder.csv");
  const struct {
    std::string path;
    bool replaceable;
  } cases[] = {
      {dir / "new.csv", true},     {dir / "old.csv", true},          {dir / "locked.csv", false},
      {dir / "folder.csv", false}, {dir / "missing/new.csv", false}, {dir / "file/new.csv", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CanReplaceFile(c.path), c.replaceable) << c.path;
    // What it says agrees with what the write does.
    EXPECT_EQ(WriteFileAtomic(c.path, "new"), c.replaceable) << c.path;
  }
  EXPECT_EQ(ReadTestFile(dir / "locked.csv"), "old");
}

}  // namespace
}  // namespace velquist
