// A save killed with SIGKILL at any point leaves every file whole: the old content or the
// new, never a torn one, and the next save is not tripped by what the killed one left.
// The saving process is a forked child run under ptrace; a first run records the system
// calls of the whole save, and then one run per recorded call kills the child as it
// enters that call, so that every step of the save (open, each write, flush, close,
// rename, flush of the folder) is interrupted once, exactly there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

struct TracedRun {
  bool traced = false;      // false when this system does not let us trace the child
  std::vector<long> calls;  // the system calls the child entered, in order
  bool killed = false;      // the child was killed on entering call number killAt
};

// Runs work in a traced child and kills it as it enters its killAt-th system call
// (counted from 0 after the child stopped itself; a negative killAt lets it finish).
TracedRun RunTraced(const std::function<void()>& work, long killAt) {
  TracedRun run;
  const pid_t child = fork();
  if (child == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(3);
    raise(SIGSTOP);
    work();
    _exit(0);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return run;
  run.traced = true;
  ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  int pass = 0;  // a signal that stopped the child goes on to it
  while (true) {
    ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
    pass = 0;
    if (waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status)) break;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      pass = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status);
      continue;
    }
    user_regs_struct registers{};
    ptrace(PTRACE_GETREGS, child, nullptr, &registers);
    // On entry the kernel has not yet put a result in rax; -ENOSYS is its placeholder.
    if (static_cast<long>(registers.rax) == -ENOSYS) {
      run.calls.push_back(static_cast<long>(registers.orig_rax));
      if (static_cast<long>(run.calls.size()) - 1 == killAt) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        run.killed = true;
        break;
      }
    }
  }
  return run;
}

bool Contains(const std::vector<long>& calls, std::initializer_list<long> wanted) {
  return std::any_of(calls.begin(), calls.end(), [&](long call) {
    return std::find(wanted.begin(), wanted.end(), call) != wanted.end();
  });
}

// Nothing in the folder but the listed names.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(InterruptedSave, AtomicWriteKilledAtEveryCallLeavesOldOrNew) {
  TestFolder dir;
  const std::string target = dir / "export.xlsx";
  const std::string oldBytes(300'000, 'o');
  std::string newBytes;
  for (int i = 0; newBytes.size() < 2'000'000; ++i) newBytes += std::to_string(i) + ",";
  auto save = [&] { WriteFileAtomic(target, newBytes); };

  ASSERT_TRUE(WriteFileAtomic(target, oldBytes));
  const TracedRun full = RunTraced(save, -1);
  if (!full.traced) GTEST_SKIP() << "this system does not allow tracing a child process";
  ASSERT_EQ(ReadTestFile(target), newBytes);
  // The run went through the steps that matter.
  ASSERT_TRUE(Contains(full.calls, {SYS_write}));
  ASSERT_TRUE(Contains(full.calls, {SYS_fsync, SYS_fdatasync}));
  ASSERT_TRUE(Contains(full.calls, {SYS_rename, SYS_renameat, SYS_renameat2}));

  int sawOld = 0, sawNew = 0, sawTemp = 0;
  for (long at = 0; at < static_cast<long>(full.calls.size()); ++at) {
    SCOPED_TRACE("killed entering system call " + std::to_string(at) + " (number " +
                 std::to_string(full.calls[at]) + ")");
    ASSERT_TRUE(WriteFileAtomic(target, oldBytes));
    ASSERT_TRUE(RunTraced(save, at).killed);
    std::string seen;
    ASSERT_TRUE(ReadWholeFile(target, seen));
    ASSERT_TRUE(seen == oldBytes || seen == newBytes) << "torn file of " << seen.size();
    (seen == oldBytes ? sawOld : sawNew) += 1;
    if (Exists(target + ".tmp")) ++sawTemp;
    // The next save replaces whatever the killed one left and tidies up after itself.
    ASSERT_TRUE(WriteFileAtomic(target, "third"));
    EXPECT_EQ(ReadTestFile(target), "third");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"export.xlsx"});
  }
  // Kills before the rename kept the old file with a temporary one beside it, kills after
  // it gave the new file: both sides of the replacing move were interrupted.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
  EXPECT_GT(sawTemp, 0);
}

AppState StateWith(const std::string& name, double zoom) {
  AppState state;
  state.options.Zoom = zoom;
  state.options.LastStocks = "/screener.html#f=" + name;
  state.screens.push_back({name, ScreenerKind::Stocks, "/screener.html", "f=" + name});
  state.screens.push_back({name, ScreenerKind::Etfs, "/etf-screener.html", ""});
  return state;
}

TEST(InterruptedSave, SaveAppStateKilledAtEveryCallLeavesBothFilesWhole) {
  TestFolder dir;
  const std::string data = dir / "data";
  const std::string config = dir / "config";
  ASSERT_TRUE(std::filesystem::create_directory(data));
  ASSERT_TRUE(std::filesystem::create_directory(config));
  const std::string optionsPath = config + "/Velquist.reg";
  const std::string screensPath = ScreensFilePath(data);

  auto saveState = [&](AppState state) {
    RegFileOptionStore store(optionsPath);
    return SaveAppState(state, store, data);
  };
  ASSERT_TRUE(saveState(StateWith("old", 1.5)).screensWritten);
  const std::string oldOptions = ReadTestFile(optionsPath);
  const std::string oldScreens = ReadTestFile(screensPath);
  const TracedRun full = RunTraced([&] { saveState(StateWith("new", 2.5)); }, -1);
  if (!full.traced) GTEST_SKIP() << "this system does not allow tracing a child process";
  const std::string newOptions = ReadTestFile(optionsPath);
  const std::string newScreens = ReadTestFile(screensPath);
  ASSERT_NE(newOptions, oldOptions);
  ASSERT_NE(newScreens, oldScreens);

  int mixed = 0;
  for (long at = 0; at < static_cast<long>(full.calls.size()); ++at) {
    SCOPED_TRACE("killed entering system call " + std::to_string(at));
    ASSERT_TRUE(saveState(StateWith("old", 1.5)).screensWritten);
    ASSERT_TRUE(RunTraced([&] { saveState(StateWith("new", 2.5)); }, at).killed);
    const std::string options = ReadTestFile(optionsPath);
    const std::string screens = ReadTestFile(screensPath);
    ASSERT_TRUE(options == oldOptions || options == newOptions);
    ASSERT_TRUE(screens == oldScreens || screens == newScreens);
    // The options go first, so new options beside old screens is the one mixed state.
    ASSERT_FALSE(options == oldOptions && screens == newScreens);
    if (options == newOptions && screens == oldScreens) ++mixed;

    // The next start reads both without a complaint ...
    AppState loaded;
    RegFileOptionStore store(optionsPath);
    EXPECT_FALSE(LoadAppState(loaded, store, data).has_value());
    EXPECT_EQ(loaded.screens.size(), 2u);
    EXPECT_EQ(loaded.options.Zoom, options == newOptions ? 2.5 : 1.5);
    // ... and its first save neither fails nor leaves anything behind.
    SaveResult result = saveState(StateWith("third", 3.0));
    EXPECT_TRUE(result.screensWritten);
    EXPECT_FALSE(result.notice.has_value());
    EXPECT_EQ(Names(data), std::vector<std::string>{"screens.json"});
    EXPECT_EQ(Names(config), std::vector<std::string>{"Velquist.reg"});
  }
  EXPECT_GT(mixed, 0);
}

}  // namespace
}  // namespace velquist
