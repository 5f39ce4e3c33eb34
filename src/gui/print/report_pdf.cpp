#include "gui/print/report_pdf.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <QWebEnginePage>
#include <string>

#include "gui/print/pdf_pages.h"
#include "gui/text/qt_text.h"
#include "print/margin_overlay.h"

namespace velquist {
namespace {

// The largest document the engine loads from text; beyond it the margin texts could not
// be laid out.
constexpr qsizetype MaxInlineDocument = 2 * 1024 * 1024;

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
  m_profile = report->profile();
  QPointer<ReportPdfMaker> self(this);
  report->printToPdf(
      [self](const QByteArray& pdf) {
        if (self) self->ReportPrinted(pdf);
      },
      m_layout);
}

void ReportPdfMaker::ReportPrinted(const QByteArray& pdf) {
  std::string error;
  m_pages = pdf.isEmpty() ? -1 : PdfPageCount(View(pdf), &error);
  if (m_pages < 1) {
    Fail(QStringLiteral("The report could not be printed. %1").arg(ToQString(error)));
    return;
  }
  m_report = pdf;
  const QSizeF paper = m_layout.fullRect(QPageLayout::Millimeter).size();
  const QByteArray overlay =
      ToBytes(BuildMarginOverlay(m_texts, m_pages, OverlayPageSize{paper.width(), paper.height()}));
  if (overlay.size() > MaxInlineDocument) {
    Fail(QStringLiteral("The report has too many pages for its page texts."));
    return;
  }
  if (!m_margins) {
    m_margins = new QWebEnginePage(m_profile, this);
    connect(m_margins, &QWebEnginePage::loadFinished, this, [this](bool ok) { MarginsLoaded(ok); });
  }
  m_margins->setHtml(QString::fromUtf8(overlay));
}

void ReportPdfMaker::MarginsLoaded(bool ok) {
  if (!m_busy) return;
  if (!ok) {
    Fail(QStringLiteral("The page texts could not be laid out."));
    return;
  }
  QPageLayout bare = m_layout;
  bare.setMinimumMargins(QMarginsF());
  bare.setMargins(QMarginsF());
  QPointer<ReportPdfMaker> self(this);
  m_margins->printToPdf(
      [self](const QByteArray& pdf) {
        if (self) self->MarginsPrinted(pdf);
      },
      bare);
}

void ReportPdfMaker::MarginsPrinted(const QByteArray& pdf) {
  std::string out;
  std::string error;
  // One page of texts for every report page, or the numbers would be wrong.
  if (PdfPageCount(View(pdf), &error) != m_pages) {
    Fail(QStringLiteral("The page texts did not fit their pages. %1").arg(ToQString(error)));
    return;
  }
  if (!UnderlayPages(View(m_report), View(pdf), out, &error)) {
    Fail(QStringLiteral("The page texts could not be added. %1").arg(ToQString(error)));
    return;
  }
  m_busy = false;
  m_report.clear();
  emit finished(ToBytes(out), m_pages);
}

void ReportPdfMaker::Fail(const QString& reason) {
  m_busy = false;
  m_report.clear();
  emit failed(reason.trimmed());
}

}  // namespace velquist
