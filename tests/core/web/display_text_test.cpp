#include "web/display_text.h"

#include <gtest/gtest.h>

#include <string>

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
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanDisplayText(c.text, c.max), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace velquist
