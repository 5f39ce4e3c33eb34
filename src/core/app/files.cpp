// The parts of the file primitives that are the same on every platform; the version text
// is the build's.
#include "app/files.h"

#include <charconv>

#include "site_constants.h"

namespace velquist {

void RemoveByteOrderMark(std::string& bytes) {
  if (bytes.size() > 2 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
}

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
