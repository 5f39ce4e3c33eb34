// The page of a screener view: hands every top-level navigation and every new-window
// request to its web host, which decides with the site's navigation rules.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace velquist {

class ScreenerPage : public QWebEnginePage {
  Q_OBJECT
 public:
  // Called for main-frame navigations; false cancels the navigation.
  using NavigationHandler = std::function<bool(const QUrl&)>;

  ScreenerPage(QWebEngineProfile* profile, NavigationHandler onNavigation, QObject* parent);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  NavigationHandler m_onNavigation;
};

}  // namespace velquist
