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

// The data of an entry that is written piece by piece while it is deflated (see
// DeflatePieceWriter), so that the whole of it is never held at once.
class PieceSource {
 public:
  virtual ~PieceSource() = default;
  virtual std::size_t Pieces() const = 0;
  // The threads that write and deflate the pieces.
  virtual std::size_t Threads() const = 0;
  // At least the data's length, and the length of any piece with the bytes around it.
  virtual std::size_t SizeBound() const = 0;
  virtual WrittenPiece Write(std::size_t index, std::string& buffer) = 0;
  // The CRC-32 and the length of the whole data, once every piece is written.
  virtual std::uint32_t Crc() const = 0;
  virtual std::size_t Size() const = 0;
  // The whole data at once: for an entry that is stored, or whose pieces' parses cannot
  // be joined.
  virtual std::string Whole() = 0;
};

class ZipWriter {
 public:
  // Every entry carries the time of the timestamp (see DosDateTimeFromText).
  explicit ZipWriter(std::string_view timestamp);

  // Appends one entry; name is its path inside the archive with "/" separators. Names
  // are not checked: the caller gives unique ones.
  void AddEntry(std::string_view name, std::string_view data);
  // The same for an entry whose data is written piece by piece while it is deflated.
  void AddEntry(std::string_view name, PieceSource& data);

  // Appends the central directory and the end record and hands over the whole archive.
  // The writer is not used afterwards.
  std::string Finish();

 private:
  // Appends the headers of an entry around its payload: deflated, or stored when that is
  // not strictly smaller. sizeBound bounds the data's length; crc and size are asked for
  // once the payload is deflated.
  void AddDeflated(std::string_view name, std::size_t sizeBound,
                   const std::function<void()>& deflate, const std::function<std::uint32_t()>& crc,
                   const std::function<std::size_t()>& size, const std::function<void()>& store);

  std::string m_local;    // local headers, each followed by its entry's data
  std::string m_central;  // one central header per entry
  DosDateTime m_stamp;
  std::uint16_t m_count = 0;
};

}  // namespace velquist
