#include "ui/chrome_palette.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(ChromePalette, LightColours) {
  const ChromePalette& p = PaletteFor(false);
  EXPECT_EQ(p.Background, (Rgb{243, 243, 243}));
  EXPECT_EQ(p.Text, (Rgb{27, 27, 27}));
  EXPECT_EQ(p.TextDim, (Rgb{96, 102, 112}));
  EXPECT_EQ(p.Border, (Rgb{224, 224, 224}));
  EXPECT_EQ(p.HoverBack, (Rgb{229, 231, 235}));
  EXPECT_EQ(p.Accent, (Rgb{29, 78, 216}));
  EXPECT_EQ(p.PageBack, (Rgb{246, 247, 249}));
}

TEST(ChromePalette, DarkColours) {
  const ChromePalette& p = PaletteFor(true);
  EXPECT_EQ(p.Background, (Rgb{32, 32, 32}));
  EXPECT_EQ(p.Text, (Rgb{229, 233, 240}));
  EXPECT_EQ(p.TextDim, (Rgb{152, 162, 179}));
  EXPECT_EQ(p.Border, (Rgb{51, 51, 51}));
  EXPECT_EQ(p.HoverBack, (Rgb{51, 56, 64}));
  EXPECT_EQ(p.Accent, (Rgb{77, 141, 255}));
  EXPECT_EQ(p.PageBack, (Rgb{15, 20, 28}));
}

TEST(ChromePalette, FrameAndHostBackgrounds) {
  EXPECT_EQ(FrameBackground(true), (Rgb{32, 32, 32}));
  EXPECT_EQ(FrameBackground(false), (Rgb{243, 243, 243}));
  EXPECT_EQ(HostBackground(true), (Rgb{15, 20, 28}));
  EXPECT_EQ(HostBackground(false), (Rgb{246, 247, 249}));
}

struct PixelCase {
  std::uint32_t in;
  std::uint32_t out;
};

TEST(ChromePalette, DisabledIconPixel) {
  const PixelCase cases[] = {
      {0xFFFFFFFF, 0x66FFFFFF},  // white stays white, alpha 255*40/100 = 102
      {0xFF000000, 0x66000000}, {0xFFFF0000, 0x664C4C4C},  // 299*255/1000 = 76
      {0xFF00FF00, 0x66959595},                            // 587*255/1000 = 149
      {0xFF0000FF, 0x661D1D1D},                            // 114*255/1000 = 29
      {0x00FFFFFF, 0x00FFFFFF},                            // fully transparent stays transparent
      {0x01102030, 0x001D1D1D},  // 1*40/100 = 0; (299*16+587*32+114*48)/1000 = 29
      {0x80646E82, 0x336D6D6D},  // 128*40/100 = 51; (29900+64570+14820)/1000 = 109
  };
  for (const PixelCase& c : cases) {
    EXPECT_EQ(DisabledIconPixel(c.in), c.out) << std::hex << c.in;
  }
}

}  // namespace
}  // namespace velquist
