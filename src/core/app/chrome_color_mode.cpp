#include "app/chrome_color_mode.h"

namespace velquist {

DesktopScheme DesktopSchemeFromPortal(std::uint32_t value) {
  if (value == 1) return DesktopScheme::Dark;
  if (value == 2) return DesktopScheme::Light;
  return DesktopScheme::Unknown;
}

DesktopScheme DesktopSchemeFromPalette(int windowLightness, int textLightness) {
  if (windowLightness == textLightness) return DesktopScheme::Unknown;
  return windowLightness < textLightness ? DesktopScheme::Dark : DesktopScheme::Light;
}

bool ResolveDarkMode(int colorMode, DesktopScheme desktop) {
  if (colorMode == kColorModeLight) return false;
  if (colorMode == kColorModeDark) return true;
  return desktop == DesktopScheme::Dark;
}

int WebContentScheme(int colorMode, bool dark) {
  if (colorMode != kColorModeLight && colorMode != kColorModeDark) return 0;
  return dark ? 2 : 1;
}

std::string BlinkColorSchemeSwitch(int webContentScheme) {
  // Blink numbers its preferred colour schemes dark 0, light 1.
  if (webContentScheme == 2) return "--blink-settings=preferredColorScheme=0";
  if (webContentScheme == 1) return "--blink-settings=preferredColorScheme=1";
  return {};
}

}  // namespace velquist
