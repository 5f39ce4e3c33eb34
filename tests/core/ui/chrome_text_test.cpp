#include "ui/chrome_text.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

// One unit per character, counting the ellipsis as one.
int CharCount(std::string_view s) {
  int n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

TEST(ElideMiddle, FittingTextIsUnchanged) {
  EXPECT_EQ(ElideMiddle("Ready", 5, CharCount), "Ready");
  EXPECT_EQ(ElideMiddle("", 0, CharCount), "");
}

TEST(ElideMiddle, CutsTheMiddle) {
  EXPECT_EQ(ElideMiddle("abcdefghij", 7, CharCount), "abc\u2026hij");
  EXPECT_EQ(ElideMiddle("abcdefghij", 6, CharCount), "abc\u2026ij");
  EXPECT_EQ(ElideMiddle("abcdefghij", 2, CharCount), "a\u2026");
}

TEST(ElideMiddle, NothingButTheEllipsisWhenTooNarrow) {
  EXPECT_EQ(ElideMiddle("abcdefghij", 1, CharCount), "\u2026");
  EXPECT_EQ(ElideMiddle("abcdefghij", 0, CharCount), "\u2026");
  EXPECT_EQ(ElideMiddle("ab", -4, CharCount), "\u2026");
}

TEST(ElideMiddle, KeepsMultiByteCharactersWhole) {
  // Two-byte and three-byte characters must not be split.
  const std::string text = "\u00e4\u00f6\u00fc\u20ac\u20ac\u20ac\u00df\u00df";
  const std::string out = ElideMiddle(text, 5, CharCount);
  EXPECT_EQ(out, "\u00e4\u00f6\u2026\u00df\u00df");
}

TEST(ElideMiddle, ResultNeverWiderThanTheLimit) {
  // Wide characters cost more: the result must still fit.
  auto weighted = [](std::string_view s) {
    int w = 0;
    for (char c : s) w += c == 'W' ? 3 : ((static_cast<unsigned char>(c) & 0xC0) != 0x80);
    return w;
  };
  const std::string text = "WWWWaaaaWWWWaaaa";
  for (int limit = 1; limit < 32; ++limit) {
    const std::string out = ElideMiddle(text, limit, weighted);
    EXPECT_LE(weighted(out), std::max(limit, 1)) << limit;
  }
}

}  // namespace
}  // namespace velquist
