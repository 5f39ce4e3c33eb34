#include "web/display_text.h"

#include <cstdint>
#include <vector>

#include "text/utf8.h"

namespace velquist {
namespace {

// Unicode's White_Space characters.
bool IsWhiteSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

}  // namespace

std::string CleanDisplayText(std::string_view text, std::size_t maxUnits) {
  std::vector<char32_t> chars;
  chars.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = DecodeUtf8(text, i);
    chars.push_back(c < 0x20 ? U' ' : c);
  }
  std::size_t first = 0, last = chars.size();
  while (first < last && IsWhiteSpace(chars[first])) ++first;
  while (last > first && IsWhiteSpace(chars[last - 1])) --last;
  std::string out;
  std::size_t units = 0;
  for (std::size_t k = first; k < last; ++k) {
    // A character beyond the BMP takes two units; it is never split in half.
    units += chars[k] >= 0x10000 ? 2 : 1;
    if (units > maxUnits) break;
    AppendUtf8(out, chars[k]);
  }
  return out;
}

}  // namespace velquist
