#include "print/html_escape.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(HtmlEscape, Table) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"plain", "plain"},
      {"a&b", "a&amp;b"},
      {"<script>", "&lt;script&gt;"},
      {"\"q\"", "&quot;q&quot;"},
      {"it's", "it&#39;s"},
      {"line\nbreak\r", "line break "},
      {"tab\tkept", "tab\tkept"},
      {std::string("nul\0x", 5), "nul x"},
      {"\x1f\x7f", " \x7f"},
      {"caf\xC3\xA9 \xE2\x80\x93", "caf\xC3\xA9 \xE2\x80\x93"},
      {"&amp;", "&amp;amp;"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlEscape(c.in), c.out) << c.in;
}

TEST(AppendHtmlEscaped, Appends) {
  std::string out = "x=";
  AppendHtmlEscaped(out, "<1>");
  EXPECT_EQ(out, "x=&lt;1&gt;");
}

TEST(CssString, Table) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", "\"\""},
      {"Stock screener", "\"Stock screener\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"</style>", "\"\\3C /style>\""},
      {"a\nb\tc", "\"a b c\""},
      {"Bob's", "\"Bob's\""},
      {"\xE2\x82\xAC", "\"\xE2\x82\xAC\""},
  };
  for (const auto& c : cases) EXPECT_EQ(CssString(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace velquist
