// UTF-8 text of the core as the wide strings of Windows calls, and back. Both go through
// the core's UTF-16 conversion, so ill-formed input becomes U+FFFD as everywhere else.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace velquist
