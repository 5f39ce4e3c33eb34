// Which colour mode the window is drawn in, and what the web pages are told.
#pragma once

#include <cstdint>
#include <string>

namespace velquist {

// The stored colour mode values: System 0, Light 1, Dark 2.
inline constexpr int kColorModeSystem = 0;
inline constexpr int kColorModeLight = 1;
inline constexpr int kColorModeDark = 2;

// The desktop's colour preference as far as it is known.
enum class DesktopScheme { Unknown, Light, Dark };

// The freedesktop appearance "color-scheme" value: 1 prefers dark, 2 prefers light,
// 0 (no preference) and anything else tell nothing.
DesktopScheme DesktopSchemeFromPortal(std::uint32_t value);

// A palette whose window colour is darker than its text colour is a dark palette.
DesktopScheme DesktopSchemeFromPalette(int windowLightness, int textLightness);

// Light and Dark force the mode; System (and any unknown stored value) follows the
// desktop, light when the desktop says nothing.
bool ResolveDarkMode(int colorMode, DesktopScheme desktop);

// The pages' scheme fixed at process start: a forced mode gives its own; System gives the
// desktop's preference, or 0 (the engine's own light default) when the desktop is silent.
int StartupPagesScheme(int colorMode, DesktopScheme desktop);

// Whether pages started with startedScheme now show another scheme than the window,
// drawn dark or light; the automatic scheme 0 shows light.
bool PagesSchemeDiffers(int startedScheme, bool dark);

// The browser engine switch that fixes the pages' preferred colour scheme for this run;
// empty for the automatic scheme.
std::string BlinkColorSchemeSwitch(int webContentScheme);

}  // namespace velquist
