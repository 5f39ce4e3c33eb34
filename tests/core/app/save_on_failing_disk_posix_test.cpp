// Saves onto a full disk (a small tmpfs) and into a read-only folder (a read-only bind
// mount: the tests run as root, for whom permission bits stop no write). Each gives the
// user's message, keeps the old file whole and leaves no temporary file behind. The mounts
// are made in a mount namespace of this process's own, so they vanish with it whatever
// happens; where mounting is not permitted the tests are skipped and say why.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::ReadTestFile;
using testing::TestFolder;

// Empty when this process may mount, else why not.
const std::string& MountProblem() {
  static const std::string problem = [] {
    if (unshare(CLONE_NEWNS) != 0) return "unshare(CLONE_NEWNS): " + std::string(strerror(errno));
    // Keep this namespace's mounts from reaching the rest of the system.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return "making / private: " + std::string(strerror(errno));
    }
    return std::string();
  }();
  return problem;
}

#define REQUIRE_MOUNTS()                                                             \
  if (!MountProblem().empty())                                                       \
  GTEST_SKIP() << "mounting is not permitted here (" << MountProblem() << "), so a " \
               << "full disk and a read-only folder cannot be made"

enum class Fault { FullDisk, ReadOnly };

// Turns folder, which already holds what the test put there, into a full or a read-only
// file system for as long as the object lives.
class FaultyFolder {
 public:
  FaultyFolder(const std::string& folder, Fault fault) : m_folder(folder) {
    if (fault == Fault::ReadOnly) {
      m_ok =
          mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
          mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
      return;
    }
    // Move the content onto a small tmpfs, then fill what is left of it.
    const std::string keep = folder + ".kept";
    std::filesystem::rename(folder, keep);
    std::filesystem::create_directory(folder);
    m_ok = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k") == 0;
    if (!m_ok) return;
    for (const auto& entry : std::filesystem::directory_iterator(keep)) {
      std::filesystem::copy(entry.path(), folder + "/" + entry.path().filename().string());
    }
    std::filesystem::remove_all(keep);
    m_filler = folder + "/filler";
    const std::string block(4096, 'f');
    FILE* out = fopen(m_filler.c_str(), "wb");
    m_ok = out != nullptr;
    while (m_ok && fwrite(block.data(), 1, block.size(), out) == block.size() && fflush(out) == 0) {
    }
    if (out != nullptr) fclose(out);
  }
  ~FaultyFolder() {
    if (m_ok) umount2(m_folder.c_str(), MNT_DETACH);
  }
  FaultyFolder(const FaultyFolder&) = delete;
  FaultyFolder& operator=(const FaultyFolder&) = delete;

  bool Ok() const { return m_ok; }
  // Ends a full disk by removing the filler; a read-only folder stays read-only.
  void FreeSpace() {
    if (!m_filler.empty()) std::filesystem::remove(m_filler);
  }
  // The names in the folder other than the filler.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
      if (entry.path() != m_filler) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string m_folder;
  std::string m_filler;
  bool m_ok = false;
};

struct FaultCase {
  Fault fault;
  int error;  // the system's error number that the message reports
  const char* name;
};

const FaultCase Cases[] = {
    {Fault::FullDisk, ENOSPC, "full disk"},
    {Fault::ReadOnly, EROFS, "read-only folder"},
};

AppState StateWithScreens(int count) {
  AppState state;
  for (int i = 0; i < count; ++i) {
    state.screens.push_back({"Screen " + std::to_string(i), ScreenerKind::Stocks, "/screener.html",
                             "f=" + std::string(100, 'a') + std::to_string(i)});
  }
  return state;
}

// A folder pair for one case: the data folder and the options folder.
struct Folders {
  TestFolder dir;
  std::string data = dir / "data";
  std::string config = dir / "config";
  std::string optionsPath = config + "/Velquist.reg";
  Folders() {
    std::filesystem::create_directory(data);
    std::filesystem::create_directory(config);
  }
  SaveResult Save(AppState& state) {
    RegFileOptionStore store(optionsPath);
    return SaveAppState(state, store, data);
  }
};

TEST(SaveOnFailingDisk, ScreensFileKeepsItsOldContentAndTheErrorNamesTheCause) {
  REQUIRE_MOUNTS();
  for (const FaultCase& c : Cases) {
    SCOPED_TRACE(c.name);
    Folders folders;
    AppState state = StateWithScreens(1);
    ASSERT_TRUE(folders.Save(state).screensWritten);
    const std::string path = ScreensFilePath(folders.data);
    const std::string before = ReadTestFile(path);

    FaultyFolder faulty(folders.data, c.fault);
    ASSERT_TRUE(faulty.Ok()) << strerror(errno);
    // Large enough not to fit into what a full disk has left.
    state = StateWithScreens(400);
    for (int attempt = 0; attempt < 2; ++attempt) {
      SaveResult result = folders.Save(state);
      EXPECT_FALSE(result.screensWritten);
      ASSERT_TRUE(result.notice.has_value());
      EXPECT_EQ(result.notice->icon, NoticeIcon::Error);
      EXPECT_EQ(result.notice->text, "The saved screens could not be written to\n" + path +
                                         "\n\nError " + std::to_string(c.error) + ".");
      EXPECT_EQ(ReadTestFile(path), before);
      EXPECT_EQ(faulty.Names(), std::vector<std::string>{"screens.json"});
    }
    // Nothing was lost: the screens are still in memory and reach the disk once it has room.
    EXPECT_EQ(state.screens.size(), 400u);
    if (c.fault == Fault::FullDisk) {
      faulty.FreeSpace();
      EXPECT_TRUE(folders.Save(state).screensWritten);
      EXPECT_EQ(ReadTestFile(path), ScreensFileText(state.screens));
    }
  }
}

TEST(SaveOnFailingDisk, OptionsFileKeepsItsOldContentAndTheWarningComesOnce) {
  REQUIRE_MOUNTS();
  for (const FaultCase& c : Cases) {
    SCOPED_TRACE(c.name);
    Folders folders;
    AppState state = StateWithScreens(1);
    state.options.Zoom = 1.5;
    ASSERT_TRUE(folders.Save(state).screensWritten);
    const std::string before = ReadTestFile(folders.optionsPath);

    FaultyFolder faulty(folders.config, c.fault);
    ASSERT_TRUE(faulty.Ok()) << strerror(errno);
    state.options.Zoom = 2.0;
    state.options.LastStocks = "/screener.html#f=" + std::string(3000, 'x');
    SaveResult first = folders.Save(state);
    EXPECT_TRUE(first.screensWritten);
    ASSERT_TRUE(first.notice.has_value());
    EXPECT_EQ(first.notice->icon, NoticeIcon::Warning);
    EXPECT_EQ(first.notice->text,
              "The program options could not be saved to the registry key\n"
              "HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist.");
    SaveResult second = folders.Save(state);
    EXPECT_TRUE(second.screensWritten);
    EXPECT_FALSE(second.notice.has_value());
    EXPECT_EQ(ReadTestFile(folders.optionsPath), before);
    EXPECT_EQ(faulty.Names(), std::vector<std::string>{"Velquist.reg"});
  }
}

TEST(SaveOnFailingDisk, ExportFileIsLeftAsItWasWithTheCauseInErrno) {
  REQUIRE_MOUNTS();
  for (const FaultCase& c : Cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    const std::string folder = dir / "exports";
    std::filesystem::create_directory(folder);
    const std::string target = folder + "/Stock screener 2024-05-03.xlsx";
    ASSERT_TRUE(WriteFileAtomic(target, "the old export"));

    FaultyFolder faulty(folder, c.fault);
    ASSERT_TRUE(faulty.Ok()) << strerror(errno);
    errno = 0;
    EXPECT_FALSE(WriteFileAtomic(target, std::string(1'000'000, 'n')));
    EXPECT_EQ(errno, c.error);
    EXPECT_EQ(ReadTestFile(target), "the old export");
    EXPECT_EQ(faulty.Names(), std::vector<std::string>{"Stock screener 2024-05-03.xlsx"});
  }
}

}  // namespace
}  // namespace velquist
