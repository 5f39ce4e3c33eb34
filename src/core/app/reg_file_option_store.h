// The options key kept in one registry-export text file instead of a registry. The file
// is read once per load or save and replaced as a whole when the options are saved, so a
// crash never leaves it half written. Other keys and values in the file are kept.
#pragma once

#include <string>

#include "app/option_store.h"
#include "app/reg_file.h"

namespace velquist {

class RegFileOptionStore : public OptionStore {
 public:
  explicit RegFileOptionStore(std::string path);
  RegFileOptionStore(const RegFileOptionStore&) = delete;
  RegFileOptionStore& operator=(const RegFileOptionStore&) = delete;

  bool OpenForReading() override;
  bool ReadString(std::string_view name, std::string& value) override;
  bool ReadDword(std::string_view name, std::uint32_t& value) override;

  // A file that exists but cannot be read or is malformed is not overwritten: the user's
  // file stays as it is and the save reports failure.
  bool OpenForWriting() override;
  bool WriteString(std::string_view name, std::string_view value) override;
  bool WriteDword(std::string_view name, std::uint32_t value) override;
  bool FinishWriting() override;

  // Why the last open failed: empty for a missing file, else the reader's complaint.
  const std::string& Problem() const { return m_problem; }

 private:
  bool LoadFile();
  const RegValue* Find(std::string_view name) const;

  std::string m_path;
  RegFile m_file;
  RegKey* m_key = nullptr;  // the options key inside m_file while it is open
  bool m_readable = false;
  bool m_writable = false;
  std::string m_problem;
};

}  // namespace velquist
