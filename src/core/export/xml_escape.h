// The one place where text becomes XML character data or attribute values.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// Appends text with "&", "<", ">" and '"' escaped. Every character that XML forbids
// becomes a space, so that one bad value cannot make a whole workbook unreadable: bytes
// below 0x20 other than TAB, LF and CR; U+FFFE and U+FFFF; and each byte that is not part
// of a well-formed UTF-8 sequence (stray continuation bytes, truncated or overlong
// sequences, surrogates, code points above U+10FFFF).
void AppendXmlEscaped(std::string& out, std::string_view text);

std::string XmlEscape(std::string_view text);

}  // namespace velquist
