#include "export/deflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace velquist {
namespace {

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// One decoded symbol of a fixed-Huffman block.
struct Token {
  bool isMatch = false;
  int literal = 0;
  int length = 0;
  int distance = 0;
  int lengthSymbol = 0;
  int lengthExtra = 0;
  int distSymbol = 0;
  int distExtra = 0;
};

// A small independent decoder for the one block shape the writer makes: it checks the
// header, every code and distance, and that the stream ends with zero padding.
class FixedBlockDecoder {
 public:
  explicit FixedBlockDecoder(std::string_view s) : m_in(s) {}

  bool Decode(std::string& out, std::vector<Token>& tokens) {
    if (Bits(1) != 1 || Bits(2) != 1) return false;
    for (;;) {
      const int sym = Symbol();
      if (sym < 0 || m_bad) return false;
      if (sym == 256) break;
      Token t;
      if (sym < 256) {
        t.literal = sym;
        out.push_back(static_cast<char>(sym));
        tokens.push_back(t);
        continue;
      }
      const int li = sym - 257;
      if (li >= 29) return false;
      t.isMatch = true;
      t.lengthSymbol = sym;
      t.lengthExtra = static_cast<int>(Bits(kLengthExtra[li]));
      t.length = kLengthBase[li] + t.lengthExtra;
      t.distSymbol = static_cast<int>(HuffmanBits(5));
      if (t.distSymbol >= 30) return false;
      t.distExtra = static_cast<int>(Bits(kDistExtra[t.distSymbol]));
      t.distance = kDistBase[t.distSymbol] + t.distExtra;
      if (m_bad || t.distance > 32768 || static_cast<std::size_t>(t.distance) > out.size())
        return false;
      for (int i = 0; i < t.length; ++i) out.push_back(out[out.size() - t.distance]);
      tokens.push_back(t);
    }
    // Only zero padding may follow, up to the end of the last byte.
    while (m_bit % 8 != 0) {
      if (Bits(1) != 0) return false;
    }
    return !m_bad && m_bit / 8 == m_in.size();
  }

 private:
  unsigned Bit() {
    if (m_bit / 8 >= m_in.size()) {
      m_bad = true;
      return 0;
    }
    const unsigned b = (static_cast<unsigned char>(m_in[m_bit / 8]) >> (m_bit % 8)) & 1u;
    ++m_bit;
    return b;
  }
  // Plain values: least significant bit first.
  unsigned Bits(int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i) v |= Bit() << i;
    return v;
  }
  // Huffman codes: most significant bit first.
  unsigned HuffmanBits(int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i) v = (v << 1) | Bit();
    return v;
  }
  int Symbol() {
    unsigned code = HuffmanBits(7);
    if (code <= 0x17) return 256 + static_cast<int>(code);
    code = (code << 1) | Bit();
    if (code >= 0x30 && code <= 0xBF) return static_cast<int>(code - 0x30);
    if (code >= 0xC0 && code <= 0xC7) return 280 + static_cast<int>(code - 0xC0);
    code = (code << 1) | Bit();
    if (code >= 0x190 && code <= 0x1FF) return 144 + static_cast<int>(code - 0x190);
    return -1;
  }

  std::string_view m_in;
  std::size_t m_bit = 0;
  bool m_bad = false;
};

std::vector<Token> Tokens(std::string_view input) {
  const std::string stream = DeflateFixed(input);
  std::string out;
  std::vector<Token> tokens;
  EXPECT_TRUE(FixedBlockDecoder(stream).Decode(out, tokens));
  EXPECT_EQ(out, input);
  return tokens;
}

// Inflates a raw deflate stream with zlib.
bool ZlibInflate(std::string_view stream, std::size_t expectedSize, std::string& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  out.assign(expectedSize + 1, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  const bool consumedAll = z.avail_in == 0;
  inflateEnd(&z);
  return rc == Z_STREAM_END && consumedAll;
}

// A literal, slow model of the matcher and bit writer, kept simple on purpose: the fast
// writer must produce the very same bytes.
std::string ModelDeflate(std::string_view s) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::string out;
  std::uint64_t acc = 0;
  int count = 0;
  auto put = [&](std::uint32_t v, int bits) {
    acc |= std::uint64_t{v} << count;
    count += bits;
    while (count >= 8) {
      out.push_back(static_cast<char>(acc & 0xFF));
      acc >>= 8;
      count -= 8;
    }
  };
  auto reversed = [](std::uint32_t code, int bits) {
    std::uint32_t r = 0;
    for (int i = 0; i < bits; ++i) r = (r << 1) | ((code >> i) & 1u);
    return r;
  };
  auto symbol = [&](int sym) {
    const auto u = static_cast<std::uint32_t>(sym);
    if (sym < 144)
      put(reversed(0x30 + u, 8), 8);
    else if (sym < 256)
      put(reversed(0x190 + u - 144, 9), 9);
    else if (sym < 280)
      put(reversed(u - 256, 7), 7);
    else
      put(reversed(0xC0 + u - 280, 8), 8);
  };
  auto hash = [&](std::size_t p) {
    return ((((std::uint32_t{b[p]} << 5) ^ b[p + 1]) << 5) ^ b[p + 2]) & 0x7FFF;
  };
  std::vector<std::int64_t> head(32768, -1), prev(32768, -1);
  auto insert = [&](std::size_t p) {
    const std::uint32_t h = hash(p);
    prev[p & 0x7FFF] = head[h];
    head[h] = static_cast<std::int64_t>(p);
  };
  put(1, 1);
  put(1, 2);
  std::size_t a = 0;
  while (a < n) {
    if (a + 2 >= n) {
      symbol(b[a++]);
      continue;
    }
    const std::size_t longest = std::min<std::size_t>(258, n - a);
    std::size_t best = 0, bestDist = 0;
    std::int64_t c = head[hash(a)];
    for (int candidates = 0; c != -1 && candidates < 64; ++candidates) {
      const auto cu = static_cast<std::size_t>(c);
      if (cu == a || a - cu > 32768) break;
      std::size_t len = 0;
      while (len < longest && b[cu + len] == b[a + len]) ++len;
      if (len > best) {
        best = len;
        bestDist = a - cu;
        if (len == longest) break;
      }
      const std::int64_t next = prev[cu & 0x7FFF];
      if (next == -1 || next >= c) break;
      c = next;
    }
    insert(a);
    if (best < 3) {
      symbol(b[a++]);
      continue;
    }
    std::size_t li = 28;
    if (best != 258) {
      li = 0;
      while (li + 1 < 29 && static_cast<std::size_t>(kLengthBase[li + 1]) <= best) ++li;
    }
    symbol(257 + static_cast<int>(li));
    put(static_cast<std::uint32_t>(best) - kLengthBase[li], kLengthExtra[li]);
    std::size_t di = 29;
    if (bestDist < 24577) {
      di = 0;
      while (di + 1 < 30 && static_cast<std::size_t>(kDistBase[di + 1]) <= bestDist) ++di;
    }
    put(reversed(static_cast<std::uint32_t>(di), 5), 5);
    put(static_cast<std::uint32_t>(bestDist) - kDistBase[di], kDistExtra[di]);
    for (std::size_t p = a + 1; p < a + best; ++p) {
      if (p + 2 < n) insert(p);
    }
    a += best;
  }
  symbol(256);
  if (count > 0) out.push_back(static_cast<char>(acc & 0xFF));
  return out;
}

std::string RandomText(std::size_t n, std::string_view alphabet, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& ch : s) ch = alphabet[rng() % alphabet.size()];
  return s;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& ch : s) ch = static_cast<char>(rng() & 0xFF);
  return s;
}

// Rows of spreadsheet XML, the writer's main input.
std::string SheetLikeXml(int rows, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s = "<sheetData>";
  for (int r = 2; r < rows + 2; ++r) {
    s += "<row r=\"" + std::to_string(r) + "\">";
    for (char col = 'A'; col <= 'L'; ++col) {
      s += "<c r=\"";
      s += col;
      s += std::to_string(r) + "\" s=\"6\"><v>" + std::to_string(rng() % 100000) + "." +
           std::to_string(rng() % 100) + "</v></c>";
    }
    s += "</row>";
  }
  return s + "</sheetData>";
}

// Inputs of every shape the tests below round-trip.
std::vector<std::string> SampleInputs() {
  std::vector<std::string> inputs = {"", "a", "ab", "abc", "abcabcabc", "aaaa"};
  for (std::size_t n : {5u, 17u, 63u, 64u, 255u, 258u, 259u, 600u})
    inputs.push_back(RandomBytes(n, static_cast<unsigned>(n)));
  inputs.push_back(std::string(1000, 'x'));
  inputs.push_back(std::string(100000, '\0'));
  inputs.push_back(RandomText(70000, "ab", 1));
  inputs.push_back(RandomText(50000, "abcdefgh ", 2));
  inputs.push_back(RandomBytes(100000, 3));
  // Runs of random lengths of random bytes.
  std::mt19937 rng(4);
  std::string runs;
  while (runs.size() < 200000) runs.append(rng() % 700, static_cast<char>(rng() & 0xFF));
  inputs.push_back(runs);
  // A block repeated after more than the 32 KiB window, and again inside it.
  const std::string block = RandomBytes(40000, 5);
  inputs.push_back(block + block + block.substr(0, 30000) + block.substr(0, 30000));
  inputs.push_back(SheetLikeXml(3000, 6));
  return inputs;
}

TEST(DeflateFixed, EmptyInputIsHeaderAndEndOfBlock) {
  // BFINAL 1, BTYPE 01 and seven zero bits of the end-of-block code, then padding.
  EXPECT_EQ(DeflateFixed(""), std::string("\x03\x00", 2));
}

TEST(DeflateFixed, OneByteNeedsThreeBytes) { EXPECT_EQ(DeflateFixed("a").size(), 3u); }

TEST(DeflateFixed, EveryStreamInflatesWithZlib) {
  for (const std::string& input : SampleInputs()) {
    const std::string stream = DeflateFixed(input);
    EXPECT_LE(stream.size(), DeflateFixedBound(input.size()));
    std::string back;
    ASSERT_TRUE(ZlibInflate(stream, input.size(), back)) << "input of " << input.size();
    EXPECT_TRUE(back == input) << "input of " << input.size();
  }
}

TEST(DeflateFixed, RandomInputsOfManySizesInflateWithZlib) {
  std::mt19937 rng(99);
  for (int i = 0; i < 300; ++i) {
    const std::size_t n = rng() % 5000;
    const std::string input = (i % 2 == 0) ? RandomBytes(n, rng()) : RandomText(n, "xyz<>/", rng());
    std::string back;
    ASSERT_TRUE(ZlibInflate(DeflateFixed(input), input.size(), back)) << i;
    ASSERT_TRUE(back == input) << i;
  }
}

TEST(DeflateFixed, SameBytesAsTheStraightforwardMatcher) {
  for (const std::string& input : SampleInputs()) {
    EXPECT_TRUE(DeflateFixed(input) == ModelDeflate(input)) << "input of " << input.size();
  }
  std::mt19937 rng(123);
  for (int i = 0; i < 200; ++i) {
    const std::string input = RandomText(rng() % 3000, "abc", rng());
    ASSERT_TRUE(DeflateFixed(input) == ModelDeflate(input)) << i;
  }
}

TEST(DeflateFixed, AppendKeepsWhatIsAlreadyThere) {
  std::string out = "head";
  AppendDeflateFixed("hello hello hello", out);
  EXPECT_EQ(out, "head" + DeflateFixed("hello hello hello"));
}

TEST(DeflateFixed, RunOfEqualBytesIsLiteralThenDistanceOneMatches) {
  const std::vector<Token> tokens = Tokens(std::string(1000, 'q'));
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_FALSE(tokens[0].isMatch);
  EXPECT_EQ(tokens[0].literal, 'q');
  const int lengths[] = {258, 258, 258, 225};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(tokens[i + 1].isMatch);
    EXPECT_EQ(tokens[i + 1].length, lengths[i]);
    EXPECT_EQ(tokens[i + 1].distance, 1);
  }
}

TEST(DeflateFixed, LastTwoBytesAreAlwaysLiterals) {
  // "abcab": at position 3 only two bytes remain, so no match is sought.
  const std::vector<Token> tokens = Tokens("abcab");
  ASSERT_EQ(tokens.size(), 5u);
  for (const Token& t : tokens) EXPECT_FALSE(t.isMatch);
}

TEST(DeflateFixed, NearestOfEqualMatchesWins) {
  // "abcd" at 0 and 5 both match the last "abc" for three bytes; the nearer one wins.
  const std::vector<Token> tokens = Tokens("abcdXabceYabcZ");
  ASSERT_FALSE(tokens.empty());
  const Token& last = tokens[tokens.size() - 2];
  ASSERT_TRUE(last.isMatch);
  EXPECT_EQ(last.length, 3);
  EXPECT_EQ(last.distance, 5);
}

TEST(DeflateFixed, LongerMatchFurtherBackWins) {
  const std::vector<Token> tokens = Tokens("abcdefXabcYabcdefZ");
  ASSERT_FALSE(tokens.empty());
  const Token& last = tokens[tokens.size() - 2];
  ASSERT_TRUE(last.isMatch);
  EXPECT_EQ(last.length, 6);
  EXPECT_EQ(last.distance, 11);
}

TEST(DeflateFixed, MatchesBeyondTheWindowAreNotUsed) {
  // The same 16 bytes 40000 bytes apart, with filler that cannot match them.
  const std::string x = "0123456789ABCDEF";
  const std::string input = x + RandomText(40000, "ghijklmnopqrstuvwxyz", 8) + x;
  const std::vector<Token> tokens = Tokens(input);
  ASSERT_GE(tokens.size(), x.size());
  for (std::size_t i = tokens.size() - x.size(); i < tokens.size(); ++i) {
    EXPECT_FALSE(tokens[i].isMatch) << i;
  }
}

// Builds X + filler + X + "#" so that the second X is one match of length L at distance D:
// X is lower-case letters, the filler bytes of 0x80 and above, so no other match crosses
// into the second X.
std::string MatchInput(int length, int distance) {
  const std::string x = RandomText(static_cast<std::size_t>(length), "abcdefghijklmnopqrstuvwxyz",
                                   static_cast<unsigned>(length));
  std::mt19937 rng(static_cast<unsigned>(distance));
  std::string filler(static_cast<std::size_t>(distance - length), '\0');
  for (char& ch : filler) ch = static_cast<char>(0x80 | (rng() & 0x7F));
  return x + filler + x + "#";
}

TEST(DeflateFixed, LengthAndDistanceCodes) {
  struct Case {
    int length;
    int distance;
    int lengthSymbol;
    int lengthExtra;
    int distSymbol;
    int distExtra;
  };
  const Case cases[] = {
      {3, 3, 257, 0, 2, 0},        {4, 4, 258, 0, 3, 0},         {10, 12, 264, 0, 6, 3},
      {11, 13, 265, 0, 7, 0},      {12, 16, 265, 1, 7, 3},       {13, 17, 266, 0, 8, 0},
      {18, 24, 268, 1, 8, 7},      {19, 25, 269, 0, 9, 0},       {22, 32, 269, 3, 9, 7},
      {23, 33, 270, 0, 10, 0},     {34, 64, 272, 3, 11, 15},     {35, 65, 273, 0, 12, 0},
      {114, 128, 279, 15, 13, 31}, {115, 129, 280, 0, 14, 0},    {130, 256, 280, 15, 15, 63},
      {131, 257, 281, 0, 16, 0},   {227, 1024, 284, 0, 19, 255}, {257, 1025, 284, 30, 20, 0},
      {258, 4097, 285, 0, 24, 0},  {200, 16385, 283, 5, 28, 0},  {100, 24576, 279, 1, 28, 8191},
      {5, 24577, 259, 0, 29, 0},   {6, 32767, 260, 0, 29, 8190}, {258, 32768, 285, 0, 29, 8191},
  };
  for (const Case& c : cases) {
    const std::vector<Token> tokens = Tokens(MatchInput(c.length, c.distance));
    ASSERT_GE(tokens.size(), 2u);
    const Token& m = tokens[tokens.size() - 2];  // the last token is the "#" literal
    ASSERT_TRUE(m.isMatch) << c.length << "/" << c.distance;
    EXPECT_EQ(m.length, c.length);
    EXPECT_EQ(m.distance, c.distance);
    EXPECT_EQ(m.lengthSymbol, c.lengthSymbol) << c.length;
    EXPECT_EQ(m.lengthExtra, c.lengthExtra) << c.length;
    EXPECT_EQ(m.distSymbol, c.distSymbol) << c.distance;
    EXPECT_EQ(m.distExtra, c.distExtra) << c.distance;
  }
}

TEST(DeflateFixed, MatchLengthsAroundTheEightByteWords) {
  // Equal bytes are counted in 8-byte words: the first difference falls in every byte of
  // the first words, and the match either stops at a differing byte or at the input's end.
  for (int length = 3; length <= 40; ++length) {
    for (const bool atEnd : {false, true}) {
      std::string input = MatchInput(length, length + 50);
      if (atEnd) input.pop_back();
      const std::vector<Token> tokens = Tokens(input);
      ASSERT_GE(tokens.size(), 2u);
      const Token& m = tokens[tokens.size() - (atEnd ? 1 : 2)];
      ASSERT_TRUE(m.isMatch) << length << (atEnd ? " at the end" : "");
      EXPECT_EQ(m.length, length) << (atEnd ? "at the end" : "");
      EXPECT_EQ(m.distance, length + 50);
      EXPECT_TRUE(DeflateFixed(input) == ModelDeflate(input)) << length;
    }
  }
}

TEST(DeflateFixed, LaterCandidateDifferingInAnotherWordWins) {
  // The nearest candidate shares 5, 8, 9, 15, 16 or 17 bytes, one further back shares
  // more; the longer one must win whichever word the first difference lies in.
  const std::string x = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";
  for (const std::size_t shortLen : {5u, 8u, 9u, 15u, 16u, 17u}) {
    for (const std::size_t longLen : {shortLen + 1, shortLen + 8, std::size_t{36}}) {
      const std::string longer = x.substr(0, longLen) + "!";
      const std::string nearer = x.substr(0, shortLen) + "?";
      const std::string input = longer + "1234" + nearer + "5678" + x + "~";
      // The token that starts at the last copy of x.
      const std::size_t start = input.size() - 1 - x.size();
      std::size_t at = 0;
      Token m;
      for (const Token& t : Tokens(input)) {
        if (at == start) m = t;
        at += t.isMatch ? static_cast<std::size_t>(t.length) : 1;
      }
      ASSERT_TRUE(m.isMatch) << shortLen << "/" << longLen;
      EXPECT_EQ(m.length, static_cast<int>(longLen)) << shortLen;
      EXPECT_EQ(m.distance, static_cast<int>(start)) << shortLen << "/" << longLen;
      EXPECT_TRUE(DeflateFixed(input) == ModelDeflate(input)) << shortLen << "/" << longLen;
    }
  }
}

TEST(DeflateFixed, ShortMatchWhenTheChainRunsOutNearTheStart) {
  // At position 3 the only candidate gives a match of 3 bytes, shorter than the 4 that
  // remain: the walk ends with the chain, and nothing before the input may be read.
  const std::vector<Token> tokens = Tokens("abcabcX");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_TRUE(tokens[3].isMatch);
  EXPECT_EQ(tokens[3].length, 3);
  EXPECT_EQ(tokens[3].distance, 3);
  EXPECT_EQ(tokens[4].literal, 'X');
}

// "abc" followed by a two-byte tail that no other occurrence shares.
std::string AbcOccurrences(int first, int count) {
  std::string s;
  for (int i = first; i < first + count; ++i) {
    s += "abc";
    s += static_cast<char>(0x80 + i % 64);
    s += static_cast<char>(0xC0 + i / 64);
  }
  return s;
}

TEST(DeflateFixed, OnlyTheSixtyFourMostRecentCandidatesAreLookedAt) {
  // A long match for the last "abcdefghij" lies behind `later` other entries of the hash
  // of "abc", after `earlier` entries that fill and wrap the chain: it is found only while
  // it is among the 64 most recent, else the nearest three-byte match is taken.
  for (int earlier : {0, 1, 63, 64, 65, 127, 128, 200, 255, 256, 257, 300}) {
    for (int later : {0, 1, 62, 63, 64, 65, 100}) {
      const std::string input = AbcOccurrences(0, earlier) + "abcdefghij" +
                                AbcOccurrences(earlier, later) + "Zabcdefghij#";
      EXPECT_TRUE(DeflateFixed(input) == ModelDeflate(input)) << earlier << "/" << later;
      const std::vector<Token> tokens = Tokens(input);
      ASSERT_GE(tokens.size(), 3u);
      // The end is the match, then "#"; a short match is followed by "defghij" copied.
      const bool found = later < 64;
      const Token& m = tokens[tokens.size() - (found ? 2 : 3)];
      ASSERT_TRUE(m.isMatch) << earlier << "/" << later;
      EXPECT_EQ(m.length, found ? 10 : 3) << earlier << "/" << later;
      EXPECT_EQ(m.distance, found ? 5 * later + 11 : 6) << earlier << "/" << later;
    }
  }
}

TEST(DeflateFixed, OverlappingCopyOfAShortPattern) {
  // "ab" and then 298 more bytes of the same pattern: one match of 258 at distance 2.
  std::string input;
  for (int i = 0; i < 150; ++i) input += "ab";
  const std::vector<Token> tokens = Tokens(input);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[2].length, 258);
  EXPECT_EQ(tokens[2].distance, 2);
  EXPECT_EQ(tokens[3].length, 40);
  EXPECT_EQ(tokens[3].distance, 2);
}

std::string Stretched(std::string_view input, std::size_t stretches, std::string out = {}) {
  AppendDeflateFixed(input, out, stretches);
  return out;
}

// Inputs worked on in stretches by several threads must give the very same stream: the
// later stretches' parses are joined where the parses meet, on any bit boundary.
TEST(DeflateFixed, StretchesGiveTheSameStream) {
  std::vector<std::string> inputs = SampleInputs();
  // Long enough for each stretch to keep only its first token starts.
  inputs.push_back(SheetLikeXml(40000, 7));
  inputs.push_back(RandomText(600000, "abcdefgh ", 8));
  for (const std::string& input : inputs) {
    const std::string whole = Stretched(input, 1);
    for (std::size_t stretches : {2u, 3u, 4u, 7u}) {
      EXPECT_TRUE(Stretched(input, stretches) == whole)
          << "input of " << input.size() << " in " << stretches << " stretches";
    }
  }
}

TEST(DeflateFixed, StretchedStreamIsTheStraightforwardMatchersStream) {
  const std::string input = SheetLikeXml(8000, 9) + RandomBytes(50000, 10) + SheetLikeXml(8000, 11);
  EXPECT_TRUE(Stretched(input, 3) == ModelDeflate(input));
}

TEST(DeflateFixed, MoreStretchesThanBytes) {
  for (const std::string input : {"", "a", "ab", "abc", "abcab"}) {
    EXPECT_EQ(Stretched(input, 16), DeflateFixed(input)) << input;
  }
}

TEST(DeflateFixed, StretchesWhoseParsesNeverMeet) {
  // In one long run every parse takes 258-byte matches from where it starts, so a parse
  // from the middle meets the parse from the start only if the two are a multiple of 258
  // apart; here they are not, and the first stretch must parse on to the end.
  const std::string run(2 * 258 * 5000 + 100, 'z');
  const std::string whole = Stretched(run, 1);
  EXPECT_TRUE(Stretched(run, 2) == whole);
  std::string back;
  ASSERT_TRUE(ZlibInflate(whole, run.size(), back));
  EXPECT_TRUE(back == run);
}

TEST(DeflateFixed, StretchedAppendKeepsWhatIsAlreadyThere) {
  const std::string input = SheetLikeXml(2000, 12);
  EXPECT_TRUE(Stretched(input, 3, "head") == "head" + DeflateFixed(input));
}

// The input cut at the given places into pieces of their own, each keeping up to before
// bytes ahead of it and up to after bytes behind it.
struct Cut {
  std::vector<std::string> buffers;
  std::vector<DeflatePiece> pieces;
};

Cut CutInto(std::string_view input, const std::vector<std::size_t>& cuts, std::size_t before,
            std::size_t after) {
  Cut cut;
  std::vector<std::size_t> bounds = {0};
  bounds.insert(bounds.end(), cuts.begin(), cuts.end());
  bounds.push_back(input.size());
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const std::size_t from = bounds[i] - std::min(bounds[i], before);
    const std::size_t to = std::min(input.size(), bounds[i + 1] + after);
    cut.buffers.emplace_back(input.substr(from, to - from));
  }
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const std::size_t from = bounds[i] - std::min(bounds[i], before);
    cut.pieces.push_back({cut.buffers[i], bounds[i] - from, bounds[i + 1] - from});
  }
  return cut;
}

TEST(DeflateFixed, PiecesGiveTheStreamOfTheJoinedInput) {
  const std::string sheet = SheetLikeXml(40000, 7);
  const std::string mixed = SheetLikeXml(8000, 9) + RandomBytes(50000, 10) + SheetLikeXml(8000, 11);
  struct Case {
    const std::string& input;
    std::vector<std::size_t> cuts;
    std::size_t before;
    std::size_t after;
  };
  const std::size_t all = std::size_t(-1) / 2;
  const std::vector<Case> cases = {
      {sheet, {}, 0, 0},
      {sheet, {sheet.size() / 2}, 32768, 65536},
      {sheet, {sheet.size() / 3, 2 * sheet.size() / 3}, 40000, 65536},
      {sheet, {100000, 400000, 900000}, 32768, 70000},
      // A piece of one byte: the parse before it runs on through the next one.
      {sheet, {100000, 100001, 900000}, 32768, all},
      {sheet, {1000}, all, 65536},  // less than a window before the cut: all of it
      {sheet, {sheet.size() / 2}, all, all},
      {mixed, {mixed.size() / 2}, 32768, 65536},
      {mixed, {20000, 60000, 100000}, 32768, all},
  };
  for (const Case& c : cases) {
    const Cut cut = CutInto(c.input, c.cuts, c.before, c.after);
    std::string out = "head";
    EXPECT_TRUE(AppendDeflateFixed(cut.pieces, out));
    EXPECT_TRUE(out == "head" + DeflateFixed(c.input))
        << c.input.size() << " bytes in " << cut.pieces.size() << " pieces";
  }
  std::string empty;
  EXPECT_TRUE(AppendDeflateFixed(std::vector<DeflatePiece>{}, empty));
  EXPECT_EQ(empty, DeflateFixed(""));
}

TEST(DeflateFixed, PiecesThatCannotBeJoinedLeaveTheOutputAsItWas) {
  const std::string sheet = SheetLikeXml(40000, 7);
  const std::size_t half = sheet.size() / 2;
  // One run of a byte: the parses from the two starts never meet (see above).
  const std::string run(2 * 258 * 5000 + 100, 'z');
  struct Case {
    const char* what;
    Cut cut;
  };
  std::vector<Case> cases;
  cases.push_back({"nothing kept after the first piece", CutInto(sheet, {half}, 32768, 0)});
  cases.push_back({"too little kept after it", CutInto(sheet, {half}, 32768, 200)});
  cases.push_back({"less than a window before the second", CutInto(sheet, {half}, 32767, 65536)});
  cases.push_back({"parses that never meet", CutInto(run, {run.size() / 2}, 32768, 65536)});
  Case late{"first piece not from the start", CutInto(sheet, {half}, 32768, 65536)};
  late.cut.pieces[0].begin = 1;
  cases.push_back(std::move(late));
  Case beyond{"piece ends beyond its buffer", CutInto(sheet, {half}, 32768, 65536)};
  beyond.cut.pieces[1].end = beyond.cut.buffers[1].size() + 1;
  cases.push_back(std::move(beyond));
  for (const Case& c : cases) {
    std::string out = "head";
    EXPECT_FALSE(AppendDeflateFixed(c.cut.pieces, out)) << c.what;
    EXPECT_EQ(out, "head") << c.what;
  }
}

// Pieces written one at a time into the writing thread's buffer, as the sheet writer does.
TEST(DeflateFixed, PiecesWrittenInTurnGiveTheStreamOfTheJoinedInput) {
  const std::string sheet = SheetLikeXml(40000, 7);
  const std::string expected = "head" + DeflateFixed(sheet);
  for (const std::size_t count : {1, 2, 5, 12}) {
    std::vector<std::size_t> cuts;
    for (std::size_t i = 1; i < count; ++i) cuts.push_back(sheet.size() / count * i);
    const Cut cut = CutInto(sheet, cuts, 32768, 65536);
    for (const std::size_t threads : {1, 2, 3}) {
      std::mutex lock;
      std::vector<int> written(count, 0);
      std::set<const std::string*> buffers;
      const auto write = [&](std::size_t index, std::string& buffer) {
        buffer = cut.buffers[index];
        std::lock_guard<std::mutex> hold(lock);
        ++written[index];
        buffers.insert(&buffer);
        return WrittenPiece{{buffer, cut.pieces[index].begin, cut.pieces[index].end},
                            index + 1 == count};
      };
      std::string out = "head";
      EXPECT_TRUE(
          AppendDeflateFixed(count, threads, sheet.size() + 98304, sheet.size(), write, out));
      const std::string at =
          std::to_string(count) + " pieces, " + std::to_string(threads) + " threads";
      EXPECT_TRUE(out == expected) << at;
      EXPECT_EQ(written, std::vector<int>(count, 1)) << at;
      // One buffer per thread, each reused for the thread's pieces; two threads at least,
      // since a piece waits for its successor's first tokens.
      EXPECT_EQ(buffers.size(), count == 1 ? 1 : std::clamp<std::size_t>(threads, 2, count)) << at;
    }
  }
}

// A piece that cannot be written fails the whole stream with its error, without a thread
// waiting for it for ever, wherever it lies.
TEST(DeflateFixed, AFailingPieceWriterFailsTheStream) {
  const std::string sheet = SheetLikeXml(20000, 7);
  const std::size_t count = 6;
  std::vector<std::size_t> cuts;
  for (std::size_t i = 1; i < count; ++i) cuts.push_back(sheet.size() / count * i);
  const Cut cut = CutInto(sheet, cuts, 32768, 65536);
  for (std::size_t failing = 0; failing < count; ++failing) {
    const auto write = [&](std::size_t index, std::string& buffer) {
      if (index == failing) throw std::runtime_error("no room");
      buffer = cut.buffers[index];
      return WrittenPiece{{buffer, cut.pieces[index].begin, cut.pieces[index].end},
                          index + 1 == count};
    };
    std::string out;
    EXPECT_THROW(AppendDeflateFixed(count, 2, sheet.size() + 98304, sheet.size(), write, out),
                 std::runtime_error)
        << "piece " << failing;
  }
}

}  // namespace
}  // namespace velquist
