#include "gui/print/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfPageRenderer>
#include <QPdfView>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/files.h"
#include "gui/print/print_pages.h"
#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "gui/ui/prompter.h"

namespace velquist {
namespace {

constexpr double ZoomStep = 1.25;
constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 4.0;

const char* const SaveFailedText = "The PDF could not be saved.";

// The bar in the chrome's colours; a style sheet, since the application's style may draw
// tool buttons without the palette.
QString BarStyleSheet(bool dark) {
  const ChromeColors c = ChromeColorsFor(dark);
  const QString base = dark ? c.hoverBack.name() : QStringLiteral("#ffffff");
  return QStringLiteral(
             "QWidget#printPreviewBar{background:%1;border-bottom:1px solid %2}"
             "QToolButton{color:%3;background:transparent;border:0;padding:4px 8px}"
             "QToolButton:hover{background:%4}QToolButton:disabled{color:%5}"
             "QLabel{color:%3}QSpinBox{color:%3;background:%6;border:1px solid %2}")
      .arg(c.background.name(), c.border.name(), c.text.name(), c.hoverBack.name(),
           c.textDim.name(), base);
}

// Behind the pages: the colour the web hosts show behind a page.
void PaintBehindPages(QWidget* widget, bool dark) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Dark, ToQColor(HostBackground(dark)));
  palette.setColor(QPalette::Window, ToQColor(HostBackground(dark)));
  palette.setColor(QPalette::WindowText, ChromeColorsFor(dark).text);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

CPrintPreview::CPrintPreview(QString suggestedName, bool dark, QWidget* parent)
    : QWidget(parent), m_suggestedName(std::move(suggestedName)) {
  setObjectName(QStringLiteral("printPreview"));
  m_document = new QPdfDocument(this);

  m_bar = new QWidget(this);
  m_bar->setObjectName(QStringLiteral("printPreviewBar"));
  m_bar->setAttribute(Qt::WA_StyledBackground);
  m_bar->setStyleSheet(BarStyleSheet(dark));
  auto* bar = new QHBoxLayout(m_bar);
  bar->setContentsMargins(8, 4, 8, 4);

  QToolButton* print =
      AddButton(QStringLiteral("Print…"), QStringLiteral("Print on a printer of your choice"));
  connect(print, &QToolButton::clicked, this, [this] { Print(); });
  QToolButton* save =
      AddButton(QStringLiteral("Save as PDF…"), QStringLiteral("Save these pages as a PDF file"));
  connect(save, &QToolButton::clicked, this, [this] { SaveAsPdf(); });
  bar->addWidget(print);
  bar->addWidget(save);
  bar->addSpacing(16);

  QToolButton* previous = AddButton(QStringLiteral("\u25C0"), QStringLiteral("Previous page"));
  connect(previous, &QToolButton::clicked, this, [this] { GoToPage(CurrentPage() - 1); });
  m_page = new QSpinBox(m_bar);
  m_page->setObjectName(QStringLiteral("printPreviewPage"));
  m_page->setRange(1, 1);
  m_page->setKeyboardTracking(false);
  connect(m_page, &QSpinBox::valueChanged, this, [this](int page) {
    if (page != CurrentPage()) GoToPage(page);
  });
  m_pageCount = new QLabel(m_bar);
  QToolButton* next = AddButton(QStringLiteral("\u25B6"), QStringLiteral("Next page"));
  connect(next, &QToolButton::clicked, this, [this] { GoToPage(CurrentPage() + 1); });
  bar->addWidget(previous);
  bar->addWidget(m_page);
  bar->addWidget(m_pageCount);
  bar->addWidget(next);
  bar->addSpacing(16);

  QToolButton* zoomOut = AddButton(QStringLiteral("\u2212"), QStringLiteral("Zoom out"));
  connect(zoomOut, &QToolButton::clicked, this, [this] { ZoomOut(); });
  m_zoom = new QLabel(m_bar);
  m_zoom->setMinimumWidth(m_zoom->fontMetrics().horizontalAdvance(QStringLiteral("0000 %")));
  m_zoom->setAlignment(Qt::AlignCenter);
  QToolButton* zoomIn = AddButton(QStringLiteral("+"), QStringLiteral("Zoom in"));
  connect(zoomIn, &QToolButton::clicked, this, [this] { ZoomIn(); });
  QToolButton* fit =
      AddButton(QStringLiteral("Fit width"), QStringLiteral("Fit the page width into the window"));
  connect(fit, &QToolButton::clicked, this, [this] { FitWidth(); });
  bar->addWidget(zoomOut);
  bar->addWidget(m_zoom);
  bar->addWidget(zoomIn);
  bar->addWidget(fit);
  bar->addStretch(1);

  QToolButton* close =
      AddButton(QStringLiteral("Close preview"),
                QStringLiteral("Back to the report (Ctrl+P opens the preview again)"));
  m_documentButtons.removeOne(close);
  connect(close, &QToolButton::clicked, this, &CPrintPreview::closeRequested);
  bar->addWidget(close);

  m_view = new QPdfView(this);
  m_view->setObjectName(QStringLiteral("printPreviewPages"));
  m_view->setPageMode(QPdfView::PageMode::MultiPage);
  m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
  m_view->setPageSpacing(12);
  m_view->setDocumentMargins(QMargins(16, 16, 16, 16));
  PaintBehindPages(m_view->viewport(), dark);
  PaintBehindPages(m_view, dark);
  connect(m_view->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this, [this](int) {
    UpdatePageControls();
    emit currentPageChanged(CurrentPage());
  });
  connect(m_view, &QPdfView::zoomFactorChanged, this, [this] { UpdatePageControls(); });

  m_message = new QLabel(this);
  m_message->setAlignment(Qt::AlignCenter);
  m_message->setWordWrap(true);
  PaintBehindPages(m_message, dark);

  auto* pages = new QWidget(this);
  m_stack = new QStackedLayout(pages);
  m_stack->addWidget(m_message);
  m_stack->addWidget(m_view);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_bar);
  layout->addWidget(pages, 1);
  ShowPreparing();
}

CPrintPreview::~CPrintPreview() {
  // The document reads from the buffer; it goes first.
  m_view->setDocument(nullptr);
  delete m_document;
  m_document = nullptr;
  // The view's page renderer stops its render thread when it is destroyed but never deletes
  // the thread object, so every preview would leave one behind. Leaving the threaded mode
  // deletes it.
  if (auto* renderer = m_view->findChild<QPdfPageRenderer*>()) {
    renderer->setRenderMode(QPdfPageRenderer::RenderMode::SingleThreaded);
  }
}

QToolButton* CPrintPreview::AddButton(const QString& text, const QString& tip) {
  auto* button = new QToolButton(m_bar);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(true);
  m_documentButtons.append(button);
  return button;
}

void CPrintPreview::ShowPreparing() {
  m_message->setText(QStringLiteral("Preparing the print preview…"));
  m_stack->setCurrentWidget(m_message);
  m_pages = 0;
  UpdatePageControls();
}

void CPrintPreview::ShowFailure(const QString& reason) {
  m_message->setText(QStringLiteral("The print preview could not be made.") +
                     QStringLiteral("\n\n") + reason);
  m_stack->setCurrentWidget(m_message);
  m_pages = 0;
  UpdatePageControls();
}

void CPrintPreview::ShowDocument(const QByteArray& pdf, int pages) {
  m_view->setDocument(nullptr);
  m_document->close();
  m_buffer.close();
  m_pdf = pdf;
  m_buffer.setData(m_pdf);
  m_buffer.open(QIODevice::ReadOnly);
  m_document->load(&m_buffer);
  m_pages = m_document->pageCount() > 0 ? m_document->pageCount() : 0;
  if (m_pages != pages || m_pages == 0) {
    ShowFailure(QStringLiteral("The pages could not be read."));
    return;
  }
  m_view->setDocument(m_document);
  m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
  m_stack->setCurrentWidget(m_view);
  m_page->setRange(1, m_pages);
  UpdatePageControls();
}

int CPrintPreview::CurrentPage() const { return m_view->pageNavigator()->currentPage() + 1; }

void CPrintPreview::GoToPage(int page) {
  if (m_pages < 1) return;
  page = std::clamp(page, 1, m_pages);
  m_view->pageNavigator()->jump(page - 1, QPointF(), m_view->pageNavigator()->currentZoom());
}

double CPrintPreview::ZoomFactor() const {
  if (m_view->zoomMode() != QPdfView::ZoomMode::FitToWidth || m_pages < 1) {
    return m_view->zoomFactor();
  }
  // Fitted, the page is as wide as the view inside its margins.
  const QMargins margins = m_view->documentMargins();
  const double width = m_view->viewport()->width() - margins.left() - margins.right();
  const double page =
      m_document->pagePointSize(CurrentPage() - 1).width() * m_view->logicalDpiX() / 72.0;
  return page > 0 ? width / page : 1.0;
}

void CPrintPreview::SetZoom(double factor) {
  m_view->setZoomMode(QPdfView::ZoomMode::Custom);
  m_view->setZoomFactor(std::clamp(factor, MinZoom, MaxZoom));
  UpdatePageControls();
}

void CPrintPreview::ZoomIn() { SetZoom(ZoomFactor() * ZoomStep); }

void CPrintPreview::ZoomOut() { SetZoom(ZoomFactor() / ZoomStep); }

void CPrintPreview::FitWidth() {
  m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
  UpdatePageControls();
}

QString CPrintPreview::StateText() const {
  if (m_pages < 1) return m_message->text();
  return QStringLiteral("Page %1 of %2").arg(CurrentPage()).arg(m_pages);
}

void CPrintPreview::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdatePageControls();
}

void CPrintPreview::UpdatePageControls() {
  for (QToolButton* button : m_documentButtons) button->setEnabled(m_pages > 0);
  m_page->setEnabled(m_pages > 0);
  if (m_pages > 0) {
    const QSignalBlocker quiet(m_page);
    m_page->setValue(CurrentPage());
    m_pageCount->setText(m_pages == 1 ? QStringLiteral("of 1 page")
                                      : QStringLiteral("of %1 pages").arg(m_pages));
  } else {
    m_pageCount->clear();
  }
  m_zoom->setText(m_pages > 0 ? QStringLiteral("%1 %").arg(std::lround(ZoomFactor() * 100))
                              : QString());
}

bool CPrintPreview::SaveAsPdf() {
  if (m_pages < 1) return false;
  FileRequest request;
  request.save = true;
  request.fileName = m_suggestedName;
  request.defaultSuffix = QStringLiteral("pdf");
  request.filters = {QStringLiteral("PDF document (*.pdf)")};
  FileAnswer answer;
  if (!Prompter().AskFile(this, request, answer) || answer.path.isEmpty()) return false;
  const std::string_view bytes(m_pdf.constData(), static_cast<std::size_t>(m_pdf.size()));
  if (!WriteFileAtomic(ToUtf8(answer.path), bytes)) {
    Prompter().Show(this, PromptIcon::Exclamation, QString::fromUtf8(SaveFailedText));
    return false;
  }
  return true;
}

void CPrintPreview::Print() {
  if (m_pages < 1) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Print"));
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                    QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(1, m_pages);
  dialog.setFromTo(1, m_pages);
  if (dialog.exec() != QDialog::Accepted) return;
  int first = 1;
  int last = m_pages;
  if (printer.printRange() == QPrinter::PageRange) {
    first = printer.fromPage();
    last = printer.toPage();
  }
  if (!PrintPdfPages(*m_document, printer, first, last)) {
    Prompter().Show(this, PromptIcon::Exclamation,
                    QStringLiteral("The pages could not be printed."));
  }
}

}  // namespace velquist
