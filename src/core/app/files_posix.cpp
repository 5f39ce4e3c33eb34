#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/files.h"

namespace velquist {
namespace {

constexpr std::string_view AppSubfolder = "/Orvane Software/Velquist";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  // No usable $HOME: ask the user database, as a login would.
  const passwd* entry = getpwuid(getuid());
  if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
    return entry->pw_dir;
  }
  return {};
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are
// ignored, as the XDG rules ask), else the home folder plus the fallback. Empty when
// neither is known, so that the caller's fixed part begins the path.
std::string XdgFolder(const char* variable, std::string_view homeFallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  std::string home = HomeFolder();
  if (home.empty()) return {};
  return home + std::string(homeFallback);
}

void CreateFolders(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
}

// The folder part of a path, for flushing the directory entry of a rename.
std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

#ifdef O_DIRECT
// Files of a chunk or more are written past the page cache. Copying a large export into
// fresh cache pages was most of the cost of writing it, and the flush that follows then
// has only the file's metadata left to write.
constexpr std::size_t kDirectChunk = std::size_t{1} << 20;
// Direct writes need offset and length aligned to the device's logical block size, and
// memory too: 4096 covers every device.
constexpr std::size_t kDirectAlign = 4096;

// Writes bytes directly into the empty file fd, a chunk at a time through an aligned
// buffer, the last chunk padded and the file then cut to its length. False when the file
// system refuses direct writes or any step fails; the file's content is then unknown.
bool WriteDirect(int fd, std::string_view bytes) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_DIRECT) != 0) return false;
  // Mapped, not allocated: page-aligned, and the same system calls on every save.
  void* const mapped =
      mmap(nullptr, kDirectChunk, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  bool ok = mapped != MAP_FAILED;
  auto* const buffer = static_cast<char*>(mapped);
  for (std::size_t at = 0; ok && at < bytes.size(); at += kDirectChunk) {
    const std::size_t n = std::min(kDirectChunk, bytes.size() - at);
    const std::size_t padded = (n + kDirectAlign - 1) / kDirectAlign * kDirectAlign;
    std::memcpy(buffer, bytes.data() + at, n);
    std::memset(buffer + n, 0, padded - n);
    ssize_t written;
    do {
      written = write(fd, buffer, padded);
    } while (written < 0 && errno == EINTR);
    ok = written == static_cast<ssize_t>(padded);
  }
  if (mapped != MAP_FAILED) munmap(mapped, kDirectChunk);
  ok = ok && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  return fcntl(fd, F_SETFL, flags) == 0 && ok;
}
#endif

// Writes bytes into the empty file fd.
bool WriteContent(int fd, std::string_view bytes) {
#ifdef O_DIRECT
  if (bytes.size() >= kDirectChunk) {
    if (WriteDirect(fd, bytes)) return true;
    // Refused or cut short: start again through the page cache, whose failure, if it
    // fails too, is the one reported.
    if (lseek(fd, 0, SEEK_SET) != 0 || ftruncate(fd, 0) != 0) return false;
  }
#endif
  return WriteAll(fd, bytes);
}

bool ReadAll(int fd, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = read(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;  // the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Removes the temporary file without disturbing errno, which tells the caller why the
// write failed.
void DiscardTemp(const std::string& temp) {
  int saved = errno;
  unlink(temp.c_str());
  errno = saved;
}

// A file that nobody may write is the read-only file of other systems: leave it alone.
bool IsReadOnlyTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The rename has happened; a failed flush of the folder cannot undo it.
  fsync(fd);
  close(fd);
}

}  // namespace

std::string DataFolder() {
  std::string path = XdgFolder("XDG_DATA_HOME", "/.local/share") + std::string(AppSubfolder);
  CreateFolders(path);
  return path;
}

std::string WebViewDataFolder() {
  std::string path =
      XdgFolder("XDG_CACHE_HOME", "/.cache") + std::string(AppSubfolder) + "/WebView2";
  CreateFolders(path);
  return path;
}

std::string OptionsFilePath() {
  std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config") + "/Orvane Software";
  CreateFolders(folder);
  return folder + "/Velquist.reg";
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  // Only regular files: a folder, pipe or device has no size to trust.
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<std::uint64_t>(info.st_size) >= MaxReadFileSize) {
    close(fd);
    return false;
  }
  bool ok = true;
  if (info.st_size > 0) {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    ok = ReadAll(fd, bytes.data(), bytes.size());
  }
  close(fd);
  if (!ok) {
    bytes.clear();
    return false;
  }
  RemoveByteOrderMark(bytes);
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".tmp";
  // A stale temporary file (or a link planted there) is replaced, never written through.
  if (unlink(temp.c_str()) != 0 && errno != ENOENT) return false;
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return false;
  // The first failure's errno is the one reported.
  int error = WriteContent(fd, bytes) ? 0 : errno;
  // Flushed even after a bad write, so that the file's state on disk is settled.
  if (fsync(fd) != 0 && error == 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    errno = error;
    DiscardTemp(temp);
    return false;
  }
  if (IsReadOnlyTarget(path)) {
    errno = EACCES;
    DiscardTemp(temp);
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    DiscardTemp(temp);
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

bool CanReplaceFile(const std::string& path) {
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  // Also false on a read-only file system, where even the superuser cannot write.
  if (access(folder.c_str(), W_OK | X_OK) != 0) return false;
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  return !S_ISDIR(info.st_mode) && !IsReadOnlyTarget(path);
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

int LastFileError() { return errno; }

}  // namespace velquist
