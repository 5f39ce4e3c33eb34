#include "gui/print/report_scheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "gui/text/qt_text.h"
#include "print/report_request.h"
#include "site_constants.h"

namespace velquist {

QUrl PrintReportAddress() { return QUrl(ToQString(PrintReportUrl), QUrl::StrictMode); }

void RegisterReportScheme() {
  QWebEngineUrlScheme scheme(PrintReportAddress().scheme().toLatin1());
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Secure, so the report is a secure context; local, so no web page can link to it.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
}

ReportSchemeHandler::ReportSchemeHandler(QByteArray html, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_html(std::move(html)) {}

void ReportSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const std::string method = job->requestMethod().toStdString();
  const std::string uri = job->requestUrl().toEncoded().toStdString();
  if (!IsPrintReportRequest(method, uri)) {
    ++m_refused;
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  ++m_served;
  // Each request reads its own buffer over the shared bytes; the job owns it.
  auto* body = new QBuffer(job);
  body->setData(m_html);
  body->open(QIODevice::ReadOnly);
  job->reply(QByteArrayLiteral("text/html;charset=utf-8"), body);
}

}  // namespace velquist
