// Typed access to the key that holds the program's options. Reads and writes follow the
// registry's rules wherever the values actually live: strings are REG_SZ, numbers
// REG_DWORD, and a value of the other type counts as absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velquist {

// Where the options live, as the registry names it.
inline constexpr std::string_view OptionsKeyPath =
    "HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist";
// Strings stored in more bytes than this (UTF-16, terminator included) are not read.
inline constexpr std::size_t MaxOptionStringBytes = 16384;

class OptionStore {
 public:
  virtual ~OptionStore() = default;

  // Opens the key for reading; false when it does not exist or cannot be read, and then
  // nothing can be read.
  virtual bool OpenForReading() = 0;
  // A REG_SZ value stored in at most MaxOptionStringBytes, as UTF-8 up to its first NUL.
  virtual bool ReadString(std::string_view name, std::string& value) = 0;
  // A REG_DWORD value.
  virtual bool ReadDword(std::string_view name, std::uint32_t& value) = 0;

  // Creates or opens the key for writing; false when that is not possible.
  virtual bool OpenForWriting() = 0;
  virtual bool WriteString(std::string_view name, std::string_view value) = 0;
  virtual bool WriteDword(std::string_view name, std::uint32_t value) = 0;
  // Ends the writing and makes the written values last; false when that fails.
  virtual bool FinishWriting() = 0;
};

}  // namespace velquist
