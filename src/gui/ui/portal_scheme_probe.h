// The desktop's colour preference read at start-up, so that the web pages can be given it
// when the browser engine starts. It is asked on a private connection with a time limit:
// a bus that accepts a connection and never answers must not hold up the start.
#pragma once

#include <string>

#include "ui/chrome_color_mode.h"

namespace velquist {

// The session bus address: $DBUS_SESSION_BUS_ADDRESS, else the user's bus socket in
// $XDG_RUNTIME_DIR; empty when there is neither. A bus is never launched for this.
std::string SessionBusAddress();

// Asks the freedesktop settings portal on the bus at busAddress for the appearance
// color-scheme, waiting at most timeoutMs for the answer. Unknown when there is no bus, no
// portal, no answer in time or an answer of another shape. Uses a private connection of
// its own and closes it, so it is safe before (and independent of) Qt's D-Bus connections.
DesktopScheme ProbePortalScheme(const std::string& busAddress, int timeoutMs);

// The desktop's preference as far as the pages' scheme at start needs it: asked of the
// portal on the bus at busAddress only in the System mode (and for unknown stored modes,
// which behave as System).
DesktopScheme StartupDesktopScheme(int colorMode, const std::string& busAddress);

}  // namespace velquist
