#include "export/xml_escape.h"

#include <array>
#include <cstdint>

namespace velquist {
namespace {

// What a byte needs: 0 copy as it is, 1 entity, 2 replace by a space, 3 start of a
// multi-byte sequence that must be checked.
enum : std::uint8_t { kCopy, kEntity, kSpace, kMultiByte };

constexpr std::array<std::uint8_t, 256> BuildClasses() {
  std::array<std::uint8_t, 256> c{};
  for (int b = 0; b < 0x20; ++b) c[b] = kSpace;
  c['\t'] = c['\n'] = c['\r'] = kCopy;
  c['&'] = c['<'] = c['>'] = c['"'] = kEntity;
  for (int b = 0x80; b < 0x100; ++b) c[b] = kMultiByte;
  return c;
}

constexpr std::array<std::uint8_t, 256> kClass = BuildClasses();

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at p (p[0] >= 0x80), or 0 when it is not one.
// The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
std::size_t SequenceLength(const unsigned char* p, std::size_t left) {
  const unsigned char b0 = p[0];
  std::size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (left < len || p[1] < lo || p[1] > hi) return 0;
  for (std::size_t i = 2; i < len; ++i) {
    if (!IsContinuation(p[i])) return 0;
  }
  return len;
}

std::string_view Entity(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return "&quot;";
  }
}

}  // namespace

void AppendXmlEscaped(std::string& out, std::string_view text) {
  const auto* const p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // Copy the longest run of plain bytes in one piece.
    std::size_t run = i;
    while (run < n && kClass[p[run]] == kCopy) ++run;
    out.append(text.data() + i, run - i);
    if (run == n) break;
    i = run;
    switch (kClass[p[i]]) {
      case kEntity:
        out.append(Entity(text[i]));
        ++i;
        break;
      case kSpace:
        out.push_back(' ');
        ++i;
        break;
      default: {
        const std::size_t len = SequenceLength(p + i, n - i);
        if (len == 0) {
          out.push_back(' ');  // this byte starts no well-formed character
          ++i;
        } else if (len == 3 && p[i] == 0xEF && p[i + 1] == 0xBF && p[i + 2] >= 0xBE) {
          out.push_back(' ');  // U+FFFE and U+FFFF are not XML characters
          i += 3;
        } else {
          out.append(text.data() + i, len);
          i += len;
        }
        break;
      }
    }
  }
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendXmlEscaped(out, text);
  return out;
}

}  // namespace velquist
