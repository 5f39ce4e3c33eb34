#include "app/utf16.h"

#include <cstdint>

namespace velquist {
namespace {

constexpr char32_t Replacement = 0xFFFD;

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

void AppendUnit(std::string& out, std::uint16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// Decodes one character at text[i], advancing i past it; an ill-formed sequence (bad
// lead, missing continuation, overlong form, surrogate or value above U+10FFFF) gives
// U+FFFD and skips only its first byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 1) {
    ++i;
    return lead;
  }
  if (length == 0 || lead > 0xF4 || i + length > text.size()) {
    ++i;
    return Replacement;
  }
  char32_t c = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return Replacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < Smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return Replacement;
  }
  i += length;
  return c;
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
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? Replacement : char32_t{unit});
  }
  if (i < bytes.size()) AppendUtf8(out, Replacement);
  return out;
}

}  // namespace velquist
