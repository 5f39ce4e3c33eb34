#include "gui/web/view_settings.h"

#include <QWebEngineSettings>

namespace velquist {

void ApplyViewSettings(QWebEngineSettings* settings, bool opensWindows, bool errorPage) {
  using S = QWebEngineSettings;
  settings->setAttribute(S::JavascriptEnabled, true);
  settings->setAttribute(S::JavascriptCanOpenWindows, opensWindows);
  settings->setAttribute(S::ErrorPageEnabled, errorPage);
  settings->setAttribute(S::PluginsEnabled, false);
  settings->setAttribute(S::PdfViewerEnabled, false);
  settings->setAttribute(S::FullScreenSupportEnabled, false);
  settings->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(S::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(S::ScreenCaptureEnabled, false);
  settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
  settings->setAttribute(S::NavigateOnDropEnabled, false);
}

}  // namespace velquist
