// Fixed-Huffman deflate with greedy hash-chain matching.
//
// The stream is one block (BFINAL = 1, BTYPE = 01) however long the input is. At each
// position the matcher looks at the chain of earlier positions whose three bytes have the
// same 15-bit hash, most recent first, at most 64 of them and none further back than the
// 32 KiB window; the longest match wins, the nearest among equals. A match found is taken
// at once (no lazy evaluation). Every position that has three bytes ahead of it is entered
// into its chain, those inside matches included.
//
// Because every position is entered, the chain of a position is exactly the last 64
// positions entered under its hash. So each hash keeps its chain as a ring of its last 64
// positions instead of one link per position: the candidates and their order are those of
// the linked chain, but they lie side by side in memory, and the walk reads them without
// waiting for one link to name the next (the linked walk ran at about half the speed).
//
// Shortcuts, none of which changes the output:
// - Until a first match is found, a candidate must share the first three bytes.
// - After that, a candidate can only win when it matches one byte more than the best so
//   far, so the four bytes ending at that byte are compared first and most candidates stop
//   there. Once the best is 7 bytes or more, the eight bytes ending there are compared
//   instead: that turns away candidates that pass the four-byte test but differ further
//   back, each of which would cost a mispredicted branch and a match count.
// - Equal bytes are counted eight at a time with one XOR and a count of trailing zeros;
//   the first sixteen without a branch, since most matches end there and a loop that
//   stops after one word or after two mispredicts about half the time.
// - Codes are bit-reversed once into tables, a match's length code and extra bits are
//   joined into one value, and the distance code comes from the bit length of D - 1.
// - The chain of the position after a match is fetched from memory while the match's
//   positions are entered.
//
// Large inputs are parsed in stretches by several threads at once (see Stretch below);
// the stream is the same as from one thread.
#include "export/deflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace velquist {
namespace {

constexpr std::size_t kWindow = 32768;    // largest distance deflate can express
constexpr std::size_t kHashSize = 32768;  // 15-bit hash
constexpr std::size_t kMaxChain = 64;     // candidates looked at per position; a power of 2
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

inline std::uint32_t Load32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline std::uint16_t Load16(const unsigned char* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

// Number of zero bytes below the lowest non-zero byte of diff, 0-8, without a branch:
// the top bit set keeps the count of trailing zeros defined (no test for 0 is needed),
// and the top bit of (diff - 1) AND NOT diff, set only when diff is 0, adds the eighth.
inline std::size_t EqualLowBytes(std::uint64_t diff) {
  const int low = std::countr_zero(diff | (std::uint64_t{1} << 63)) >> 3;
  return static_cast<std::size_t>(low) + (((diff - 1) & ~diff) >> 63);
}

// Number of equal bytes at a and b, at most limit.
inline std::size_t MatchLength(const unsigned char* a, const unsigned char* b, std::size_t limit) {
  std::size_t n = 0;
  // Most matches are shorter than 16 bytes, and where a loop over 8-byte words would end
  // after the first or the second word is hard to predict: the first 16 bytes are counted
  // without a branch.
  if (limit >= 16) {
    const std::size_t n0 = EqualLowBytes(Load64(a) ^ Load64(b));
    const std::size_t n1 = EqualLowBytes(Load64(a + 8) ^ Load64(b + 8));
    n = n0 + (n1 & (std::size_t{0} - (n0 >> 3)));  // n1 counts only when n0 is 8
    if (n < 16) return n;
  }
  while (n + 8 <= limit) {
    const std::uint64_t diff = Load64(a + n) ^ Load64(b + n);
    if (diff != 0) return n + static_cast<std::size_t>(std::countr_zero(diff) >> 3);
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

constexpr std::size_t kChunk = 1 << 16;

// Bits go least significant first into a 64-bit accumulator, which is emptied by one
// unaligned 8-byte store per symbol into a fixed chunk; the chunk is appended to the
// output string when it fills.
class BitWriter {
 public:
  // Continues the stream that starts at out[origin] and holds bitCount bits so far; the
  // last byte of out holds its odd bits, padded with zeros.
  BitWriter(std::string& out, std::size_t origin, std::uint64_t bitCount)
      : m_out(out), m_origin(origin), m_w(m_chunk.get()) {
    m_bits = static_cast<std::uint32_t>(bitCount & 7u);
    if (m_bits != 0) {
      m_acc = static_cast<unsigned char>(m_out.back());
      m_out.pop_back();
    }
  }

  // value has at most 56 bits, so that it fits next to the fewer than 8 bits left over.
  void Put(std::uint64_t value, std::uint32_t nbits) {
    m_acc |= value << m_bits;
    m_bits += nbits;
  }

  // Moves the whole bytes of the accumulator to the chunk; keeps fewer than 8 bits.
  void Flush() {
    std::memcpy(m_w, &m_acc, 8);
    m_w += m_bits >> 3;
    m_acc >>= (m_bits & ~7u);
    m_bits &= 7u;
    if (m_w >= m_chunk.get() + kChunk) Drain();
  }

  std::uint64_t BitCount() const {
    return (m_out.size() - m_origin + static_cast<std::size_t>(m_w - m_chunk.get())) * 8 + m_bits;
  }

  // Hands everything to the output string, the odd bits padded with zeros to a byte.
  void Finish() {
    Flush();
    if (m_bits > 0) *m_w++ = static_cast<unsigned char>(m_acc);
    Drain();
    m_acc = 0;
    m_bits = 0;
  }

 private:
  void Drain() {
    m_out.append(reinterpret_cast<const char*>(m_chunk.get()),
                 static_cast<std::size_t>(m_w - m_chunk.get()));
    m_w = m_chunk.get();
  }

  std::string& m_out;
  std::size_t m_origin;
  // Room for one 8-byte store beyond kChunk; not value-initialised, only written bytes count.
  std::unique_ptr<unsigned char[]> m_chunk{new unsigned char[kChunk + 8]};
  unsigned char* m_w;
  std::uint64_t m_acc = 0;
  std::uint32_t m_bits = 0;
};

// Copies the bits [from, to) of a finished stream; the stream has 8 readable bytes beyond
// its last byte.
void AppendBits(BitWriter& w, const std::string& stream, std::uint64_t from, std::uint64_t to) {
  const auto* const bytes = reinterpret_cast<const unsigned char*>(stream.data());
  while (from < to) {
    const std::uint64_t word = Load64(bytes + from / 8) >> (from % 8);  // 57 bits or more
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(to - from, 56));
    w.Put(word & ((std::uint64_t{1} << count) - 1), count);
    w.Flush();
    from += count;
  }
}

// Every position with three bytes ahead of it is entered into its chain, whether the
// parse emits a literal there, starts a match or passes through one. So the match found
// at a position depends on that position alone, not on how the parse got there, and the
// input can be parsed in stretches at once: each stretch after the first starts with
// the window before it entered, and the stretch before it parses on past its start until
// both parses stand on the same position, from where they are the same parse. That
// happens within a few tokens on real text; the later stretch keeps the positions and
// stream offsets of its first tokens, and the earlier one hands over at the first of them
// it lands on (or, failing that, parses on to the end itself). Positions are counted from
// the boundary between the two stretches, where the later one begins, since a stretch
// need not know where it lies in the whole input.
struct TokenStart {
  std::size_t pos;    // from the stretch's begin
  std::uint64_t bit;  // where the token's code starts in the stretch's stream
};

constexpr std::size_t kStartsKept = 4096;
constexpr std::size_t kNoHandover = static_cast<std::size_t>(-1);
enum StretchState : int { kPending, kStartsReady, kAbandoned };

struct Stretch {
  // The stretch is input[begin, end); the input holds the window before it and, unless it
  // ends where the whole input ends, some bytes after it for the parse to run on into.
  std::string_view input;
  std::size_t begin = 0;
  std::size_t end = 0;
  bool lastByte = false;     // input ends where the whole input ends
  bool incomplete = false;   // the parse ran out of input before it could hand over
  std::string stream;        // the first stretch writes into the caller's string instead
  std::uint64_t bitEnd = 0;  // bits in the stream
  std::vector<TokenStart> starts;
  std::size_t handover = kNoHandover;  // the next stretch's start where this one stopped
  std::exception_ptr failure;

  // The state is guarded by a mutex rather than waited on as an atomic: GCC 12's
  // std::atomic::wait loses wake-ups where it has no futex (Windows builds hang in it).
  void Publish(int value) {
    {
      std::lock_guard<std::mutex> hold(m_lock);
      m_state = value;
    }
    m_changed.notify_all();
  }
  // Waits until the stretch has published, and says what.
  int Settled() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_changed.wait(hold, [this] { return m_state != kPending; });
    return m_state;
  }
  bool Pending() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_state == kPending;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  int m_state = kPending;
};

// Positions are 32-bit for inputs below 4 GiB, which keeps the rings half the size.
template <typename Pos>
struct MatchState {
  // The last 64 positions entered under each hash; entry i of a hash is at
  // ring[hash * 64 + i % 64], where i counts that hash's entries from 0.
  std::array<Pos, kHashSize * kMaxChain> ring;
  std::array<Pos, kHashSize> count;  // entries so far, per hash
};

// Enters the positions [from, end) in order. An entry's slot comes from its hash's count,
// which is loaded from memory; a load that follows a store whose address is still being
// worked out waits for it, so entering one position after another runs as a chain from
// each count to the next (about half the speed). Each store is therefore held back by
// two positions, by when its slot is known: two pending stores never share a slot, since
// a hash's count moves on with every entry, and all are written before the function
// returns, before any chain is read.
// Inlined: a call per match costs more than the loop saves.
template <typename Pos>
[[gnu::always_inline]] inline void EnterPositions(const unsigned char* in, MatchState<Pos>& state,
                                                  std::size_t from, std::size_t end) {
  Pos* const ring = state.ring.data();
  Pos* const count = state.count.data();
  Pos sink = 0;
  Pos* slot0 = &sink;
  Pos* slot1 = &sink;
  Pos pos0 = 0;
  Pos pos1 = 0;
  std::size_t p = from;
  for (; p + 1 < end; p += 2) {
    const std::uint32_t h0 = Hash3(in + p);
    const Pos c0 = count[h0];
    count[h0] = c0 + 1;
    *slot0 = pos0;  // the store of two positions back
    slot0 = ring + h0 * kMaxChain + (c0 & (kMaxChain - 1));
    pos0 = static_cast<Pos>(p);
    const std::uint32_t h1 = Hash3(in + p + 1);
    const Pos c1 = count[h1];
    count[h1] = c1 + 1;
    *slot1 = pos1;
    slot1 = ring + h1 * kMaxChain + (c1 & (kMaxChain - 1));
    pos1 = static_cast<Pos>(p + 1);
  }
  *slot0 = pos0;
  *slot1 = pos1;
  if (p < end) {
    const std::uint32_t h = Hash3(in + p);
    ring[h * kMaxChain + (count[h]++ & (kMaxChain - 1))] = static_cast<Pos>(p);
  }
}

template <typename Pos>
void DeflateStretch(std::vector<Stretch>& stretches, std::size_t index, std::string& dst,
                    std::size_t origin, MatchState<Pos>& state) {
  Pos* const ring = state.ring.data();
  Pos* const count = state.count.data();
  std::fill_n(count, kHashSize, Pos{0});

  Stretch& self = stretches[index];
  const auto* const in = reinterpret_cast<const unsigned char*>(self.input.data());
  const std::size_t n = self.input.size();
  Stretch* next = index + 1 < stretches.size() ? &stretches[index + 1] : nullptr;
  const std::size_t nextBegin = self.end;
  // Short of the whole input's end, a position is parsed only while a longest match and
  // the hashes of its positions still lie inside the input, where it parses as it would
  // in the whole input.
  const std::size_t parseLimit = self.lastByte ? n : n - std::min(n, kMaxMatch + kMinMatch);
  std::size_t look = 0;  // the next stretch's first start not behind this parse
  bool recording = index > 0;
  if (recording) self.starts.reserve(kStartsKept);
  BitWriter out(dst, origin, 0);

  const auto insert = [&](std::size_t pos) {
    const std::uint32_t h = Hash3(in + pos);
    ring[h * kMaxChain + (count[h]++ & (kMaxChain - 1))] = static_cast<Pos>(pos);
  };
  // The window before the stretch holds the candidates of its first positions.
  EnterPositions(in, state, self.begin - std::min(self.begin, kWindow),
                 std::min(self.begin, n - std::min<std::size_t>(n, 2)));

  if (index == 0) {
    out.Put(1, 1);  // BFINAL
    out.Put(1, 2);  // BTYPE 01: fixed Huffman codes
  }
  std::size_t a = self.begin;
  while (a < n) {
    if (a >= parseLimit) {
      self.incomplete = true;
      break;
    }
    if (next != nullptr && a >= nextBegin) {
      // A stretch too short to have kept all its starts shows them before it waits for the
      // next one's: the stretch before it may be waiting for them on this thread's turn.
      if (recording) {
        recording = false;
        self.Publish(kStartsReady);
      }
      if (next->Settled() != kStartsReady) {
        next = nullptr;  // it never ran: parse on to the end
      } else {
        const std::vector<TokenStart>& starts = next->starts;
        const std::size_t at = a - nextBegin;
        while (look < starts.size() && starts[look].pos < at) ++look;
        if (look < starts.size() && starts[look].pos == at) {
          self.handover = look;
          break;
        }
        if (look == starts.size()) next = nullptr;  // passed them all: parse on to the end
      }
    }
    if (recording) {
      self.starts.push_back({a - self.begin, out.BitCount()});
      if (self.starts.size() == kStartsKept) {
        recording = false;
        self.Publish(kStartsReady);
      }
    }
    // Too close to the end for a match: the last bytes are literals.
    if (a + 2 >= n) {
      out.Put(kCodes.literal[in[a]].bits, kCodes.literal[in[a]].count);
      out.Flush();
      ++a;
      continue;
    }
    const std::uint32_t h = Hash3(in + a);
    const std::size_t longest = std::min(kMaxMatch, n - a);
    const unsigned char* const cur = in + a;
    const Pos* const chain = ring + h * kMaxChain;
    const Pos total = count[h];
    const std::size_t candidates = std::min<std::size_t>(total, kMaxChain);
    const auto candidate = [&](std::size_t k) {  // k = 1 is the most recent
      return static_cast<std::size_t>(chain[(total - k) & (kMaxChain - 1)]);
    };
    std::size_t best = 0;
    std::size_t bestDist = 0;
    std::size_t k = 1;
    // The first candidate that shares the first three bytes sets the best match.
    for (; k <= candidates; ++k) {
      const std::size_t c = candidate(k);
      if (a - c > kWindow) {
        k = candidates + 1;  // too far back, and so is the rest of the chain
        break;
      }
      if (Load16(in + c) == Load16(cur) && in[c + 2] == cur[2]) {
        best = MatchLength(in + c, cur, longest);
        bestDist = a - c;
        ++k;
        break;
      }
    }
    // The rest must beat it: they must match the four bytes that end one past it, or,
    // once the best is 7 bytes or more, the eight bytes that end there, which turns away
    // most candidates that share those four bytes but not the ones before.
    bool done = best < kMinMatch || best == longest;
    while (!done && k <= candidates && best < 7) {
      const std::size_t c = candidate(k++);
      if (a - c > kWindow) {
        done = true;
        break;
      }
      if (Load32(in + c + best - 3) != Load32(cur + best - 3)) continue;
      const std::size_t len = MatchLength(in + c, cur, longest);
      if (len > best) {
        best = len;
        bestDist = a - c;
        done = len == longest;  // nothing can beat it
      }
    }
    if (!done && best >= 7) {  // else the chain ran out first
      std::uint64_t scanEnd = Load64(cur + best - 7);
      for (; k <= candidates; ++k) {
        const std::size_t c = candidate(k);
        if (a - c > kWindow) break;
        if (Load64(in + c + best - 7) != scanEnd) continue;
        const std::size_t len = MatchLength(in + c, cur, longest);
        if (len > best) {
          best = len;
          bestDist = a - c;
          if (len == longest) break;  // nothing can beat it
          scanEnd = Load64(cur + best - 7);
        }
      }
    }
    insert(a);

    if (best < kMinMatch) {
      out.Put(kCodes.literal[*cur].bits, kCodes.literal[*cur].count);
      out.Flush();
      ++a;
      continue;
    }
    // Length code with its extra bits, then distance code with its extra bits.
    const Code len = kCodes.length[best];
    const Code dist = DistanceCode(static_cast<std::uint32_t>(bestDist));
    out.Put(len.bits, len.count);
    out.Put(dist.bits, dist.count);
    out.Flush();
    // Start loading the chain of the next position while this match is entered.
#if defined(__GNUC__) || defined(__clang__)
    if (a + best + 2 < n) {
      const std::uint32_t following = Hash3(in + a + best);
      // The four cache lines of a chain of 32-bit positions.
      const auto* const nextChain = reinterpret_cast<const char*>(ring + following * kMaxChain);
      __builtin_prefetch(nextChain);
      __builtin_prefetch(nextChain + 64);
      __builtin_prefetch(nextChain + 128);
      __builtin_prefetch(nextChain + 192);
      __builtin_prefetch(count + following);
    }
#endif
    // Enter every covered position that still has three bytes ahead of it.
    const std::size_t end = std::min(a + best, n - 2);
    EnterPositions(in, state, a + 1, end);
    a += best;
  }
  if (recording) self.Publish(kStartsReady);  // fewer tokens than kept: all of them
  self.bitEnd = out.BitCount();
  out.Finish();
}

// Marks the stretches from, from + step, ... that have not shown their starts as never to
// run, so that no stretch before them waits for them.
void Abandon(std::vector<Stretch>& stretches, std::size_t from, std::size_t step) {
  for (std::size_t i = from; i < stretches.size(); i += step) {
    if (stretches[i].Pending()) stretches[i].Publish(kAbandoned);
  }
}

// Writes and parses the stretches first, first + step, ... in turn, with one buffer and one
// match state for all of them.
template <typename Pos>
void RunStretches(std::vector<Stretch>& stretches, std::size_t first, std::size_t step,
                  const DeflatePieceWriter& write, std::string& out, std::size_t origin) {
  std::string buffer;
  std::size_t index = first;
  try {
    // Not value-initialised: the rings are only read where count says they were written.
    const std::unique_ptr<MatchState<Pos>> state(new MatchState<Pos>);
    for (; index < stretches.size(); index += step) {
      Stretch& self = stretches[index];
      const WrittenPiece written = write(index, buffer);
      self.input = written.piece.buffer;
      self.begin = written.piece.begin;
      self.end = written.piece.end;
      self.lastByte = written.toEnd;
      if (index == 0) {
        DeflateStretch<Pos>(stretches, 0, out, origin, *state);
      } else {
        DeflateStretch<Pos>(stretches, index, self.stream, 0, *state);
        self.stream.append(8, '\0');  // AppendBits reads whole words
      }
      self.input = {};  // the buffer goes on to the next piece
    }
  } catch (...) {
    stretches[index].failure = std::current_exception();
    Abandon(stretches, index, step);
  }
}

// Parses `count` stretches, each written just before it is parsed, by up to `threads` threads
// (stretch i by thread i % threads), and appends their joined stream to out. False, with out
// as it was, when a stretch could not hand over to the next within its input.
template <typename Pos>
bool Deflate(std::size_t count, std::size_t threads, std::size_t sizeBound,
             const DeflatePieceWriter& write, std::string& out) {
  std::vector<Stretch> stretches(std::max<std::size_t>(count, 1));
  const std::size_t parts = stretches.size();
  // A stretch waits for the next one's first tokens, so a thread never takes two in a row.
  threads = parts == 1 ? 1 : std::clamp<std::size_t>(threads, 2, parts);
  const std::size_t origin = out.size();
  out.reserve(origin + DeflateFixedBound(sizeBound));

  std::vector<std::thread> workers;
  workers.reserve(threads - 1);
  for (std::size_t t = 1; t < threads; ++t) {
    try {
      workers.emplace_back(RunStretches<Pos>, std::ref(stretches), t, threads, std::cref(write),
                           std::ref(out), origin);
    } catch (const std::system_error&) {
      // No thread to spare: its stretches never run, and the stretch before each of them
      // parses on past it as far as its input goes.
      for (std::size_t u = t; u < threads; ++u) Abandon(stretches, u, threads);
      break;
    }
  }
  RunStretches<Pos>(stretches, 0, threads, write, out, origin);
  for (std::thread& worker : workers) worker.join();
  for (const Stretch& stretch : stretches) {
    if (stretch.failure) std::rethrow_exception(stretch.failure);
  }
  for (std::size_t i = 0; i < parts; ++i) {
    if (stretches[i].incomplete) {
      out.resize(origin);
      return false;
    }
    if (stretches[i].handover == kNoHandover) break;  // it parsed on to the end itself
  }

  BitWriter tail(out, origin, stretches[0].bitEnd);
  for (std::size_t i = 0; i + 1 < parts && stretches[i].handover != kNoHandover; ++i) {
    const Stretch& following = stretches[i + 1];
    AppendBits(tail, following.stream, following.starts[stretches[i].handover].bit,
               following.bitEnd);
  }
  tail.Put(kCodes.endOfBlock.bits, kCodes.endOfBlock.count);
  tail.Finish();
  return true;
}

// Stretches are at least this long, so that a thread's set-up (its tables, the window
// entered before the stretch) stays small against its work.
constexpr std::size_t kMinStretch = std::size_t{1} << 20;
// More stretches would gain little and cost each its 8 MiB of tables.
constexpr std::size_t kMaxStretches = 4;

}  // namespace

void AppendDeflateFixed(std::string_view bytes, std::string& out, std::size_t parts) {
  const std::size_t n = bytes.size();
  parts = std::clamp<std::size_t>(parts, 1, std::max<std::size_t>(n, 1));
  std::vector<DeflatePiece> pieces(parts);
  for (std::size_t i = 0; i < parts; ++i) {
    pieces[i] = {bytes, n / parts * i, i + 1 < parts ? n / parts * (i + 1) : n};
  }
  // One input to the end: every stretch can parse on to the end itself.
  AppendDeflateFixed(pieces, out);
}

bool AppendDeflateFixed(const std::vector<DeflatePiece>& pieces, std::string& out) {
  if (pieces.empty()) {
    AppendDeflateFixed(std::string_view(), out, 1);
    return true;
  }
  std::size_t total = 0;
  std::vector<std::size_t> starts;  // where each piece's own bytes start in the whole input
  for (const DeflatePiece& piece : pieces) {
    if (piece.begin > piece.end || piece.end > piece.buffer.size()) return false;
    starts.push_back(total);
    total += piece.end - piece.begin;
  }
  std::vector<WrittenPiece> written;
  std::size_t longest = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const DeflatePiece& piece = pieces[i];
    // Each piece needs the window before it: the whole input before it, or 32 KiB of it.
    const bool window =
        i == 0 ? piece.begin == 0 : piece.begin >= kWindow || piece.begin == starts[i];
    if (!window) return false;
    written.push_back({piece, starts[i] + piece.buffer.size() - piece.begin == total});
    longest = std::max(longest, piece.buffer.size());
  }
  return AppendDeflateFixed(
      written.size(), written.size(), total, longest,
      [&written](std::size_t index, std::string&) { return written[index]; }, out);
}

bool AppendDeflateFixed(std::size_t pieces, std::size_t threads, std::size_t sizeBound,
                        std::size_t longestBuffer, const DeflatePieceWriter& write,
                        std::string& out) {
  return longestBuffer < 0xFFFFFFFFu
             ? Deflate<std::uint32_t>(pieces, threads, sizeBound, write, out)
             : Deflate<std::uint64_t>(pieces, threads, sizeBound, write, out);
}

void AppendDeflateFixed(std::string_view bytes, std::string& out) {
  const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
  AppendDeflateFixed(bytes, out, std::min({threads, kMaxStretches, bytes.size() / kMinStretch}));
}

std::string DeflateFixed(std::string_view bytes) {
  std::string out;
  AppendDeflateFixed(bytes, out);
  return out;
}

}  // namespace velquist
