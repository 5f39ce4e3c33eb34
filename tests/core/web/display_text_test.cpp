#include "web/display_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace velquist {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(CleanDisplayTextTest, Table) {
  struct Case {
    std::string text;
    std::size_t max;
    std::string expected;
  };
  const Case cases[] = {
      {"AAPL", 16, "AAPL"},
      {"  AAPL \t", 16, "AAPL"},
      {"A&B", 16, "A&B"},
      {"Line one\nline two", 40, "Line one line two"},
      {"\r\n\tX\x01Y\x1F", 40, "X Y"},
      {"", 16, ""},
      {"   ", 16, ""},
      {"\n\n", 16, ""},
      {"ABCDEFGHIJKLMNOPQRST", 16, "ABCDEFGHIJKLMNOP"},
      // Cut after trimming, so the cut may leave a space at the end.
      {"  ABCDEFGHIJKLMNO PQR", 16, "ABCDEFGHIJKLMNO "},
      // Non-breaking and ideographic spaces are white space too.
      {"\xC2\xA0X\xE3\x80\x80", 16, "X"},
      // Characters, not bytes, are counted: 16 two-byte letters fit.
      {Repeat("\xC3\xA9", 20), 16, Repeat("\xC3\xA9", 16)},
      {"\xC3\xA9\xC3\xA9\xC3\xA9", 2, "\xC3\xA9\xC3\xA9"},
      // A character beyond the BMP counts twice and is never split.
      {"ab\xF0\x9F\x98\x80", 3, "ab"},
      {"ab\xF0\x9F\x98\x80", 4, "ab\xF0\x9F\x98\x80"},
      // Ill-formed UTF-8 shows as U+FFFD.
      {"a\xFF"
       "b",
       16,
       "a\xEF\xBF\xBD"
       "b"},
      {"a\xC3", 16, "a\xEF\xBF\xBD"},
      {"\xC0\xAF", 16, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xED\xA0\x80", 16, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xE2\x82"
       "A",
       16,
       "\xEF\xBF\xBD"
       "A"},
      {"\xF4\x90\x80\x80", 16, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {std::string("a\0b", 3), 16, "a b"},
      {"X", 0, ""},
      // At the cut, white space is dropped only when nothing but white space follows.
      {"ABC   ", 4, "ABC"},
      {"ABC \x01\t\xC2\xA0", 4, "ABC"},
      {"ABC  D", 4, "ABC "},
      {"AB  ", 4, "AB"},
      {"   ", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanDisplayText(c.text, c.max), c.expected) << c.text;
  }
}

// The rule written out step by step: decode everything, blank the controls, trim both
// ends, then cut.
std::string CleanedStepByStep(std::string_view text, std::size_t maxUnits) {
  const auto white = [](char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
  };
  std::vector<char32_t> chars;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = DecodeUtf8(text, i);
    chars.push_back(c < 0x20 ? U' ' : c);
  }
  std::size_t first = 0, last = chars.size();
  while (first < last && white(chars[first])) ++first;
  while (last > first && white(chars[last - 1])) --last;
  std::string out;
  std::size_t units = 0;
  for (std::size_t k = first; k < last; ++k) {
    units += chars[k] >= 0x10000 ? 2 : 1;
    if (units > maxUnits) break;
    AppendUtf8(out, chars[k]);
  }
  return out;
}

TEST(CleanDisplayTextTest, AgreesWithTheRuleStepByStep) {
  const std::string pieces[] = {"a",        "B",
                                " ",        "\t",
                                "\n",       "\x01",
                                "\xC2\xA0", "\xE3\x80\x80",
                                "\xC3\xA9", "\xF0\x9F\x98\x80",
                                "\xFF",     "\xE2\x82",
                                "&",        std::string(1, '\0')};
  std::mt19937 rng(3141);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (std::uint32_t k = rng() % 12; k > 0; --k) text += pieces[rng() % std::size(pieces)];
    const std::size_t maxUnits = rng() % 9;
    EXPECT_EQ(CleanDisplayText(text, maxUnits), CleanedStepByStep(text, maxUnits))
        << text << " max " << maxUnits;
  }
}

TEST(CleanDisplayTextTest, HugeTextGivesAShortLabel) {
  const std::string text = "  " + std::string(1 << 24, 'x') + "  ";
  EXPECT_EQ(CleanDisplayText(text, 16), std::string(16, 'x'));
}

}  // namespace
}  // namespace velquist
