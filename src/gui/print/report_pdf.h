// Makes the printable PDF of a loaded report: the browser engine prints the report to
// vector pages, then the margin texts (title, "Data as of …", site and program, "Page N
// of M"), which the engine does not draw, are drawn for the same number of pages and laid
// under them. The engine's print runs asynchronously.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPageLayout>

#include "print/page_margins.h"

class QWebEnginePage;

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
  void Fail(const QString& reason);

  PageMarginTexts m_texts;
  QPageLayout m_layout;
  bool m_busy = false;
};

}  // namespace velquist
