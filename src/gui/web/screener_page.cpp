#include "gui/web/screener_page.h"

#include "site/filter.h"

namespace velquist {

ScreenerPage::ScreenerPage(QWebEngineProfile* profile, NavigationHandler onNavigation,
                           QObject* parent)
    : QWebEnginePage(profile, parent), m_onNavigation(std::move(onNavigation)) {}

bool ScreenerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (isMainFrame) return m_onNavigation(url);
  // Frames are left to the request filter, which lets only screener pages load as documents.
  // The engine follows a frame's redirect before the filter's answer for the new address
  // takes effect, so the redirect's target is judged here, before it is followed.
  if (type != NavigationTypeRedirect) return true;
  return IsRequestAllowed("GET", url.toEncoded().toStdString(), RequestClass::Document);
}

}  // namespace velquist
