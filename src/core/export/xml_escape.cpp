#include "export/xml_escape.h"

#include <array>
#include <cstdint>

#include "text/utf8.h"

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
        const std::size_t len = Utf8SequenceLength(text, i);
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
