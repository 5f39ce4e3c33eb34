#include "gui/web/screener_page.h"

namespace velquist {

ScreenerPage::ScreenerPage(QWebEngineProfile* profile, NavigationHandler onNavigation,
                           QObject* parent)
    : QWebEnginePage(profile, parent), m_onNavigation(std::move(onNavigation)) {}

bool ScreenerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  // Frames are left to the request filter, which lets only screener pages load as documents.
  if (!isMainFrame) return true;
  return m_onNavigation(url);
}

}  // namespace velquist
