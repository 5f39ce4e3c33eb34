#include "app/reg_file_option_store.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/files.h"
#include "text/utf16.h"

namespace velquist {

RegFileOptionStore::RegFileOptionStore(std::string path) : m_path(std::move(path)) {}

bool RegFileOptionStore::LoadFile() {
  m_file = RegFile{};
  m_problem.clear();
  std::string text;
  if (!ReadWholeFile(m_path, text)) {
    m_problem = "cannot be read";
    return false;
  }
  return ParseRegFile(text, m_file, &m_problem);
}

const RegValue* RegFileOptionStore::Find(std::string_view name) const {
  return m_readable && m_key != nullptr ? FindRegValue(*m_key, name) : nullptr;
}

bool RegFileOptionStore::OpenForReading() {
  m_writable = false;
  m_key = LoadFile() ? FindRegKey(m_file, OptionsKeyPath) : nullptr;
  m_readable = m_key != nullptr;
  return m_readable;
}

bool RegFileOptionStore::ReadString(std::string_view name, std::string& value) {
  const RegValue* found = Find(name);
  if (found == nullptr || found->type != RegStringType ||
      found->data.size() > MaxOptionStringBytes) {
    return false;
  }
  // The text ends at its first NUL code unit.
  std::string_view data = found->data;
  std::size_t end = 0;
  while (end + 1 < data.size() && (data[end] != '\0' || data[end + 1] != '\0')) end += 2;
  value = Utf16LeToUtf8(data.substr(0, std::min(end, data.size())));
  return true;
}

bool RegFileOptionStore::ReadDword(std::string_view name, std::uint32_t& value) {
  const RegValue* found = Find(name);
  if (found == nullptr || found->type != RegDwordType || found->data.size() != 4) return false;
  value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(found->data[i]);
  return true;
}

bool RegFileOptionStore::OpenForWriting() {
  m_readable = false;
  std::error_code ignored;
  if (std::filesystem::symlink_status(m_path, ignored).type() ==
      std::filesystem::file_type::not_found) {
    m_file = RegFile{};
    m_problem.clear();
    m_writable = true;
  } else {
    m_writable = LoadFile();
  }
  m_key = m_writable ? FindRegKey(m_file, OptionsKeyPath) : nullptr;
  if (m_writable && m_key == nullptr) {
    m_key = &m_file.keys.emplace_back(RegKey{std::string(OptionsKeyPath), {}});
  }
  return m_writable;
}

bool RegFileOptionStore::WriteString(std::string_view name, std::string_view value) {
  if (!m_writable) return false;
  std::string data = Utf8ToUtf16Le(value);
  data.append(2, '\0');
  SetRegValue(*m_key, RegValue{std::string(name), RegStringType, std::move(data)});
  return true;
}

bool RegFileOptionStore::WriteDword(std::string_view name, std::uint32_t value) {
  if (!m_writable) return false;
  std::string data;
  for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>(value >> shift);
  SetRegValue(*m_key, RegValue{std::string(name), RegDwordType, std::move(data)});
  return true;
}

bool RegFileOptionStore::FinishWriting() {
  if (!m_writable) return false;
  m_writable = false;
  m_key = nullptr;
  return WriteFileAtomic(m_path, RegFileText(m_file));
}

}  // namespace velquist
