#include "export/zip.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace velquist {
namespace {

std::uint32_t Read16(std::string_view s, std::size_t at) {
  return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}
std::uint32_t Read32(std::string_view s, std::size_t at) {
  return Read16(s, at) | (Read16(s, at + 2) << 16);
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

struct Entry {
  std::string name;
  std::uint32_t method = 0, flags = 0, time = 0, date = 0, crc = 0;
  std::uint32_t compressedSize = 0, size = 0, offset = 0;
  std::string payload;
};

// Reads the archive from its end record through the central directory to each local
// header, checking that both headers of an entry agree.
std::vector<Entry> ReadArchive(std::string_view zip) {
  std::vector<Entry> entries;
  EXPECT_GE(zip.size(), 22u);
  if (zip.size() < 22) return entries;
  const std::size_t end = zip.size() - 22;
  EXPECT_EQ(Read32(zip, end), 0x06054B50u);
  EXPECT_EQ(Read16(zip, end + 4), 0u);
  EXPECT_EQ(Read16(zip, end + 6), 0u);
  const std::uint32_t count = Read16(zip, end + 8);
  EXPECT_EQ(Read16(zip, end + 10), count);
  const std::uint32_t centralSize = Read32(zip, end + 12);
  const std::uint32_t centralOffset = Read32(zip, end + 16);
  EXPECT_EQ(Read16(zip, end + 20), 0u);
  EXPECT_EQ(centralOffset + centralSize, end);
  std::size_t at = centralOffset;
  for (std::uint32_t i = 0; i < count; ++i) {
    Entry e;
    EXPECT_EQ(Read32(zip, at), 0x02014B50u);
    EXPECT_EQ(Read16(zip, at + 4), 20u);
    EXPECT_EQ(Read16(zip, at + 6), 20u);
    e.flags = Read16(zip, at + 8);
    e.method = Read16(zip, at + 10);
    e.time = Read16(zip, at + 12);
    e.date = Read16(zip, at + 14);
    e.crc = Read32(zip, at + 16);
    e.compressedSize = Read32(zip, at + 20);
    e.size = Read32(zip, at + 24);
    const std::uint32_t nameLength = Read16(zip, at + 28);
    EXPECT_EQ(Read16(zip, at + 30), 0u);  // extra
    EXPECT_EQ(Read16(zip, at + 32), 0u);  // comment
    EXPECT_EQ(Read32(zip, at + 34), 0u);  // disk, internal attributes
    EXPECT_EQ(Read32(zip, at + 38), 0u);  // external attributes
    e.offset = Read32(zip, at + 42);
    e.name = std::string(zip.substr(at + 46, nameLength));
    at += 46 + nameLength;

    const std::size_t local = e.offset;
    EXPECT_EQ(Read32(zip, local), 0x04034B50u);
    EXPECT_EQ(Read16(zip, local + 4), 20u);
    EXPECT_EQ(Read16(zip, local + 6), e.flags);
    EXPECT_EQ(Read16(zip, local + 8), e.method);
    EXPECT_EQ(Read16(zip, local + 10), e.time);
    EXPECT_EQ(Read16(zip, local + 12), e.date);
    EXPECT_EQ(Read32(zip, local + 14), e.crc);
    EXPECT_EQ(Read32(zip, local + 18), e.compressedSize);
    EXPECT_EQ(Read32(zip, local + 22), e.size);
    EXPECT_EQ(Read16(zip, local + 26), nameLength);
    EXPECT_EQ(Read16(zip, local + 28), 0u);
    EXPECT_EQ(zip.substr(local + 30, nameLength), e.name);
    e.payload = std::string(zip.substr(local + 30 + nameLength, e.compressedSize));
    entries.push_back(e);
  }
  EXPECT_EQ(at, end);
  return entries;
}

TEST(DosDateTime, FromTimestampText) {
  struct Case {
    std::string_view text;
    std::uint16_t date;
    std::uint16_t time;
  };
  const Case cases[] = {
      {"2024-05-03T14:07:09Z", (44 << 9) | (5 << 5) | 3, (14 << 11) | (7 << 5) | 4},
      {"2024-05-03 23:59:59", (44 << 9) | (5 << 5) | 3, (23 << 11) | (59 << 5) | 29},
      {"2024-05-03T00:00:01Z", (44 << 9) | (5 << 5) | 3, 0},  // odd seconds round down
      {"2024-05-03T00:00:58Z", (44 << 9) | (5 << 5) | 3, 29},
      {"1980-01-01T00:00:00Z", (1 << 5) | 1, 0},
      {"1975-06-15T10:20:30Z", (6 << 5) | 15, (10 << 11) | (20 << 5) | 15},  // raised to 1980
      {"2107-12-31T00:00:00Z", (127 << 9) | (12 << 5) | 31, 0},
      // Fallback 2026-01-01 00:00:00: too short, or the date is not YYYY-MM-DD.
      {"", (46 << 9) | (1 << 5) | 1, 0},
      {"2024-05-03T14:07", (46 << 9) | (1 << 5) | 1, 0},
      {"2024-05-03T14:07:0", (46 << 9) | (1 << 5) | 1, 0},
      {"2024/05/03T14:07:09Z", (46 << 9) | (1 << 5) | 1, 0},
      {"2024-5-03T14:07:09Z.", (46 << 9) | (1 << 5) | 1, 0},
      {"20x4-05-03T14:07:09Z", (46 << 9) | (1 << 5) | 1, 0},
  };
  for (const Case& c : cases) {
    const DosDateTime dt = DosDateTimeFromText(c.text);
    EXPECT_EQ(dt.date, c.date) << c.text;
    EXPECT_EQ(dt.time, c.time) << c.text;
  }
}

TEST(ZipWriter, EmptyArchiveIsOnlyTheEndRecord) {
  const std::string zip = ZipWriter("2024-05-03T14:07:09Z").Finish();
  EXPECT_EQ(zip, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
}

TEST(ZipWriter, ExactBytesOfOneEmptyEntry) {
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("a", "");
  // Time 0x70E4 is 14:07:08, date 0x58A3 is 2024-05-03.
  const std::string local = Bytes({0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x00, 0x08, 0x00, 0x00, 0xE4,
                                   0x70, 0xA3, 0x58, 0,    0,    0,    0,    0,    0,    0,    0,
                                   0,    0,    0,    0,    0x01, 0x00, 0x00, 0x00, 'a'});
  const std::string central =
      Bytes({0x50, 0x4B, 0x01, 0x02, 0x14, 0x00, 0x14, 0x00, 0x00, 0x08, 0x00, 0x00,
             0xE4, 0x70, 0xA3, 0x58, 0,    0,    0,    0,    0,    0,    0,    0,
             0,    0,    0,    0,    0x01, 0x00, 0,    0,    0,    0,    0,    0,
             0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    'a'});
  const std::string end = Bytes({0x50, 0x4B, 0x05, 0x06, 0,    0,    0,    0,    0x01, 0x00, 0x01,
                                 0x00, 0x2F, 0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x00});
  ASSERT_EQ(local.size(), 31u);
  ASSERT_EQ(central.size(), 47u);
  ASSERT_EQ(end.size(), 22u);
  EXPECT_EQ(w.Finish(), local + central + end);
}

TEST(ZipWriter, EmptyEntryIsStoredWithZeroCrcAndSizes) {
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("empty.txt", "");
  const std::vector<Entry> entries = ReadArchive(w.Finish());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].method, 0u);
  EXPECT_EQ(entries[0].crc, 0u);
  EXPECT_EQ(entries[0].size, 0u);
  EXPECT_EQ(entries[0].compressedSize, 0u);
  EXPECT_EQ(entries[0].flags, 0x0800u);
}

TEST(ZipWriter, EntryThatDeflateCannotShrinkIsStored) {
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("one", "x");
  w.AddEntry("two", "xy");
  const std::vector<Entry> entries = ReadArchive(w.Finish());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].method, 0u);
  EXPECT_EQ(entries[0].payload, "x");
  EXPECT_EQ(entries[0].crc, Crc32("x"));
  EXPECT_EQ(entries[1].method, 0u);
  EXPECT_EQ(entries[1].payload, "xy");
}

TEST(ZipWriter, CompressibleEntryIsDeflated) {
  const std::string data(5000, 'z');
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("xl/worksheets/sheet1.xml", data);
  const std::vector<Entry> entries = ReadArchive(w.Finish());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "xl/worksheets/sheet1.xml");
  EXPECT_EQ(entries[0].method, 8u);
  EXPECT_EQ(entries[0].size, 5000u);
  EXPECT_EQ(entries[0].crc, Crc32(data));
  EXPECT_EQ(entries[0].payload, DeflateFixed(data));
}

TEST(ZipWriter, OffsetsFollowTheLocalStream) {
  const std::string a(3000, 'a');
  const std::string b = "short";
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("A.txt", a);
  w.AddEntry("dir/B.txt", b);
  w.AddEntry("C", "");
  const std::string zip = w.Finish();
  const std::vector<Entry> entries = ReadArchive(zip);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].offset, 0u);
  EXPECT_EQ(entries[1].offset, 30 + 5 + entries[0].compressedSize);
  EXPECT_EQ(entries[2].offset, entries[1].offset + 30 + 9 + entries[1].compressedSize);
  const std::size_t localLength = entries[2].offset + 30 + 1;
  EXPECT_EQ(Read32(zip, zip.size() - 6), localLength);
  EXPECT_EQ(Read32(zip, zip.size() - 10), (46u + 5) + (46u + 9) + (46u + 1));
  for (const Entry& e : entries) {
    EXPECT_EQ(e.date, (44u << 9) | (5u << 5) | 3u);
    EXPECT_EQ(e.time, (14u << 11) | (7u << 5) | 4u);
  }
}

TEST(ZipWriter, Utf8NamesAreKeptAsBytes) {
  ZipWriter w("2024-05-03T14:07:09Z");
  w.AddEntry("r\xC3\xA9sum\xC3\xA9.txt", "text");
  const std::vector<Entry> entries = ReadArchive(w.Finish());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "r\xC3\xA9sum\xC3\xA9.txt");
  EXPECT_EQ(entries[0].flags, 0x0800u);
}

}  // namespace
}  // namespace velquist
