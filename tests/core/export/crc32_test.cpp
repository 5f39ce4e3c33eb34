#include "export/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace velquist {
namespace {

// One bit at a time, straight from the definition of the reflected CRC.
std::uint32_t BitwiseCrc(std::string_view s) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : s) {
    c ^= b;
    for (int i = 0; i < 8; ++i) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
  }
  return ~c;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& ch : s) ch = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(Crc32, KnownValues) {
  struct Case {
    std::string_view text;
    std::uint32_t crc;
  };
  const Case cases[] = {
      {"", 0x00000000u},
      {"a", 0xE8B7BE43u},
      {"123456789", 0xCBF43926u},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
  };
  for (const Case& c : cases) EXPECT_EQ(Crc32(c.text), c.crc) << c.text;
}

TEST(Crc32, MatchesBitwiseDefinitionForEveryLengthAndAlignment) {
  const std::string data = RandomBytes(300, 7);
  for (std::size_t start = 0; start < 9; ++start) {
    for (std::size_t len = 0; start + len <= data.size(); ++len) {
      const std::string_view s = std::string_view(data).substr(start, len);
      ASSERT_EQ(Crc32(s), BitwiseCrc(s)) << "start " << start << " length " << len;
    }
  }
}

TEST(Crc32, MatchesZlibOnLargeInput) {
  const std::string data = RandomBytes(1 << 20, 11);
  const auto expected = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  EXPECT_EQ(Crc32(data), expected);
}

TEST(Crc32, UpdateContinuesARunningValue) {
  const std::string data = RandomBytes(1000, 3);
  for (std::size_t cut : {0u, 1u, 7u, 8u, 500u, 999u, 1000u}) {
    const std::string_view v(data);
    EXPECT_EQ(Crc32Update(Crc32(v.substr(0, cut)), v.substr(cut)), Crc32(v)) << cut;
  }
}

TEST(Crc32, CombinedPartsGiveTheCrcOfTheWhole) {
  const std::string data = RandomBytes(70000, 4);
  const std::string_view v(data);
  for (std::size_t cut : {0u, 1u, 3u, 8u, 255u, 256u, 4096u, 65537u, 69999u, 70000u}) {
    const std::string_view a = v.substr(0, cut);
    const std::string_view b = v.substr(cut);
    EXPECT_EQ(Crc32Combine(Crc32(a), Crc32(b), b.size()), Crc32(v)) << cut;
  }
  // Three parts, joined in either grouping.
  const std::string_view a = v.substr(0, 1000), b = v.substr(1000, 30000), c = v.substr(31000);
  EXPECT_EQ(Crc32Combine(Crc32Combine(Crc32(a), Crc32(b), b.size()), Crc32(c), c.size()), Crc32(v));
  EXPECT_EQ(Crc32Combine(Crc32(a), Crc32Combine(Crc32(b), Crc32(c), c.size()), b.size() + c.size()),
            Crc32(v));
  // Empty parts change nothing; lengths beyond 4 GiB are taken whole.
  EXPECT_EQ(Crc32Combine(0x12345678u, 0, 0), 0x12345678u);
  // zlib's lengths may be 32-bit (on Windows), so it moves on by 2^30 bytes eight times.
  uLong expected = Crc32(a);
  for (int i = 0; i < 8; ++i) expected = crc32_combine(expected, 0, z_off_t{1} << 30);
  EXPECT_EQ(Crc32Combine(Crc32(a), 0, std::uint64_t{1} << 33),
            static_cast<std::uint32_t>(expected));
}

}  // namespace
}  // namespace velquist
