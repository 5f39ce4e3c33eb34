#include "text/utf8.h"

namespace velquist {
namespace {

// What a lead byte asks of the bytes after it: the sequence length, the range of the
// second byte (which rules out overlong forms, surrogates and values past U+10FFFF) and
// the payload bits of the lead. length 0: the byte cannot start a multi-byte character.
struct Lead {
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t bits = 0;
};

Lead ReadLead(unsigned char lead) {
  Lead l;
  if (lead >= 0xC2 && lead <= 0xDF) {
    l.length = 2;
    l.bits = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    l.length = 3;
    l.bits = lead & 0x0Fu;
    if (lead == 0xE0) l.low = 0xA0;
    if (lead == 0xED) l.high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    l.length = 4;
    l.bits = lead & 0x07u;
    if (lead == 0xF0) l.low = 0x90;
    if (lead == 0xF4) l.high = 0x8F;
  }
  return l;
}

// Reads the bytes after a multi-byte lead at text[i]. Returns how many bytes of the
// sequence are valid (the whole length when it is well-formed) and the decoded value.
std::size_t ReadSequence(std::string_view text, std::size_t i, const Lead& lead, char32_t& code) {
  code = lead.bits;
  std::size_t k = 1;
  for (; k < lead.length && i + k < text.size(); ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    const unsigned char low = k == 1 ? lead.low : 0x80;
    const unsigned char high = k == 1 ? lead.high : 0xBF;
    if (next < low || next > high) break;
    code = (code << 6) | (next & 0x3Fu);
  }
  return k;
}

// The byte length of the character that a lead byte announces; 1 for ASCII and for
// bytes that cannot start a longer character.
std::size_t AnnouncedLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC0 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  if (i >= text.size()) return 0;
  const auto first = static_cast<unsigned char>(text[i]);
  if (first < 0x80) return 1;
  const Lead lead = ReadLead(first);
  if (lead.length == 0) return 0;
  char32_t ignored = 0;
  return ReadSequence(text, i, lead, ignored) == lead.length ? lead.length : 0;
}

char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto first = static_cast<unsigned char>(text[i]);
  if (first < 0x80) {
    ++i;
    return first;
  }
  const Lead lead = ReadLead(first);
  if (lead.length == 0) {
    ++i;
    return ReplacementCharacter;
  }
  char32_t code = 0;
  const std::size_t valid = ReadSequence(text, i, lead, code);
  i += valid;
  return valid == lead.length ? code : ReplacementCharacter;
}

std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t start = maxBytes;
  for (int back = 0; back < 3 && start > 0 && IsUtf8Continuation(text[start]); ++back) --start;
  if (start == maxBytes || IsUtf8Continuation(text[start])) return maxBytes;
  // Only a character that starts before the cut and reaches past it is dropped; stray
  // continuation bytes after a shorter character do not pull the cut back.
  const auto lead = static_cast<unsigned char>(text[start]);
  return start + AnnouncedLength(lead) > maxBytes ? start : maxBytes;
}

std::size_t Utf8CharactersLength(std::string_view text, std::size_t maxCharacters) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsUtf8Continuation(text[i]) && ++characters > maxCharacters) return i;
  }
  return text.size();
}

std::size_t Utf8CharacterCount(std::string_view text) {
  std::size_t characters = 0;
  for (const char byte : text) characters += IsUtf8Continuation(byte) ? 0 : 1;
  return characters;
}

}  // namespace velquist
