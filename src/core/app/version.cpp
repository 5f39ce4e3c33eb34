// The version text is the build's, so that it is the same on every platform.
#include <charconv>

#include "app/files.h"
#include "site_constants.h"

namespace velquist {

std::string NormalizeVersion(std::string_view text) {
  const std::string fallback = "1.0.1.1";
  unsigned parts[4] = {0, 0, 0, 0};
  std::size_t count = 0;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (true) {
    if (count == 4 || at == end) return fallback;
    auto [next, ec] = std::from_chars(at, end, parts[count]);
    if (ec != std::errc() || parts[count] > 65535) return fallback;
    ++count;
    if (next == end) break;
    if (*next != '.') return fallback;
    at = next + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < 4; ++i) {
    if (i > 0) out += '.';
    out += std::to_string(parts[i]);
  }
  return out;
}

std::string VersionString() { return NormalizeVersion(BuildVersion); }

}  // namespace velquist
