// An in-memory ZIP archive: single disk, 32-bit sizes, UTF-8 names, no extra fields, no
// comments, no ZIP64. Each entry is deflated when that makes it strictly smaller, else
// stored. Nothing here touches the file system.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/crc32.h"
#include "export/deflate.h"

namespace velquist {

// DOS date and time of a "YYYY-MM-DD?HH:MM:SS..." text; any other text gives
// 2026-01-01 00:00:00. Years before 1980 become 1980; seconds are rounded down to even.
struct DosDateTime {
  std::uint16_t date = 0;
  std::uint16_t time = 0;
};
DosDateTime DosDateTimeFromText(std::string_view timestamp);

class ZipWriter {
 public:
  // Every entry carries the time of the timestamp (see DosDateTimeFromText).
  explicit ZipWriter(std::string_view timestamp);

  // Appends one entry; name is its path inside the archive with "/" separators. Names
  // are not checked: the caller gives unique ones.
  void AddEntry(std::string_view name, std::string_view data);
  // The same for an entry whose bytes are held in pieces (see DeflatePiece), whose
  // CRC-32 the caller has worked out already.
  void AddEntry(std::string_view name, const std::vector<DeflatePiece>& pieces, std::uint32_t crc);

  // Appends the central directory and the end record and hands over the whole archive.
  // The writer is not used afterwards.
  std::string Finish();

 private:
  // Appends the headers of an entry of size bytes around its payload: deflated, or stored
  // when that is not strictly smaller.
  void AddDeflated(std::string_view name, std::size_t size, std::uint32_t crc,
                   const std::function<void()>& deflate, const std::function<void()>& store);

  std::string m_local;    // local headers, each followed by its entry's data
  std::string m_central;  // one central header per entry
  DosDateTime m_stamp;
  std::uint16_t m_count = 0;
};

}  // namespace velquist
