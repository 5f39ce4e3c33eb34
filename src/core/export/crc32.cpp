// Slicing-by-8: eight 256-entry tables let the loop fold eight input bytes into the
// register per step instead of one. Table 0 is the classic byte-at-a-time table; table k
// gives the effect of a byte followed by k zero bytes, so the eight lookups of one step
// are independent of each other and the CPU can run them in parallel.
//
// Where the processor multiplies polynomials over GF(2) (x86-64 with PCLMULQDQ), long
// inputs are folded instead, 64 bytes per step and several times faster: four 128-bit
// registers each hold a quarter of the input folded so far, and a step multiplies each by
// x^(8 * 64) modulo the polynomial and adds the next 64 bytes. At the end the four are
// folded into one, whose 16 bytes have the same CRC as everything folded, and the tables
// go on from there.
#include "export/crc32.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VELQUIST_CRC_FOLDING 1
#endif

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

#if defined(VELQUIST_CRC_FOLDING)

// The multipliers that move a 128-bit register the given number of bytes on: its low half
// times x^(8 * bytes + 32), its high half times x^(8 * bytes - 32), modulo the polynomial.
// In the reflected order a carry-less product comes out one bit short, hence the shift.
__m128i FoldBy(std::uint64_t bytes) {
  const std::uint64_t low = std::uint64_t{ShiftByBytes(bytes + 4)} << 1;
  const std::uint64_t high = std::uint64_t{ShiftByBytes(bytes - 4)} << 1;
  return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}

[[gnu::target("pclmul")]] inline __m128i Fold(__m128i x, __m128i by, const unsigned char* next) {
  const __m128i data = _mm_loadu_si128(reinterpret_cast<const __m128i*>(next));
  const __m128i low = _mm_clmulepi64_si128(x, by, 0x00);
  const __m128i high = _mm_clmulepi64_si128(x, by, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), data);
}

// Folds the whole 16-byte blocks of p (at least 64 bytes) into the register c, which is
// not complemented, and moves p and n past them.
[[gnu::target("pclmul")]] std::uint32_t FoldBlocks(std::uint32_t c, const unsigned char*& p,
                                                   std::size_t& n, const CrcTables& t) {
  static const __m128i by64 = FoldBy(64);
  static const __m128i by16 = FoldBy(16);
  const auto load = [](const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  // The register stands for everything before p: it is added to the first four bytes.
  __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(c)));
  __m128i x1 = load(p + 16);
  __m128i x2 = load(p + 32);
  __m128i x3 = load(p + 48);
  for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
    x0 = Fold(x0, by64, p);
    x1 = Fold(x1, by64, p + 16);
    x2 = Fold(x2, by64, p + 32);
    x3 = Fold(x3, by64, p + 48);
  }
  std::array<unsigned char, 48> rest{};
  _mm_storeu_si128(reinterpret_cast<__m128i*>(rest.data()), x1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(rest.data() + 16), x2);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(rest.data() + 32), x3);
  for (std::size_t i = 0; i < rest.size(); i += 16) x0 = Fold(x0, by16, rest.data() + i);
  for (; n >= 16; p += 16, n -= 16) x0 = Fold(x0, by16, p);
  std::array<unsigned char, 16> last{};
  _mm_storeu_si128(reinterpret_cast<__m128i*>(last.data()), x0);
  c = 0;
  for (const unsigned char b : last) c = (c >> 8) ^ t[0][(c ^ b) & 0xFF];
  return c;
}

bool CanFold() {
  static const bool can = __builtin_cpu_supports("pclmul") != 0;
  return can;
}

#endif

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::string_view bytes) {
  const CrcTables& t = Tables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  std::uint32_t c = ~crc;
#if defined(VELQUIST_CRC_FOLDING)
  if (n >= 64 && CanFold()) c = FoldBlocks(c, p, n, t);
#endif
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

// Appending b's bytes to a multiplies a's register by x^(8 * |b|) and adds b's own CRC
// (the presets and final complements cancel out between the three CRCs).
std::uint32_t Crc32Combine(std::uint32_t crcA, std::uint32_t crcB, std::uint64_t lengthB) {
  return MultiplyModP(ShiftByBytes(lengthB), crcA) ^ crcB;
}

}  // namespace velquist
