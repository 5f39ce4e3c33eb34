#include <windows.h>

#include <vector>

#include "app/registry_option_store.h"
#include "app/wide_text_win.h"
#include "text/utf16.h"

namespace velquist {
namespace {

HKEY Key(void* key) { return static_cast<HKEY>(key); }

}  // namespace

RegistryOptionStore::RegistryOptionStore(std::string subKey) : m_subKey(std::move(subKey)) {}

RegistryOptionStore::~RegistryOptionStore() { Close(); }

void RegistryOptionStore::Close() {
  if (m_key != nullptr) RegCloseKey(Key(m_key));
  m_key = nullptr;
  m_writing = false;
  m_readable = false;
}

bool RegistryOptionStore::Open(bool forWriting) {
  Close();
  HKEY key = nullptr;
  const std::wstring path = WideFromUtf8(m_subKey);
  LSTATUS status =
      forWriting ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr)
                 : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key);
  if (status != ERROR_SUCCESS) return false;
  if (forWriting) {
    m_key = key;
    m_writing = true;
  } else {
    // Reading names the key in every call, so that no handle outlives the load.
    RegCloseKey(key);
    m_readable = true;
  }
  return true;
}

bool RegistryOptionStore::OpenForReading() { return Open(false); }

bool RegistryOptionStore::ReadString(std::string_view name, std::string& value) {
  if (!m_readable) return false;
  const std::wstring path = WideFromUtf8(m_subKey), wideName = WideFromUtf8(name);
  // The size decides before the value is fetched; a value of another type is absent
  // (without RRF_NOEXPAND, a REG_EXPAND_SZ would be expanded and pass as REG_SZ).
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_REG_SZ | RRF_NOEXPAND,
                   nullptr, nullptr, &size) != ERROR_SUCCESS ||
      size > MaxOptionStringBytes) {
    return false;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_REG_SZ | RRF_NOEXPAND,
                   nullptr, text.data(), &got) != ERROR_SUCCESS) {
    return false;
  }
  // The text ends at its first NUL.
  value = Utf8FromWide(std::wstring_view(text.data()));
  return true;
}

bool RegistryOptionStore::ReadDword(std::string_view name, std::uint32_t& value) {
  if (!m_readable) return false;
  DWORD data = 0, size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, WideFromUtf8(m_subKey).c_str(), WideFromUtf8(name).c_str(),
                   RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
    return false;
  }
  value = data;
  return true;
}

bool RegistryOptionStore::OpenForWriting() { return Open(true); }

bool RegistryOptionStore::WriteString(std::string_view name, std::string_view value) {
  if (!m_writing) return false;
  const std::wstring text = WideFromUtf8(value);
  // The stored size counts the terminating NUL.
  const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(Key(m_key), WideFromUtf8(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS;
}

bool RegistryOptionStore::WriteDword(std::string_view name, std::uint32_t value) {
  if (!m_writing) return false;
  const DWORD data = value;
  return RegSetValueExW(Key(m_key), WideFromUtf8(name).c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool RegistryOptionStore::FinishWriting() {
  // The registry keeps what was set; closing the key is all that is left.
  const bool wasWriting = m_writing;
  Close();
  return wasWriting;
}

}  // namespace velquist
