#include "web/display_text.h"

#include "text/utf8.h"

namespace velquist {
namespace {

// Unicode's White_Space characters.
bool IsWhiteSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Characters below U+0020 are shown as spaces.
char32_t Printable(char32_t c) { return c < 0x20 ? U' ' : c; }

bool OnlyWhiteSpaceFrom(std::string_view text, std::size_t i) {
  while (i < text.size()) {
    if (!IsWhiteSpace(Printable(DecodeUtf8(text, i)))) return false;
  }
  return true;
}

}  // namespace

std::string CleanDisplayText(std::string_view text, std::size_t maxUnits) {
  // One pass that keeps at most maxUnits of output, so that a huge text from a page costs
  // no more memory than the short label made from it.
  std::string out;
  std::size_t units = 0;
  std::size_t kept = 0;  // length of out up to its last character that is not white space
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = Printable(DecodeUtf8(text, i));
    const bool white = IsWhiteSpace(c);
    if (white && out.empty()) continue;  // leading white space
    // A character beyond the BMP takes two units; it is never split in half.
    units += c >= 0x10000 ? 2 : 1;
    if (units > maxUnits) {
      // White space before the cut is trimmed only when nothing but white space follows.
      if (!white || !OnlyWhiteSpaceFrom(text, i)) kept = out.size();
      break;
    }
    AppendUtf8(out, c);
    if (!white) kept = out.size();
  }
  out.resize(kept);
  return out;
}

}  // namespace velquist
