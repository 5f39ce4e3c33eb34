// The page of the print window's view. It may show only the report: every other
// navigation and every new window goes to the user's default browser (or nowhere) by the
// same decision the screener pages use for links that leave the program, and every
// request but the report's own is blocked.
#pragma once

#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

namespace velquist {

class ReportRequestInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

class ReportPage : public QWebEnginePage {
  Q_OBJECT
 public:
  ReportPage(QWebEngineProfile* profile, QObject* parent);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

}  // namespace velquist
