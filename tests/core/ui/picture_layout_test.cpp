#include "ui/picture_layout.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(PictureLayout, SplashSizeFollowsTheDpi) {
  EXPECT_EQ(SplashSize(96), (PixelSize{480, 240}));
  EXPECT_EQ(SplashSize(144), (PixelSize{720, 360}));
  EXPECT_EQ(SplashSize(120), (PixelSize{600, 300}));
  EXPECT_EQ(SplashSize(192), (PixelSize{960, 480}));
  EXPECT_EQ(SplashSize(100), (PixelSize{500, 250}));
}

struct FitCase {
  PixelRect box;
  PixelSize picture;
  PixelRect expected;
};

TEST(PictureLayout, FitKeepsTheAspectRatioAndCentres) {
  const FitCase cases[] = {
      // The About logo (360 x 120) in its box of 240 x 74 dialog units at two font sizes.
      {{11, 13, 420, 139}, {360, 120}, {12, 13, 417, 139}},
      {{11, 13, 360, 138}, {360, 120}, {11, 22, 360, 120}},
      // Wider than the box: full width; taller than the box: full height.
      {{0, 0, 300, 300}, {360, 120}, {0, 100, 300, 100}},
      {{0, 0, 300, 300}, {120, 360}, {100, 0, 100, 300}},
      {{5, 5, 100, 50}, {100, 50}, {5, 5, 100, 50}},  // same shape
      {{0, 0, 10, 10}, {3, 1}, {0, 3, 10, 3}},        // 3.33 rounds to 3, centred in 7
      {{0, 0, 0, 50}, {360, 120}, {0, 0, 0, 0}},
      {{2, 3, 50, 50}, {0, 120}, {2, 3, 0, 0}},
  };
  for (const FitCase& c : cases) {
    const PixelRect fit = FitPicture(c.box, c.picture);
    EXPECT_EQ(fit, c.expected) << c.box.width << "x" << c.box.height << " " << fit.x << "," << fit.y
                               << " " << fit.width << "x" << fit.height;
  }
}

TEST(PictureLayout, FitNeverLeavesTheBox) {
  for (int w = 1; w <= 60; ++w) {
    for (int h = 1; h <= 60; ++h) {
      const PixelRect fit = FitPicture({0, 0, w, h}, {360, 120});
      EXPECT_LE(fit.width, w);
      EXPECT_LE(fit.height, h);
      EXPECT_GE(fit.x, 0);
      EXPECT_GE(fit.y, 0);
      EXPECT_TRUE(fit.width == w || fit.height == h) << w << "x" << h;
    }
  }
}

}  // namespace
}  // namespace velquist
