// Conversion between UTF-8 text and the little-endian UTF-16 bytes in which the options
// store keeps strings. Ill-formed input becomes U+FFFD, as the system conversion does:
// one for each maximal ill-formed part of UTF-8, one for each unpaired surrogate.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// UTF-16LE bytes (no terminator added) of a UTF-8 text.
std::string Utf8ToUtf16Le(std::string_view text);
// UTF-8 text of UTF-16LE bytes; an odd last byte and unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace velquist
