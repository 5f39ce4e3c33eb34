#include "gui/print/report_pdf.h"

#include <QPageSize>
#include <QPointer>
#include <QPrinterInfo>
#include <QWebEnginePage>
#include <string>

#include "gui/print/margin_pages.h"
#include "gui/print/pdf_pages.h"
#include "gui/text/qt_text.h"

namespace velquist {
namespace {

QPageSize ReportPageSize() {
  const QPageSize paper = QPrinterInfo::defaultPrinter().defaultPageSize();
  return paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

QByteArray ToBytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

QPageLayout ReportPageLayout(bool landscape) {
  const QMarginsF margins(PageMarginLeftRightMm, PageMarginTopBottomMm, PageMarginLeftRightMm,
                          PageMarginTopBottomMm);
  return QPageLayout(ReportPageSize(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     margins, QPageLayout::Millimeter);
}

ReportPdfMaker::ReportPdfMaker(PageMarginTexts texts, QPageLayout layout, QObject* parent)
    : QObject(parent), m_texts(std::move(texts)), m_layout(std::move(layout)) {}

void ReportPdfMaker::Make(QWebEnginePage* report) {
  if (m_busy || !report) return;
  m_busy = true;
  QPointer<ReportPdfMaker> self(this);
  report->printToPdf(
      [self](const QByteArray& pdf) {
        if (self) self->ReportPrinted(pdf);
      },
      m_layout);
}

void ReportPdfMaker::ReportPrinted(const QByteArray& pdf) {
  std::string error;
  const int pages = pdf.isEmpty() ? -1 : PdfPageCount(View(pdf), &error);
  if (pages < 1) {
    Fail(QStringLiteral("The report could not be printed. %1").arg(ToQString(error)));
    return;
  }
  const QByteArray margins = DrawMarginPages(m_texts, pages, m_layout);
  if (margins.isEmpty()) {
    Fail(QStringLiteral("The page texts could not be drawn."));
    return;
  }
  std::string out;
  if (!UnderlayPages(View(pdf), View(margins), out, &error)) {
    Fail(QStringLiteral("The page texts could not be added. %1").arg(ToQString(error)));
    return;
  }
  m_busy = false;
  emit finished(ToBytes(out), pages);
}

void ReportPdfMaker::Fail(const QString& reason) {
  m_busy = false;
  emit failed(reason.trimmed());
}

}  // namespace velquist
