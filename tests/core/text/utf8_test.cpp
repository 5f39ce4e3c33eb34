#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquist {
namespace {

const std::string R = "\xEF\xBF\xBD";  // U+FFFD

TEST(Utf8Test, AppendEncodesEveryLengthAtItsEdges) {
  struct Case {
    char32_t code;
    std::string bytes;
  };
  const Case cases[] = {
      {0x00, std::string(1, '\0')},
      {0x41, "A"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0xE9, "\xC3\xA9"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0x20AC, "\xE2\x82\xAC"},
      {0xFFFD, R},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x1F600, "\xF0\x9F\x98\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const Case& c : cases) {
    std::string out = "x";
    AppendUtf8(out, c.code);
    EXPECT_EQ(out, "x" + c.bytes) << std::hex << static_cast<unsigned>(c.code);
  }
}

TEST(Utf8Test, ContinuationBytes) {
  EXPECT_FALSE(IsUtf8Continuation('A'));
  EXPECT_FALSE(IsUtf8Continuation('\x7F'));
  EXPECT_TRUE(IsUtf8Continuation('\x80'));
  EXPECT_TRUE(IsUtf8Continuation('\xBF'));
  EXPECT_FALSE(IsUtf8Continuation('\xC0'));
  EXPECT_FALSE(IsUtf8Continuation('\xFF'));
}

// Decodes a whole text, re-encoding each character, and records where each one ended.
struct Decoded {
  std::string text;
  std::vector<std::size_t> ends;
};

Decoded DecodeAll(std::string_view text) {
  Decoded d;
  for (std::size_t i = 0; i < text.size();) {
    AppendUtf8(d.text, DecodeUtf8(text, i));
    d.ends.push_back(i);
  }
  return d;
}

TEST(Utf8Test, DecodeTakesWellFormedTextUnchanged) {
  const std::string texts[] = {"plain", std::string("nul\0inside", 10),
                               "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x88",
                               "\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"};
  for (const std::string& text : texts) EXPECT_EQ(DecodeAll(text).text, text);
  EXPECT_EQ(DecodeAll("a\xC3\xA9\xF0\x9F\x98\x80").ends, (std::vector<std::size_t>{1, 3, 7}));
}

TEST(Utf8Test, DecodeReplacesEachMaximalIllFormedPart) {
  struct Case {
    std::string text, expected;
    std::vector<std::size_t> ends;
  };
  const Case cases[] = {
      {"\x80", R, {1}},                                   // stray continuation
      {"\xBF\xBF", R + R, {1, 2}},                        // each stray byte on its own
      {"a\xC3", "a" + R, {1, 2}},                         // truncated at the end
      {"\xE2\x82x", R + "x", {2, 3}},                     // truncated before a letter
      {"\xF0\x9F\x98", R, {3}},                           // three of four bytes
      {"\xC0\xAF", R + R, {1, 2}},                        // overlong: C0 never starts one
      {"\xE0\x80\x80", R + R + R, {1, 2, 3}},             // overlong three-byte form
      {"\xF0\x80\x80\x80", R + R + R + R, {1, 2, 3, 4}},  // overlong four-byte form
      {"\xED\xA0\x80", R + R + R, {1, 2, 3}},             // a surrogate
      {"\xF4\x90\x80\x80", R + R + R + R, {1, 2, 3, 4}},  // above U+10FFFF
      {"\xF5\x80", R + R, {1, 2}},                        // F5 and up never start one
      {"\xFF", R, {1}},
      {"\xC3\xC3\xA9", R + "\xC3\xA9", {1, 3}},  // a new lead ends the old one
  };
  for (const Case& c : cases) {
    const Decoded d = DecodeAll(c.text);
    EXPECT_EQ(d.text, c.expected) << testing::PrintToString(c.text);
    EXPECT_EQ(d.ends, c.ends) << testing::PrintToString(c.text);
  }
}

TEST(Utf8Test, SequenceLengthOfWellFormedAndIllFormedCharacters) {
  struct Case {
    std::string text;
    std::size_t at, length;
  };
  const Case cases[] = {
      {"A", 0, 1},
      {std::string(1, '\0'), 0, 1},
      {"\xC3\xA9", 0, 2},
      {"\xC3\xA9", 1, 0},  // inside a character
      {"\xE2\x82\xAC", 0, 3},
      {"\xF0\x9F\x98\x80", 0, 4},
      {"\xF4\x8F\xBF\xBF", 0, 4},
      {"\xE2\x82", 0, 0},  // truncated
      {"\xC1\xBF", 0, 0},  // overlong
      {"\xE0\x9F\xBF", 0, 0},
      {"\xF0\x8F\xBF\xBF", 0, 0},
      {"\xED\xA0\x80", 0, 0},  // surrogate
      {"\xF4\x90\x80\x80", 0, 0},
      {"\xF8\x88\x80\x80\x80", 0, 0},
      {"ab", 2, 0},  // past the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8SequenceLength(c.text, c.at), c.length)
        << testing::PrintToString(c.text) << " at " << c.at;
  }
}

TEST(Utf8Test, CutNeverSplitsACharacter) {
  struct Case {
    std::string text;
    std::size_t max, length;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"abc", 5, 3},
      {"abc", 3, 3},
      {"abc", 2, 2},
      {"abc", 0, 0},
      {"a\xC3\xA9", 2, 1},  // the cut would split é
      {"a\xC3\xA9", 3, 3},
      {"a\xC3\xA9z", 3, 3},      // the cut falls right after é
      {"ab\xE2\x82\xAC", 3, 2},  // € from byte 2
      {"ab\xE2\x82\xAC", 4, 2},
      {"ab\xF0\x9F\x98\x80", 5, 2},
      {"ab\xF0\x9F\x98\x80z", 6, 6},
      {"\xC3\xA9\xC3\xA9", 1, 0},       // nothing whole fits
      {"a\x80\x80\x80\x80", 3, 3},      // four stray bytes: cut bytes
      {"\xC3\xA9\x80\x80", 3, 3},       // stray bytes after a whole é stay
      {"\xC3\x80\x80\x80\x80", 2, 2},   // more continuation bytes than any character
      {std::string(10, '\x80'), 4, 4},  // nothing but stray bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8CutLength(c.text, c.max), c.length)
        << testing::PrintToString(c.text) << " to " << c.max;
  }
}

TEST(Utf8Test, CharactersLengthCountsLeadBytes) {
  struct Case {
    std::string text;
    std::size_t characters, length;
  };
  const Case cases[] = {
      {"", 3, 0},
      {"abc", 0, 0},
      {"abc", 2, 2},
      {"abc", 3, 3},
      {"abc", 9, 3},
      {"\xC3\xA9\xC3\xA9\xC3\xA9", 2, 4},
      {"a\xF0\x9F\x98\x80z", 2, 5},
      {"\x80\x80"
       "a",
       1, 3},  // leading stray bytes belong to no character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8CharactersLength(c.text, c.characters), c.length)
        << testing::PrintToString(c.text) << " to " << c.characters;
  }
}

TEST(Utf8Test, CharacterCountCountsLeadBytes) {
  struct Case {
    std::string text;
    std::size_t count;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"\xC3\xA9t\xC3\xA9", 3},
      {"a\xE2\x82\xAC\xF0\x9F\x98\x80", 3},
      {"\x80\x80"
       "a",
       1},              // stray bytes belong to no character
      {"\xC3", 1},      // a truncated lead still starts one
      {"\xFF\xFE", 2},  // so do bytes that can start none
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8CharacterCount(c.text), c.count) << testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace velquist
