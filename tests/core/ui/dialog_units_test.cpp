#include "ui/dialog_units.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(DialogBaseUnits, AverageWidthRoundedHalfUp) {
  const struct {
    int lettersWidth, height, x, y;
  } cases[] = {
      {364, 15, 7, 15},   // 7.0 wide: Segoe UI 9 pt at 96 DPI
      {350, 15, 7, 15},   // 6.73 rounds up
      {337, 14, 6, 14},   // 6.48 rounds down
      {546, 23, 11, 23},  // the same font at 150 %
      {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const DialogBaseUnits base = DialogBaseUnitsFor(c.lettersWidth, c.height);
    EXPECT_EQ(base.x, c.x) << c.lettersWidth;
    EXPECT_EQ(base.y, c.y) << c.height;
  }
}

TEST(DialogUnitsToPixels, QuarterAndEighthRoundedAsMulDiv) {
  const DialogBaseUnits segoe{7, 15};
  const struct {
    int units, x, y;
  } cases[] = {
      {0, 0, 0},       {1, 2, 2},       // 1.75 and 1.875
      {10, 18, 19},                     // 17.5 and 18.75
      {262, 459, 491}, {98, 172, 184},  // the Save Screen dialog: 458.5 and 183.75
      {-10, -18, -19},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogUnitsToPixelsX(c.units, segoe), c.x) << c.units;
    EXPECT_EQ(DialogUnitsToPixelsY(c.units, segoe), c.y) << c.units;
  }
  const DialogBaseUnits large{11, 23};
  EXPECT_EQ(DialogUnitsToPixelsX(392, large), 1078);
  EXPECT_EQ(DialogUnitsToPixelsY(210, large), 604);  // 603.75
}

}  // namespace
}  // namespace velquist
