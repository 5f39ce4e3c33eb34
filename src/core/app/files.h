// Where the program keeps its data, and the two whole-file primitives every file goes
// through: files are read in one piece and replaced atomically, never edited in place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velquist {

// Files of this size or more are refused by ReadWholeFile.
inline constexpr std::size_t MaxReadFileSize = 16u * 1024u * 1024u;

// $XDG_DATA_HOME (default ~/.local/share) + "/Orvane Software/Velquist", created with its
// missing parents on every call; the outcome of the creation is not reported. On Windows
// the roaming application-data folder + "\Orvane Software\Velquist".
std::string DataFolder();
// $XDG_CACHE_HOME (default ~/.cache) + "/Orvane Software/Velquist/WebView2", created
// likewise; the browser engine keeps its profile there. On Windows the local
// application-data folder + "\Orvane Software\Velquist\WebView2".
std::string WebViewDataFolder();
// $XDG_CONFIG_HOME (default ~/.config) + "/Orvane Software/Velquist.reg", the options file.
// Its folder is created on every call. Not on Windows, where the options are in the
// registry (RegistryOptionStore).
std::string OptionsFilePath();

// Reads a whole regular file of less than MaxReadFileSize bytes. A leading UTF-8
// byte-order mark is removed when the content is longer than 2 bytes. bytes is emptied
// first and holds the content on success.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Removes a leading UTF-8 byte-order mark (EF BB BF) when the content is longer than 2
// bytes, as ReadWholeFile does.
void RemoveByteOrderMark(std::string& bytes);

// Replaces path with bytes: writes path + ".tmp", flushes it to disk, renames it over
// path and flushes the folder. On failure the target is untouched, the temporary file is
// removed and LastFileError() tells why. An existing target without any write permission
// bit is treated as read-only and not replaced. On Linux a file of 1 MiB or more is
// written past the page cache where the file system allows it. On Windows the rename is a
// replacing move that writes through, and it fails while another program holds the target
// open.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Renames from to to, replacing a file of that name. False when that fails.
bool MoveFileReplacing(const std::string& from, const std::string& to);

// Why the last failed file primitive failed: errno, or GetLastError() on Windows.
int LastFileError();

// Whether WriteFileAtomic may be able to replace path, as far as can be told without
// writing: its folder exists and may be written, and path is absent or a file that is not
// read-only (by the rule above).
bool CanReplaceFile(const std::string& path);

// The program's version as four dotted numbers, e.g. "1.0.1.1", from the build's version.
std::string VersionString();
// A version text of one to four dotted numbers (each 0 to 65535) as four dotted numbers,
// missing ones being 0; anything else gives the fallback "1.0.1.1".
std::string NormalizeVersion(std::string_view text);

}  // namespace velquist
