// The options key in the current user's registry hive, on Windows (elsewhere the options
// live in RegFileOptionStore's file). Strings are REG_SZ, numbers REG_DWORD. No key handle
// outlives a load or a save.
#pragma once

#include <string>
#include <string_view>

#include "app/option_store.h"

namespace velquist {

// The options key below HKEY_CURRENT_USER.
inline constexpr std::string_view OptionsSubKey = "SOFTWARE\\Orvane Software\\Velquist";

class RegistryOptionStore : public OptionStore {
 public:
  // subKey: the key below HKEY_CURRENT_USER; tests name a key of their own.
  explicit RegistryOptionStore(std::string subKey = std::string(OptionsSubKey));
  ~RegistryOptionStore() override;
  RegistryOptionStore(const RegistryOptionStore&) = delete;
  RegistryOptionStore& operator=(const RegistryOptionStore&) = delete;

  bool OpenForReading() override;
  bool ReadString(std::string_view name, std::string& value) override;
  bool ReadDword(std::string_view name, std::uint32_t& value) override;

  bool OpenForWriting() override;
  bool WriteString(std::string_view name, std::string_view value) override;
  bool WriteDword(std::string_view name, std::uint32_t value) override;
  bool FinishWriting() override;

 private:
  bool Open(bool forWriting);
  void Close();

  std::string m_subKey;
  void* m_key = nullptr;  // the HKEY open for writing; opaque, so no Windows header here
  bool m_writing = false;
  bool m_readable = false;
};

}  // namespace velquist
