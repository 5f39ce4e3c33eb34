// The text format of Windows registry exports ("Windows Registry Editor Version 5.00"):
// keys in brackets, each followed by its values as "name"="text", "name"=dword:0000001e
// or "name"=hex(n):00,01,... The options live in one such file. Values are kept as the
// registry keeps them: a type number and the stored bytes (strings as UTF-16LE with their
// terminating NUL, DWORDs as four little-endian bytes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquist {

inline constexpr std::uint32_t RegBinaryType = 3;
inline constexpr std::uint32_t RegStringType = 1;
inline constexpr std::uint32_t RegDwordType = 4;

struct RegValue {
  std::string name;  // empty for the key's default value, written "@"
  std::uint32_t type = 0;
  std::string data;
};

struct RegKey {
  std::string path;
  std::vector<RegValue> values;
};

struct RegFile {
  std::vector<RegKey> keys;
};

// Reads UTF-8 text (or UTF-16LE with its byte-order mark, as Windows writes it): blank
// lines, ";" comments, CRLF or LF line ends, \\ and \" in quoted strings, dword:, hex:
// and hex(n): data with "\" continuation lines. A repeated key gathers its values; a
// repeated value name replaces the earlier value. Anything else, including the deletion
// forms "[-key]" and "name"=-, makes the whole file malformed: false, with the line in
// *error.
bool ParseRegFile(std::string_view text, RegFile& out, std::string* error = nullptr);
// The file's text, UTF-8 with CRLF line ends. Strings that cannot be written as quoted
// text (control characters, embedded NULs) are written as hex(1): data.
std::string RegFileText(const RegFile& file);

// Registry names compare without regard to ASCII letter case.
RegKey* FindRegKey(RegFile& file, std::string_view path);
const RegValue* FindRegValue(const RegKey& key, std::string_view name);
// Replaces the value of that name in place, or appends it.
void SetRegValue(RegKey& key, RegValue value);

}  // namespace velquist
