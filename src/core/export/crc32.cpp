// Slicing-by-8: eight 256-entry tables let the loop fold eight input bytes into the
// register per step instead of one. Table 0 is the classic byte-at-a-time table; table k
// gives the effect of a byte followed by k zero bytes, so the eight lookups of one step
// are independent of each other and the CPU can run them in parallel.
#include "export/crc32.h"

#include <array>
#include <bit>
#include <cstring>

namespace velquist {
namespace {

using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

CrcTables BuildTables() {
  CrcTables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][i] = c;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
  return t;
}

// Filled on first use; function-local statics are initialised exactly once.
const CrcTables& Tables() {
  static const CrcTables tables = BuildTables();
  return tables;
}

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::string_view bytes) {
  const CrcTables& t = Tables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  std::uint32_t c = ~crc;
  // Eight bytes per step; the first four are folded into the register (little-endian
  // load), the last four go straight to their tables.
  while (n >= 8) {
    std::uint32_t lo;
    std::uint32_t hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    if constexpr (std::endian::native == std::endian::big) {
      lo = __builtin_bswap32(lo);
      hi = __builtin_bswap32(hi);
    }
    lo ^= c;
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
        t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    p += 8;
    n -= 8;
  }
  // The tail, one byte at a time.
  while (n-- > 0) c = (c >> 8) ^ t[0][(c ^ *p++) & 0xFF];
  return ~c;
}

std::uint32_t Crc32(std::string_view bytes) { return Crc32Update(0, bytes); }

namespace {

// Polynomials over GF(2) modulo the CRC's, in its reflected order: bit 31 is x^0.
constexpr std::uint32_t kOne = 0x80000000u;

std::uint32_t MultiplyModP(std::uint32_t a, std::uint32_t b) {
  std::uint32_t product = 0;
  for (std::uint32_t bit = kOne; bit != 0; bit >>= 1) {
    if ((a & bit) != 0) product ^= b;
    b = (b & 1) != 0 ? (b >> 1) ^ 0xEDB88320u : b >> 1;  // b times x
  }
  return product;
}

// x^(8 * bytes) modulo the polynomial, by squaring: x^1, x^2, x^4, ...
std::uint32_t ShiftByBytes(std::uint64_t bytes) {
  std::uint32_t result = kOne;
  std::uint32_t power = kOne >> 8;  // x^8
  for (std::uint64_t n = bytes; n != 0; n >>= 1) {
    if ((n & 1) != 0) result = MultiplyModP(power, result);
    power = MultiplyModP(power, power);
  }
  return result;
}

}  // namespace

// Appending b's bytes to a multiplies a's register by x^(8 * |b|) and adds b's own CRC
// (the presets and final complements cancel out between the three CRCs).
std::uint32_t Crc32Combine(std::uint32_t crcA, std::uint32_t crcB, std::uint64_t lengthB) {
  return MultiplyModP(ShiftByBytes(lengthB), crcA) ^ crcB;
}

}  // namespace velquist
