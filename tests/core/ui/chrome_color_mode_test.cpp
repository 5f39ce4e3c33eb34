#include "ui/chrome_color_mode.h"

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

TEST(ChromeColorMode, BlinkSwitch) {
  EXPECT_EQ(BlinkColorSchemeSwitch(0), "");
  EXPECT_EQ(BlinkColorSchemeSwitch(1), "--blink-settings=preferredColorScheme=1");
  EXPECT_EQ(BlinkColorSchemeSwitch(2), "--blink-settings=preferredColorScheme=0");
  EXPECT_EQ(BlinkColorSchemeSwitch(9), "");
}

struct StartupCase {
  int mode;
  DesktopScheme desktop;
  int scheme;
  const char* argument;
};

TEST(ChromeColorMode, StartupPagesSchemeAndSwitch) {
  const StartupCase cases[] = {
      {kColorModeSystem, DesktopScheme::Dark, 2, "--blink-settings=preferredColorScheme=0"},
      {kColorModeSystem, DesktopScheme::Light, 1, "--blink-settings=preferredColorScheme=1"},
      {kColorModeSystem, DesktopScheme::Unknown, 0, ""},
      {kColorModeLight, DesktopScheme::Dark, 1, "--blink-settings=preferredColorScheme=1"},
      {kColorModeLight, DesktopScheme::Unknown, 1, "--blink-settings=preferredColorScheme=1"},
      {kColorModeDark, DesktopScheme::Light, 2, "--blink-settings=preferredColorScheme=0"},
      {kColorModeDark, DesktopScheme::Unknown, 2, "--blink-settings=preferredColorScheme=0"},
      {5, DesktopScheme::Dark, 2, "--blink-settings=preferredColorScheme=0"},  // as System
      {-3, DesktopScheme::Unknown, 0, ""},
  };
  for (const StartupCase& c : cases) {
    const int scheme = StartupPagesScheme(c.mode, c.desktop);
    EXPECT_EQ(scheme, c.scheme) << c.mode << " " << static_cast<int>(c.desktop);
    EXPECT_EQ(BlinkColorSchemeSwitch(scheme), c.argument) << c.mode;
  }
}

struct DiffersCase {
  int started;
  bool dark;
  bool differs;
};

TEST(ChromeColorMode, PagesSchemeDiffersFromWindow) {
  const DiffersCase cases[] = {
      {0, false, false},  // the engine's own scheme is light
      {0, true, true},   {1, false, false}, {1, true, true}, {2, true, false}, {2, false, true},
  };
  for (const DiffersCase& c : cases) {
    EXPECT_EQ(PagesSchemeDiffers(c.started, c.dark), c.differs) << c.started << " " << c.dark;
  }
}

}  // namespace
}  // namespace velquist
