// The browser settings every view of the program runs with: scripts on; plugins, the PDF
// viewer, full screen, screen capture, dropped-link navigation and local-file access off.
#pragma once

class QWebEngineSettings;

namespace velquist {

// opensWindows: scripts may ask for new windows (which the view turns into external
// opens); errorPage: the engine's own error page is shown for a failed load.
void ApplyViewSettings(QWebEngineSettings* settings, bool opensWindows, bool errorPage);

}  // namespace velquist
