// UTF-8 helpers shared by every module: encoding a code point, decoding and checking one
// character, and cutting text so that no character is split. Everything works on byte
// strings; nothing here allocates except AppendUtf8's growth of its output.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velquist {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// Bytes 0x80-0xBF only continue a character; every other byte starts one.
constexpr bool IsUtf8Continuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Appends c (at most U+10FFFF) as one to four bytes. Inline because the JSON reader calls
// it for every \u escape.
inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Length of the well-formed character at text[i] (1 to 4), or 0 when the bytes there are
// not one: a stray continuation byte, a lead byte that cannot start a character, a
// truncated sequence, an overlong form, a surrogate or a value above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// Decodes the character at text[i] (i < text.size()) and moves i past it. An ill-formed
// sequence gives U+FFFD and consumes its longest prefix that could still have begun a
// character, at least one byte, so that decoding resumes where the fault was found.
char32_t DecodeUtf8(std::string_view text, std::size_t& i);

// The length of text cut to at most maxBytes without splitting a character: a character
// that starts before the cut and reaches past it is dropped whole. Where the bytes at the
// cut are not UTF-8 (more than three continuation bytes, or stray ones), bytes are cut.
std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes);

// The length in bytes of the first maxCharacters characters of text, counting as a
// character every byte that is not a continuation byte.
std::size_t Utf8CharactersLength(std::string_view text, std::size_t maxCharacters);

// The number of characters in text, counted the same way: bytes that are not continuation
// bytes.
std::size_t Utf8CharacterCount(std::string_view text);

}  // namespace velquist
