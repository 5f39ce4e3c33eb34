#include "ui/chrome_text.h"

#include <cstddef>
#include <vector>

#include "text/utf8.h"

namespace velquist {

namespace {

// Byte offsets of every character start, plus the end of the text.
std::vector<std::size_t> CharBoundaries(std::string_view text) {
  std::vector<std::size_t> bounds;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsUtf8Continuation(text[i])) bounds.push_back(i);
  }
  bounds.push_back(text.size());
  return bounds;
}

// keep characters in all: ceil(keep/2) from the start, the rest from the end.
std::string Join(std::string_view text, const std::vector<std::size_t>& bounds, std::size_t keep) {
  const std::size_t chars = bounds.size() - 1;
  const std::size_t head = (keep + 1) / 2;
  const std::size_t tail = keep - head;
  std::string out(text.substr(0, bounds[head]));
  out += kEllipsis;
  out += text.substr(bounds[chars - tail]);
  return out;
}

}  // namespace

std::string ElideMiddle(std::string_view text, int maxWidth, const TextWidthFn& width) {
  if (width(text) <= maxWidth) return std::string(text);
  const std::vector<std::size_t> bounds = CharBoundaries(text);
  const std::size_t chars = bounds.size() - 1;
  // Binary search for the most characters kept; widths grow with the count kept.
  std::size_t lo = 0;
  std::size_t hi = chars == 0 ? 0 : chars - 1;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo + 1) / 2;
    if (width(Join(text, bounds, mid)) <= maxWidth) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return Join(text, bounds, lo);
}

}  // namespace velquist
