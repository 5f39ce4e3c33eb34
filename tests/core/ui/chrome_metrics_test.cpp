#include "ui/chrome_metrics.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

struct ScaleCase {
  int value;
  int dpi;
  int expected;
};

TEST(ChromeMetrics, ScaleForDpi) {
  const ScaleCase cases[] = {
      {32, 96, 32},  {32, 144, 48}, {36, 144, 54}, {24, 144, 36},
      {32, 120, 40}, {14, 120, 18},  // 17.5 rounds up
      {3, 120, 4},                   // 3.75
      {1, 144, 2},                   // 1.5 rounds half away from zero
      {5, 144, 8},                   // 7.5
      {-5, 144, -8}, {0, 192, 0},   {36, 192, 72}, {12, 72, 9},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  }
}

TEST(ChromeMetrics, MulDivEdges) {
  EXPECT_EQ(MulDiv(10, 3, 0), -1);
  EXPECT_EQ(MulDiv(7, 1, -2), -4);                   // -3.5 rounds away from zero
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);  // overflow
  EXPECT_EQ(MulDiv(2000000000, 3, 3), 2000000000);   // no overflow in the product
}

}  // namespace
}  // namespace velquist
