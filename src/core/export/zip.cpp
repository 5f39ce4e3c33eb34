#include "export/zip.h"

#include <charconv>

#include "results/format.h"

namespace velquist {
namespace {

constexpr std::uint16_t kVersion = 20;       // 2.0: deflate
constexpr std::uint16_t kUtf8Name = 0x0800;  // flag bit 11
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::size_t kLocalHeaderSize = 30;

// Every field is little-endian; 32-bit fields are the low word, then the high word.
void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// The leading decimal digits of text (all of them in the checked positions).
unsigned ReadNumber(std::string_view text) {
  unsigned v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

struct EntryInfo {
  std::uint16_t method;
  std::uint32_t crc;
  std::uint32_t compressedSize;
  std::uint32_t size;
  std::uint16_t nameLength;
};

// The fields that the local and the central header share, from "compression method" on.
void PutCommonFields(std::string& out, const EntryInfo& e, DosDateTime stamp) {
  Put16(out, e.method);
  Put16(out, stamp.time);
  Put16(out, stamp.date);
  Put32(out, e.crc);
  Put32(out, e.compressedSize);
  Put32(out, e.size);
  Put16(out, e.nameLength);
  Put16(out, 0);  // extra field length
}

}  // namespace

DosDateTime DosDateTimeFromText(std::string_view t) {
  unsigned year = 2026, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  if (t.size() >= 19 && IsIsoDate(t.substr(0, 10))) {
    year = ReadNumber(t.substr(0, 4));
    month = ReadNumber(t.substr(5, 2));
    day = ReadNumber(t.substr(8, 2));
    hour = ReadNumber(t.substr(11, 2));
    minute = ReadNumber(t.substr(14, 2));
    second = ReadNumber(t.substr(17, 2));
  }
  if (year < 1980) year = 1980;
  DosDateTime dt;
  dt.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  dt.time = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  return dt;
}

ZipWriter::ZipWriter(std::string_view timestamp) : m_stamp(DosDateTimeFromText(timestamp)) {}

void ZipWriter::AddEntry(std::string_view name, std::string_view data) {
  AddDeflated(
      name, data.size(), [&] { AppendDeflateFixed(data, m_local); }, [&] { return Crc32(data); },
      [&] { return data.size(); }, [&] { m_local.append(data); });
}

void ZipWriter::AddEntry(std::string_view name, PieceSource& data) {
  const auto deflate = [&] {
    const auto write = [&data](std::size_t index, std::string& buffer) {
      return data.Write(index, buffer);
    };
    if (AppendDeflateFixed(data.Pieces(), data.Threads(), data.SizeBound(), data.SizeBound(), write,
                           m_local)) {
      return;
    }
    // The pieces' parses could not be joined: deflate the whole data instead.
    AppendDeflateFixed(data.Whole(), m_local);
  };
  AddDeflated(
      name, data.SizeBound(), deflate, [&] { return data.Crc(); }, [&] { return data.Size(); },
      [&] { m_local.append(data.Whole()); });
}

void ZipWriter::AddDeflated(std::string_view name, std::size_t sizeBound,
                            const std::function<void()>& deflate,
                            const std::function<std::uint32_t()>& crc,
                            const std::function<std::size_t()>& size,
                            const std::function<void()>& store) {
  const auto offset = static_cast<std::uint32_t>(m_local.size());

  // The header goes in first and its fields are filled in once the payload is known, so
  // that the deflated bytes are written straight into the archive without a copy.
  const std::size_t headerAt = m_local.size();
  m_local.reserve(headerAt + kLocalHeaderSize + name.size() + DeflateFixedBound(sizeBound));
  m_local.resize(headerAt + kLocalHeaderSize);
  m_local.append(name);
  const std::size_t payloadAt = m_local.size();
  deflate();
  const std::size_t length = size();
  EntryInfo e{kDeflated, crc(), 0, static_cast<std::uint32_t>(length),
              static_cast<std::uint16_t>(name.size())};
  if (m_local.size() - payloadAt >= length) {
    // Deflate did not make it strictly smaller: store it as it is.
    m_local.resize(payloadAt);
    store();
    e.method = kStored;
  }
  e.compressedSize = static_cast<std::uint32_t>(m_local.size() - payloadAt);

  std::string header;
  header.reserve(kLocalHeaderSize);
  Put32(header, 0x04034B50);
  Put16(header, kVersion);
  Put16(header, kUtf8Name);
  PutCommonFields(header, e, m_stamp);
  m_local.replace(headerAt, kLocalHeaderSize, header);

  Put32(m_central, 0x02014B50);
  Put16(m_central, kVersion);  // version made by
  Put16(m_central, kVersion);  // version needed to extract
  Put16(m_central, kUtf8Name);
  PutCommonFields(m_central, e, m_stamp);
  Put16(m_central, 0);  // file comment length
  Put16(m_central, 0);  // disk number start
  Put16(m_central, 0);  // internal file attributes
  Put32(m_central, 0);  // external file attributes
  Put32(m_central, offset);
  m_central.append(name);
  ++m_count;
}

std::string ZipWriter::Finish() {
  const auto centralOffset = static_cast<std::uint32_t>(m_local.size());
  const auto centralSize = static_cast<std::uint32_t>(m_central.size());
  m_local.reserve(m_local.size() + m_central.size() + 22);
  m_local.append(m_central);
  Put32(m_local, 0x06054B50);
  Put16(m_local, 0);  // number of this disk
  Put16(m_local, 0);  // disk where the central directory starts
  Put16(m_local, m_count);
  Put16(m_local, m_count);
  Put32(m_local, centralSize);
  Put32(m_local, centralOffset);
  Put16(m_local, 0);  // comment length
  m_central.clear();
  return std::move(m_local);
}

}  // namespace velquist
