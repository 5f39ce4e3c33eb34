// The file primitives on Windows: paths are UTF-8 in the core and wide strings for every
// system call; the folders are the user's known folders.
#include <windows.h>

#include "app/files.h"
// windows.h first: the shell headers build on its types.
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "app/wide_text_win.h"

namespace velquist {
namespace {

constexpr std::string_view AppSubfolder = "\\Orvane Software\\Velquist";

// The known folder, created if missing; empty when the shell cannot give it, so that the
// caller's fixed part begins the path.
std::string KnownFolderPath(REFKNOWNFOLDERID folder) {
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(folder, KF_FLAG_CREATE, nullptr, &path))) {
    result = Utf8FromWide(path);
  }
  CoTaskMemFree(path);  // also when the call failed, as the shell asks
  return result;
}

void CreateFolders(const std::string& path) {
  // An existing folder is fine; any other outcome shows up when a file is written there.
  SHCreateDirectoryExW(nullptr, WideFromUtf8(path).c_str(), nullptr);
}

// Removes the temporary file without disturbing the error that tells why the write failed.
void DiscardTemp(const std::wstring& temp) {
  const DWORD saved = GetLastError();
  DeleteFileW(temp.c_str());
  SetLastError(saved);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  // One call for everything below 4 GiB; larger contents go in pieces.
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 0x80000000u));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    if (written != chunk) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes.remove_prefix(chunk);
  }
  return true;
}

}  // namespace

std::string DataFolder() {
  std::string path = KnownFolderPath(FOLDERID_RoamingAppData) + std::string(AppSubfolder);
  CreateFolders(path);
  return path;
}

std::string WebViewDataFolder() {
  std::string path =
      KnownFolderPath(FOLDERID_LocalAppData) + std::string(AppSubfolder) + "\\WebView2";
  CreateFolders(path);
  return path;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  // Only files on disk: a pipe or device has no size to trust.
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) >= MaxReadFileSize) {
    CloseHandle(file);
    return false;
  }
  bool ok = true;
  if (size.QuadPart > 0) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
         read == bytes.size();
  }
  CloseHandle(file);
  if (!ok) {
    bytes.clear();
    return false;
  }
  RemoveByteOrderMark(bytes);
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temp = target + L".tmp";
  // No sharing, and an old temporary file is overwritten.
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // The first failure's error is the one reported.
  DWORD error = WriteAll(file, bytes) ? ERROR_SUCCESS : GetLastError();
  // Flushed even after a bad write, so that the file's state on disk is settled.
  if (!FlushFileBuffers(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    DiscardTemp(temp);
    return false;
  }
  // Windows refuses to replace a read-only file; asked first, so that the refusal does not
  // depend on how the move is carried out (Wine's replaces it).
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    DiscardTemp(temp);
    return false;
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DiscardTemp(temp);
    return false;
  }
  return true;
}

bool CanReplaceFile(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const DWORD folderAttributes = GetFileAttributesW(WideFromUtf8(folder).c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
      (folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return false;
  }
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

int LastFileError() { return static_cast<int>(GetLastError()); }

}  // namespace velquist
