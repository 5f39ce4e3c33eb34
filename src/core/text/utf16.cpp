#include "text/utf16.h"

#include <cstdint>

#include "text/utf8.h"

namespace velquist {
namespace {

void AppendUnit(std::string& out, std::uint16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

}  // namespace

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = DecodeUtf8(text, i);
    if (c < 0x10000) {
      AppendUnit(out, static_cast<std::uint16_t>(c));
    } else {
      c -= 0x10000;
      AppendUnit(out, static_cast<std::uint16_t>(0xD800 + (c >> 10)));
      AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + (c & 0x3FF)));
    }
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  auto unitAt = [&](std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    std::uint16_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      std::uint16_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? ReplacementCharacter : char32_t{unit});
  }
  if (i < bytes.size()) AppendUtf8(out, ReplacementCharacter);
  return out;
}

}  // namespace velquist
