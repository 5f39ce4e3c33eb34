#include "app/chrome_color_mode.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(ChromeColorMode, PortalValues) {
  EXPECT_EQ(DesktopSchemeFromPortal(0), DesktopScheme::Unknown);
  EXPECT_EQ(DesktopSchemeFromPortal(1), DesktopScheme::Dark);
  EXPECT_EQ(DesktopSchemeFromPortal(2), DesktopScheme::Light);
  EXPECT_EQ(DesktopSchemeFromPortal(3), DesktopScheme::Unknown);
  EXPECT_EQ(DesktopSchemeFromPortal(0xFFFFFFFFu), DesktopScheme::Unknown);
}

TEST(ChromeColorMode, PaletteLightness) {
  EXPECT_EQ(DesktopSchemeFromPalette(30, 230), DesktopScheme::Dark);
  EXPECT_EQ(DesktopSchemeFromPalette(240, 20), DesktopScheme::Light);
  EXPECT_EQ(DesktopSchemeFromPalette(128, 128), DesktopScheme::Unknown);
}

struct ResolveCase {
  int mode;
  DesktopScheme desktop;
  bool dark;
};

TEST(ChromeColorMode, ResolveDarkMode) {
  const ResolveCase cases[] = {
      {kColorModeLight, DesktopScheme::Dark, false},
      {kColorModeLight, DesktopScheme::Light, false},
      {kColorModeDark, DesktopScheme::Light, true},
      {kColorModeDark, DesktopScheme::Unknown, true},
      {kColorModeSystem, DesktopScheme::Dark, true},
      {kColorModeSystem, DesktopScheme::Light, false},
      {kColorModeSystem, DesktopScheme::Unknown, false},
      {7, DesktopScheme::Dark, true},  // unknown stored value behaves as System
      {-1, DesktopScheme::Light, false},
  };
  for (const ResolveCase& c : cases) {
    EXPECT_EQ(ResolveDarkMode(c.mode, c.desktop), c.dark) << c.mode;
  }
}

TEST(ChromeColorMode, WebContentScheme) {
  EXPECT_EQ(WebContentScheme(kColorModeSystem, true), 0);
  EXPECT_EQ(WebContentScheme(kColorModeSystem, false), 0);
  EXPECT_EQ(WebContentScheme(kColorModeDark, true), 2);
  EXPECT_EQ(WebContentScheme(kColorModeLight, false), 1);
}

TEST(ChromeColorMode, BlinkSwitch) {
  EXPECT_EQ(BlinkColorSchemeSwitch(0), "");
  EXPECT_EQ(BlinkColorSchemeSwitch(1), "--blink-settings=preferredColorScheme=1");
  EXPECT_EQ(BlinkColorSchemeSwitch(2), "--blink-settings=preferredColorScheme=0");
  EXPECT_EQ(BlinkColorSchemeSwitch(9), "");
}

}  // namespace
}  // namespace velquist
