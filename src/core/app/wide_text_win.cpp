#include "app/wide_text_win.h"

#include <cstring>

#include "text/utf16.h"

namespace velquist {

static_assert(sizeof(wchar_t) == 2, "Windows wide strings are UTF-16");

std::wstring WideFromUtf8(std::string_view text) {
  const std::string bytes = Utf8ToUtf16Le(text);
  std::wstring wide(bytes.size() / 2, L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string bytes(text.size() * 2, '\0');
  std::memcpy(bytes.data(), text.data(), bytes.size());
  return Utf16LeToUtf8(bytes);
}

}  // namespace velquist
