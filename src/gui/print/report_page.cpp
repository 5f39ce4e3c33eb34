#include "gui/print/report_page.h"

#include <QColor>
#include <QWebEngineNewWindowRequest>

#include "gui/web/external_opener.h"
#include "gui/web/view_settings.h"
#include "print/report_request.h"
#include "site/filter.h"
#include "site_constants.h"

namespace velquist {
namespace {

std::string UrlText(const QUrl& url) { return url.toEncoded().toStdString(); }

// A link out of the report: the screener pages' rule for links that leave the program
// (site pages with the referral tag, other web pages, mail addresses; nothing else).
void OpenOutside(const QUrl& url) {
  const std::string target = ExternalOpenUrl(UrlText(url));
  if (!target.empty()) OpenInDefaultBrowser(target);
}

}  // namespace

void ReportRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!IsPrintReportRequest(info.requestMethod().toStdString(), UrlText(info.requestUrl()))) {
    info.block(true);
  }
}

ReportPage::ReportPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  setUrlRequestInterceptor(new ReportRequestInterceptor(this));
  // No script of the report opens windows; a failed load shows the engine's error page.
  ApplyViewSettings(settings(), false, true);
  setBackgroundColor(Qt::white);
  // Not opening the request in a page leaves it unanswered: no window is ever made.
  connect(this, &QWebEnginePage::newWindowRequested, this,
          [](QWebEngineNewWindowRequest& request) { OpenOutside(request.requestedUrl()); });
}

bool ReportPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  if (UrlText(url) == PrintReportUrl) return true;
  if (isMainFrame) OpenOutside(url);
  return false;
}

}  // namespace velquist
