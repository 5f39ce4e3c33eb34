// The file primitives' Windows side: wide paths, the read-only attribute, the known
// folders, and a replacing move onto a file that another process holds open. That process
// is this program started again with "--hold-open", so the test needs no helper program.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell headers build on its types.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "app/files.h"
#include "app/wide_text_win.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = Utf8FromWide(path);
  CoTaskMemFree(path);
  return result;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TEST(WindowsFiles, NamesOutsideTheCodePageRoundTrip) {
  TestFolder dir;
  // Latin, Cyrillic, CJK and a character outside the BMP (a surrogate pair in UTF-16).
  const std::string folder = dir / "D\xC3\xA9j\xC3\xA0 \xD0\x96 \xE6\xBC\xA2";
  ASSERT_TRUE(CreateDirectoryW(WideFromUtf8(folder).c_str(), nullptr));
  const std::string path = folder + "\\screens \xF0\x9F\x93\x88.json";
  ASSERT_TRUE(WriteFileAtomic(path, "{\"screens\":[]}"));
  // The system sees the same name: found through the wide call, not a code-page one.
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(WideFromUtf8(path).c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_EQ(Utf8FromWide(found.cFileName), "screens \xF0\x9F\x93\x88.json");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "{\"screens\":[]}");
  EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST(WindowsFiles, ReadOnlyTargetIsLeftUntouched) {
  TestFolder dir;
  const std::string target = dir / "locked.json";
  WriteTestFile(target, "original");
  ASSERT_TRUE(SetFileAttributesW(WideFromUtf8(target).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteFileAtomic(target, "replacement"));
  EXPECT_EQ(LastFileError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadTestFile(target), "original");
  EXPECT_FALSE(Exists(target + ".tmp"));
  SetFileAttributesW(WideFromUtf8(target).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, MissingFolderFailsWithPathNotFound) {
  TestFolder dir;
  const std::string target = dir / "no-such-folder\\out.json";
  EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
  EXPECT_EQ(LastFileError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(Exists(target));
}

TEST(WindowsFiles, FoldersAreTheKnownFoldersAndAreCreated) {
  const std::string roaming = KnownFolder(FOLDERID_RoamingAppData);
  const std::string local = KnownFolder(FOLDERID_LocalAppData);
  ASSERT_FALSE(roaming.empty());
  ASSERT_FALSE(local.empty());
  EXPECT_EQ(DataFolder(), roaming + "\\Orvane Software\\Velquist");
  EXPECT_TRUE(IsFolder(roaming + "\\Orvane Software\\Velquist"));
  EXPECT_EQ(WebViewDataFolder(), local + "\\Orvane Software\\Velquist\\WebView2");
  EXPECT_TRUE(IsFolder(local + "\\Orvane Software\\Velquist\\WebView2"));
}

// Another process of this program that opens path without sharing, signals ready, and
// keeps the file open until release is signalled.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path) {
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    m_readyName = L"VelquistTestReady" + tag;
    m_releaseName = L"VelquistTestRelease" + tag;
    m_ready = CreateEventW(nullptr, TRUE, FALSE, m_readyName.c_str());
    m_release = CreateEventW(nullptr, TRUE, FALSE, m_releaseName.c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --hold-open \"" + WideFromUtf8(path) +
                           L"\" " + m_readyName + L" " + m_releaseName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    m_started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &m_process);
  }
  ~FileHolder() {
    Release();
    if (m_started) {
      CloseHandle(m_process.hThread);
      CloseHandle(m_process.hProcess);
    }
    CloseHandle(m_ready);
    CloseHandle(m_release);
  }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  // True once the other process has the file open.
  bool Holding() {
    if (!m_started) return false;
    HANDLE either[] = {m_ready, m_process.hProcess};
    return WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
  }
  // Lets the other process close the file and waits for it to end; its exit code.
  DWORD Release() {
    DWORD code = 1;
    if (!m_started) return code;
    SetEvent(m_release);
    WaitForSingleObject(m_process.hProcess, 60000);
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
  }

 private:
  std::wstring m_readyName, m_releaseName;
  HANDLE m_ready = nullptr, m_release = nullptr;
  PROCESS_INFORMATION m_process{};
  bool m_started = false;
};

TEST(WindowsFiles, TargetHeldOpenByAnotherProcessIsKept) {
  TestFolder dir;
  const std::string target = dir / "screens.json";
  WriteTestFile(target, "old screens");
  FileHolder holder(target);
  ASSERT_TRUE(holder.Holding());
  EXPECT_FALSE(WriteFileAtomic(target, "new screens"));
  EXPECT_NE(LastFileError(), 0);
  EXPECT_FALSE(Exists(target + ".tmp"));
  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_EQ(ReadTestFile(target), "old screens");
  // Closed by the other process, the file can be replaced again.
  EXPECT_TRUE(WriteFileAtomic(target, "new screens"));
  EXPECT_EQ(ReadTestFile(target), "new screens");
}

// The other process's part: path, ready event, release event.
int HoldOpen(const wchar_t* path, const wchar_t* ready, const wchar_t* release) {
  HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  HANDLE readyEvent = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
  HANDLE releaseEvent = OpenEventW(SYNCHRONIZE, FALSE, release);
  if (readyEvent == nullptr || releaseEvent == nullptr) return 3;
  SetEvent(readyEvent);
  const bool released = WaitForSingleObject(releaseEvent, 120000) == WAIT_OBJECT_0;
  CloseHandle(file);
  CloseHandle(readyEvent);
  CloseHandle(releaseEvent);
  return released ? 0 : 4;
}

}  // namespace
}  // namespace velquist

int main(int argc, char** argv) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words != nullptr && count == 5 && std::wstring(words[1]) == L"--hold-open") {
    return velquist::HoldOpen(words[2], words[3], words[4]);
  }
  LocalFree(words);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
