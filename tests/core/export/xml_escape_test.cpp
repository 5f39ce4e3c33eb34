#include "export/xml_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace velquist {
namespace {

TEST(XmlEscape, Table) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e'f"},
      {"&amp;", "&amp;amp;"},
      // TAB, LF and CR stay; every other control byte becomes a space; DEL is allowed.
      {"a\tb\nc\rd", "a\tb\nc\rd"},
      {std::string_view("a\x00"
                        "b",
                        3),
       "a b"},
      {"\x01\x08\x0B\x0C\x1F", "     "},
      {"\x7F", "\x7F"},
      // Well-formed UTF-8 passes unchanged, noncharacters other than U+FFFE/U+FFFF too.
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {"\xEF\xB7\x90", "\xEF\xB7\x90"},
      {"\xED\x9F\xBF", "\xED\x9F\xBF"},
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      // U+FFFE and U+FFFF are not XML characters: one space each.
      {"a\xEF\xBF\xBE"
       "b\xEF\xBF\xBF"
       "c",
       "a b c"},
      // Each byte that is not part of a well-formed sequence becomes a space.
      {"a\x80"
       "b",
       "a b"},
      {"\xBF\xBF", "  "},
      {"a\xC3", "a "},
      {"\xE2\x82"
       "A",
       "  A"},
      {"\xC0\xAF", "  "},
      {"\xC1\xBF", "  "},
      {"\xE0\x80\xAF", "   "},
      {"\xED\xA0\x80", "   "},
      {"\xF0\x80\x80\x80", "    "},
      {"\xF4\x90\x80\x80", "    "},
      {"\xF5\x80\x80\x80", "    "},
      {"\xFE\xFF", "  "},
      {"\xC3\xA9\xC3", "\xC3\xA9 "},
      {"\xF0\x9F\x98", "   "},
      {"\xC3<", " &lt;"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XmlEscape(c.in), c.out) << testing::PrintToString(std::string(c.in));
  }
}

TEST(XmlEscape, AppendKeepsWhatIsThere) {
  std::string out = "<t>";
  AppendXmlEscaped(out, "1 < 2");
  EXPECT_EQ(out, "<t>1 &lt; 2");
}

TEST(XmlEscape, EveryByteValueGivesWellFormedOutput) {
  // Whatever comes in, the output holds no control byte, no U+FFFE/U+FFFF and no
  // ill-formed UTF-8: every lone byte from 0x80 up is replaced.
  for (int b = 0; b < 256; ++b) {
    const std::string in(1, static_cast<char>(b));
    const std::string out = XmlEscape(in);
    if (b >= 0x80 || (b < 0x20 && b != '\t' && b != '\n' && b != '\r')) {
      EXPECT_EQ(out, " ") << b;
    }
  }
}

}  // namespace
}  // namespace velquist
