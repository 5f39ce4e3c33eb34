// The two escapes of the print report: HTML text and attribute values, and CSS string
// literals. Every value that goes into the report passes through one of them.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// & < > " ' become entities; control bytes other than tab become spaces (so line breaks
// cannot split a cell); every other byte passes unchanged.
void AppendHtmlEscaped(std::string& out, std::string_view text);
std::string HtmlEscape(std::string_view text);

// A double-quoted CSS string: quote and backslash escaped, "<" as the escape \3C (so no
// "</style>" can appear), control bytes as spaces.
std::string CssString(std::string_view text);

}  // namespace velquist
