#include "ui/chrome_metrics.h"

#include <cstdint>
#include <limits>

namespace velquist {

int MulDiv(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t p = product < 0 ? -product : product;
  const std::int64_t d = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  const std::int64_t q = (p + d / 2) / d;
  // Like MulDiv, a result that does not fit is reported as -1.
  if (q > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(negative ? -q : q);
}

int ScaleForDpi(int value, int dpi) { return MulDiv(value, dpi, 96); }

}  // namespace velquist
