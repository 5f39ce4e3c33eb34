#include "ui/dialog_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace velquist {
namespace {

// WCAG contrast ratio of two colours.
double Luminance(Rgb c) {
  auto channel = [](std::uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}
double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(DialogPalette, FollowsTheChromeOfEachMode) {
  for (const bool dark : {false, true}) {
    const DialogPalette& p = DialogPaletteFor(dark);
    const ChromePalette& chrome = PaletteFor(dark);
    EXPECT_EQ(p.Window, chrome.Background) << dark;
    EXPECT_EQ(p.Text, chrome.Text) << dark;
    EXPECT_EQ(p.TextDim, chrome.TextDim) << dark;
    EXPECT_EQ(p.Link, chrome.Accent) << dark;
  }
  EXPECT_EQ(DialogPaletteFor(false).Base, (Rgb{255, 255, 255}));
  EXPECT_EQ(DialogPaletteFor(true).Base, (Rgb{43, 43, 43}));
}

TEST(DialogPalette, TextsReadableOnTheirBackgrounds) {
  for (const bool dark : {false, true}) {
    const DialogPalette& p = DialogPaletteFor(dark);
    EXPECT_GE(Contrast(p.Text, p.Window), 7.0) << dark;
    EXPECT_GE(Contrast(p.Text, p.Base), 7.0) << dark;
    EXPECT_GE(Contrast(p.Text, p.AlternateBase), 7.0) << dark;
    EXPECT_GE(Contrast(p.Text, p.Button), 7.0) << dark;
    EXPECT_GE(Contrast(p.HighlightedText, p.Highlight), 4.5) << dark;
    EXPECT_GE(Contrast(p.TextDim, p.Window), 3.0) << dark;
    // Disabled items in a list and greyed text in a field.
    EXPECT_GE(Contrast(p.TextDim, p.Base), 3.0) << dark;
    EXPECT_GE(Contrast(p.Link, p.Window), 4.5) << dark;
    // Fields and their frames stand out from the window.
    EXPECT_NE(p.Base, p.Window) << dark;
    EXPECT_GE(Contrast(p.Border, p.Base), 1.5) << dark;
  }
  // Fields are a step lighter than the window in both modes.
  EXPECT_GT(Luminance(DialogPaletteFor(false).Base), Luminance(DialogPaletteFor(false).Window));
  EXPECT_GT(Luminance(DialogPaletteFor(true).Base), Luminance(DialogPaletteFor(true).Window));
}

}  // namespace
}  // namespace velquist
