// Fixed-Huffman deflate with greedy hash-chain matching.
//
// The stream is one block (BFINAL = 1, BTYPE = 01) however long the input is. The match
// finder keeps, for every 15-bit hash of three bytes, the most recent position with that
// hash (head) and, for every position in the 32 KiB window, the previous position with the
// same hash (prev). At each position the chain is walked over at most 64 candidates; the
// longest match wins, the nearest among equals. A match found is taken at once (no lazy
// evaluation) and every position it covers is entered into the chains, so the chain of a
// position always holds every earlier position with the same hash.
//
// Shortcuts, none of which changes the output:
// - A candidate can only win when it matches one byte more than the best so far, so that
//   byte and the one before it are compared first and most candidates stop there.
// - Equal bytes are counted eight at a time with one XOR and a count of trailing zeros.
// - Codes are bit-reversed once into tables, a match's length code and extra bits are
//   joined into one value, and the distance code comes from the bit length of D - 1.
// - Bits go to a 64-bit accumulator that is emptied by one unaligned 8-byte store per
//   symbol into a fixed chunk, which is appended to the output when it fills.
#include "export/deflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace velquist {
namespace {

constexpr std::size_t kWindow = 32768;    // largest distance deflate can express
constexpr std::size_t kHashSize = 32768;  // 15-bit hash
constexpr int kMaxChain = 64;             // candidates looked at per position
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;

// Bits written for one symbol: a match is at most an 8-bit length code, 5 extra bits,
// a 5-bit distance code and 13 extra bits.
constexpr int kMaxBitsPerSymbol = 8 + 5 + 5 + 13;
// Bit writer invariant: after every flush fewer than 8 bits wait in the accumulator, so
// adding one symbol never needs more than 7 + 31 bits, and the shift by whole bytes that
// ends a flush stays below 64.
static_assert(7 + kMaxBitsPerSymbol <= 63, "one symbol must fit into the bit accumulator");
static_assert(std::endian::native == std::endian::little,
              "the bit writer stores its accumulator as little-endian bytes");

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

constexpr std::uint32_t Reverse(std::uint32_t code, int bits) {
  std::uint32_t r = 0;
  for (int i = 0; i < bits; ++i) r |= ((code >> i) & 1u) << (bits - 1 - i);
  return r;
}

// The fixed literal/length code of RFC 1951 section 3.2.6, as (bit-reversed code, length).
constexpr std::pair<std::uint32_t, int> FixedCode(int symbol) {
  if (symbol < 144) return {Reverse(0x30u + static_cast<std::uint32_t>(symbol), 8), 8};
  if (symbol < 256) return {Reverse(0x190u + static_cast<std::uint32_t>(symbol - 144), 9), 9};
  if (symbol < 280) return {Reverse(static_cast<std::uint32_t>(symbol - 256), 7), 7};
  return {Reverse(0xC0u + static_cast<std::uint32_t>(symbol - 280), 8), 8};
}

struct Code {
  std::uint32_t bits = 0;  // ready to be written, least significant bit first
  std::uint32_t count = 0;
};

struct CodeTables {
  std::array<Code, 256> literal{};
  std::array<Code, kMaxMatch + 1> length{};  // length code and extra bits, by match length
  std::array<std::uint32_t, 30> distance{};  // bit-reversed 5-bit distance codes
  Code endOfBlock;
};

constexpr CodeTables BuildCodeTables() {
  CodeTables t{};
  for (int s = 0; s < 256; ++s) {
    auto [bits, count] = FixedCode(s);
    t.literal[s] = {bits, static_cast<std::uint32_t>(count)};
  }
  for (std::size_t len = kMinMatch; len <= kMaxMatch; ++len) {
    std::size_t index = 0;  // the highest index whose base is at most len
    while (index + 1 < kLengthBase.size() && kLengthBase[index + 1] <= len) ++index;
    auto [bits, count] = FixedCode(257 + static_cast<int>(index));
    const auto extra = static_cast<std::uint32_t>(len - kLengthBase[index]);
    t.length[len] = {bits | (extra << count),
                     static_cast<std::uint32_t>(count) + kLengthExtra[index]};
  }
  for (std::uint32_t d = 0; d < 30; ++d) t.distance[d] = Reverse(d, 5);
  auto [bits, count] = FixedCode(256);
  t.endOfBlock = {bits, static_cast<std::uint32_t>(count)};
  return t;
}

constexpr CodeTables kCodes = BuildCodeTables();

// Distance code and extra bits of distance d (1..32768): with m = d - 1, distances 1-4
// are codes 0-3; above that the code is twice the index of m's top bit plus the bit
// below it, and the remaining low bits of m are the extra bits.
inline Code DistanceCode(std::uint32_t d) {
  const std::uint32_t m = d - 1;
  if (m < 4) return {kCodes.distance[m], 5};
  const auto top = static_cast<std::uint32_t>(std::bit_width(m)) - 1;
  const std::uint32_t extra = top - 1;
  const std::uint32_t code = 2 * top + ((m >> extra) & 1u);
  return {kCodes.distance[code] | ((m & ((1u << extra) - 1)) << 5), 5 + extra};
}

inline std::uint32_t Hash3(const unsigned char* p) {
  return ((((std::uint32_t{p[0]} << 5) ^ p[1]) << 5) ^ p[2]) & (kHashSize - 1);
}

inline std::uint64_t Load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline std::uint16_t Load16(const unsigned char* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

// Number of equal bytes at a and b, at most limit.
inline std::size_t MatchLength(const unsigned char* a, const unsigned char* b, std::size_t limit) {
  std::size_t n = 0;
  while (n + 8 <= limit) {
    const std::uint64_t diff = Load64(a + n) ^ Load64(b + n);
    if (diff != 0) return n + static_cast<std::size_t>(std::countr_zero(diff) >> 3);
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

constexpr std::size_t kChunk = 1 << 16;

struct MatchState {
  std::array<std::int64_t, kHashSize> head;
  std::array<std::int64_t, kWindow> prev;
  // Output chunk with room for one 8-byte store beyond kChunk.
  std::array<unsigned char, kChunk + 8> out;
};

}  // namespace

void AppendDeflateFixed(std::string_view bytes, std::string& out) {
  auto state = std::make_unique<MatchState>();
  std::int64_t* const head = state->head.data();
  std::int64_t* const prev = state->prev.data();
  std::fill_n(head, kHashSize, -1);
  std::fill_n(prev, kWindow, -1);
  out.reserve(out.size() + DeflateFixedBound(bytes.size()));

  const auto* const in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  unsigned char* const chunk = state->out.data();
  unsigned char* w = chunk;
  std::uint64_t acc = 0;
  std::uint32_t count = 0;

  const auto put = [&](std::uint32_t bits, std::uint32_t nbits) {
    acc |= std::uint64_t{bits} << count;
    count += nbits;
  };
  // Moves the whole bytes of the accumulator to the chunk; keeps count below 8.
  const auto flush = [&]() {
    std::memcpy(w, &acc, 8);
    w += count >> 3;
    acc >>= (count & ~7u);
    count &= 7u;
    if (w >= chunk + kChunk) {
      out.append(reinterpret_cast<const char*>(chunk), static_cast<std::size_t>(w - chunk));
      w = chunk;
    }
  };
  const auto insert = [&](std::size_t pos) {
    const std::uint32_t h = Hash3(in + pos);
    prev[pos & (kWindow - 1)] = head[h];
    head[h] = static_cast<std::int64_t>(pos);
  };

  put(1, 1);  // BFINAL
  put(1, 2);  // BTYPE 01: fixed Huffman codes
  std::size_t a = 0;
  while (a < n) {
    // Too close to the end for a match: the last bytes are literals.
    if (a + 2 >= n) {
      put(kCodes.literal[in[a]].bits, kCodes.literal[in[a]].count);
      flush();
      ++a;
      continue;
    }
    const std::uint32_t h = Hash3(in + a);
    const std::size_t longest = std::min(kMaxMatch, n - a);
    const unsigned char* const cur = in + a;
    // Only matches of 3 or more count, so 2 stands for "none yet".
    std::size_t best = kMinMatch - 1;
    std::size_t bestDist = 0;
    // The byte one past the best length and the one before it: a winner matches both.
    std::uint16_t scanEnd = Load16(cur + best - 1);
    std::int64_t c = head[h];
    for (int left = kMaxChain; c >= 0; --left) {
      const std::size_t dist = a - static_cast<std::size_t>(c);
      if (dist > kWindow) break;  // too far back to be expressed
      const unsigned char* const cand = in + c;
      // Cheap test first: a win needs the byte one past the best length to match.
      if (Load16(cand + best - 1) == scanEnd) {
        const std::size_t len = MatchLength(cand, cur, longest);
        if (len > best) {
          best = len;
          bestDist = dist;
          if (len == longest) break;  // nothing can beat it
          scanEnd = Load16(cur + best - 1);
        }
      }
      if (left == 1) break;  // candidate limit reached
      const std::int64_t next = prev[static_cast<std::size_t>(c) & (kWindow - 1)];
      if (next >= c) break;  // slot taken by a newer position: the chain ends
      c = next;
    }
    insert(a);

    if (best < kMinMatch) {
      put(kCodes.literal[*cur].bits, kCodes.literal[*cur].count);
      flush();
      ++a;
      continue;
    }
    // Length code with its extra bits, then distance code with its extra bits.
    const Code len = kCodes.length[best];
    const Code dist = DistanceCode(static_cast<std::uint32_t>(bestDist));
    put(len.bits, len.count);
    put(dist.bits, dist.count);
    flush();
    // Enter every covered position that still has three bytes ahead of it.
    const std::size_t end = std::min(a + best, n - 2);
    for (std::size_t p = a + 1; p < end; ++p) insert(p);
    a += best;
  }
  put(kCodes.endOfBlock.bits, kCodes.endOfBlock.count);
  flush();
  // The last partial byte, padded with zero bits.
  if (count > 0) *w++ = static_cast<unsigned char>(acc);
  out.append(reinterpret_cast<const char*>(chunk), static_cast<std::size_t>(w - chunk));
}

std::string DeflateFixed(std::string_view bytes) {
  std::string out;
  AppendDeflateFixed(bytes, out);
  return out;
}

}  // namespace velquist
