// The address scheme under which the print window's view loads its report from memory.
// The report never touches the disk or the network: the one request for its address is
// answered with the report's bytes, every other request of the scheme is refused.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace velquist {

// The report's address as a URL.
QUrl PrintReportAddress();

// Makes the scheme known to the browser engine; must run before the application object
// is made.
void RegisterReportScheme();

class ReportSchemeHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  ReportSchemeHandler(QByteArray html, QObject* parent);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // How many requests were answered with the report, and how many refused.
  int Served() const { return m_served; }
  int Refused() const { return m_refused; }

 private:
  QByteArray m_html;
  int m_served = 0;
  int m_refused = 0;
};

}  // namespace velquist
