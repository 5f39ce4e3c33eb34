#include "ui/chrome_color_mode.h"

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

int StartupPagesScheme(int colorMode, DesktopScheme desktop) {
  if (colorMode == kColorModeLight) return 1;
  if (colorMode == kColorModeDark) return 2;
  if (desktop == DesktopScheme::Dark) return 2;
  if (desktop == DesktopScheme::Light) return 1;
  return 0;
}

bool PagesSchemeDiffers(int startedScheme, bool dark) {
  const bool pagesDark = startedScheme == 2;
  return pagesDark != dark;
}

std::string BlinkColorSchemeSwitch(int webContentScheme) {
  // Blink numbers its preferred colour schemes dark 0, light 1.
  if (webContentScheme == 2) return "--blink-settings=preferredColorScheme=0";
  if (webContentScheme == 1) return "--blink-settings=preferredColorScheme=1";
  return {};
}

}  // namespace velquist
