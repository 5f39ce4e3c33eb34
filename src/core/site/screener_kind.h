// The two screeners of the site; written "stocks" and "etfs" in files, URLs, options
// and results.
#pragma once

#include <string_view>

namespace velquist {

enum class ScreenerKind { Stocks = 0, Etfs = 1 };

constexpr std::string_view ScreenerKindName(ScreenerKind kind) {
  return kind == ScreenerKind::Stocks ? "stocks" : "etfs";
}

}  // namespace velquist
