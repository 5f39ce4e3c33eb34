#include "text/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace velquist {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(Utf16, EncodesAllPlanes) {
  EXPECT_EQ(Utf8ToUtf16Le(""), "");
  EXPECT_EQ(Utf8ToUtf16Le("A"), Bytes({'A', 0}));
  EXPECT_EQ(Utf8ToUtf16Le("\xC3\xA9"), Bytes({0xE9, 0x00}));
  EXPECT_EQ(Utf8ToUtf16Le("\xE2\x82\xAC"), Bytes({0xAC, 0x20}));
  EXPECT_EQ(Utf8ToUtf16Le("\xF0\x9F\x93\x88"), Bytes({0x3D, 0xD8, 0xC8, 0xDC}));
}

TEST(Utf16, RoundTrips) {
  const std::string texts[] = {"plain", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x88",
                               std::string("nul\0inside", 10), "\xEF\xBF\xBF"};
  for (const std::string& text : texts) EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le(text)), text);
}

TEST(Utf16, IllFormedUtf8BecomesReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"\x80", replacement},
      {"a\xC3", "a" + replacement},
      {"\xC0\xAF", replacement + replacement},                    // overlong "/"
      {"\xED\xA0\x80", replacement + replacement + replacement},  // a surrogate
      {"\xF4\x90\x80\x80", replacement + replacement + replacement + replacement},
      // A truncated character is one fault, not one per byte.
      {"\xE2\x82x", replacement + "x"},
      {"\xF0\x9F\x98", replacement},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le(c.text)), c.expected);
}

TEST(Utf16, UnpairedSurrogatesAndOddBytesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Utf16LeToUtf8(Bytes({0x3D, 0xD8})), replacement);
  EXPECT_EQ(Utf16LeToUtf8(Bytes({0x3D, 0xD8, 'a', 0})), replacement + "a");
  EXPECT_EQ(Utf16LeToUtf8(Bytes({0xC8, 0xDC, 'a', 0})), replacement + "a");
  EXPECT_EQ(Utf16LeToUtf8(Bytes({'a', 0, 'b'})), "a" + replacement);
}

}  // namespace
}  // namespace velquist
