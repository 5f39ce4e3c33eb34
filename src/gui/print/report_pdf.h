// Makes the printable PDF of a loaded report: the browser engine prints the report to
// vector pages, then a second document of the same number of pages carrying only the
// margin texts (title, "Data as of …", site and program, "Page N of M") is printed the
// same way and laid under them. Both steps run asynchronously in the engine.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPageLayout>
#include <QPointer>

#include "print/page_margins.h"

class QWebEnginePage;
class QWebEngineProfile;

namespace velquist {

// The report's pages: A4 (or the default printer's paper), landscape when the report is
// wide, with the report's margins.
QPageLayout ReportPageLayout(bool landscape);

class ReportPdfMaker : public QObject {
  Q_OBJECT
 public:
  ReportPdfMaker(PageMarginTexts texts, QPageLayout layout, QObject* parent);

  // Prints `report` (loaded) and emits finished or failed later; a call while one run is
  // under way is ignored.
  void Make(QWebEnginePage* report);
  bool Busy() const { return m_busy; }

 signals:
  void finished(const QByteArray& pdf, int pages);
  void failed(const QString& reason);

 private:
  void ReportPrinted(const QByteArray& pdf);
  void MarginsLoaded(bool ok);
  void MarginsPrinted(const QByteArray& pdf);
  void Fail(const QString& reason);

  PageMarginTexts m_texts;
  QPageLayout m_layout;
  QWebEngineProfile* m_profile = nullptr;
  QWebEnginePage* m_margins = nullptr;
  QByteArray m_report;
  int m_pages = 0;
  bool m_busy = false;
};

}  // namespace velquist
