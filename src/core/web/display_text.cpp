#include "web/display_text.h"

#include <cstdint>
#include <vector>

namespace velquist {
namespace {

constexpr char32_t Replacement = 0xFFFD;

// Reads one character at text[i], advancing i past it. An ill-formed sequence yields
// U+FFFD and consumes only its longest valid prefix (at least one byte), so the next
// character is read from where the fault was found.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i++);
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t code = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return Replacement;
  }
  for (int k = 1; k < length; ++k) {
    if (i >= text.size()) return Replacement;
    const unsigned char next = byte(i);
    const unsigned char min = k == 1 ? low : 0x80;
    const unsigned char max = k == 1 ? high : 0xBF;
    if (next < min || next > max) return Replacement;
    code = (code << 6) | (next & 0x3Fu);
    ++i;
  }
  return code;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

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
