#include "gui/print/print_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QStackedLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "gui/print/print_preview.h"
#include "gui/print/report_page.h"
#include "gui/print/report_pdf.h"
#include "gui/print/report_scheme.h"
#include "gui/web/page_context_menu.h"

namespace velquist {

CPrintWnd* CPrintWnd::Open(PrintReport report, const QString& caption, bool dark, QWidget* owner,
                           QWebEngineProfile* profile) {
  if (!owner || !profile) return nullptr;
  auto* window = new CPrintWnd(std::move(report), dark, owner, profile);
  window->setWindowTitle(caption);
  window->setWindowIcon(owner->windowIcon());
  // Exactly over the main window; a maximised one gives its restored rectangle.
  if (owner->isMaximized()) {
    window->setGeometry(owner->normalGeometry());
    window->showMaximized();
  } else {
    window->setGeometry(owner->geometry());
    window->show();
  }
  window->m_page->load(PrintReportAddress());
  return window;
}

CPrintWnd::CPrintWnd(PrintReport report, bool dark, QWidget* owner, QWebEngineProfile* profile)
    : QWidget(owner, Qt::Window), m_profile(profile), m_report(std::move(report)) {
  setObjectName(QStringLiteral("printWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);

  // The report is served from memory by this window alone; the handler leaves with it.
  m_scheme = new ReportSchemeHandler(
      QByteArray(m_report.html.data(), static_cast<qsizetype>(m_report.html.size())), this);
  m_profile->removeUrlScheme(PrintReportAddress().scheme().toLatin1());
  m_profile->installUrlSchemeHandler(PrintReportAddress().scheme().toLatin1(), m_scheme);
  m_report.html = std::string();

  m_stack = new QStackedLayout(this);
  m_stack->setContentsMargins(0, 0, 0, 0);
  CreateView();
  m_preview = new CPrintPreview(m_report.pdfName, dark, this);
  m_stack->addWidget(m_preview);
  // The preview stands from the start, saying that it is being prepared; the report's page
  // joins its view only once the pages are made or the report is wanted on screen.
  m_stack->setCurrentWidget(m_preview);
  connect(m_preview, &CPrintPreview::closeRequested, this, [this] { ClosePreview(); });
  m_maker = new ReportPdfMaker(m_report.margins, ReportPageLayout(m_report.landscape), this);
  connect(m_maker, &ReportPdfMaker::finished, this, [this](const QByteArray& pdf, int pages) {
    ShowPage();
    m_preview->ShowDocument(pdf, pages);
    if (m_preview->HasDocument()) emit previewShown(pages);
  });
  connect(m_maker, &ReportPdfMaker::failed, this, [this](const QString& reason) {
    ShowPage();
    m_preview->ShowFailure(reason);
    emit previewFailed(reason);
  });
  CreateShortcuts();
}

CPrintWnd::~CPrintWnd() {
  // The page goes before the handler that serves it, and both before the profile.
  delete m_view;
  m_view = nullptr;
  delete m_page;
  m_page = nullptr;
  m_profile->removeUrlSchemeHandler(m_scheme);
}

void CPrintWnd::CreateView() {
  m_page = new ReportPage(m_profile, nullptr);
  m_view = new QWebEngineView(this);
  m_view->setObjectName(QStringLiteral("printReportView"));
  m_stack->addWidget(m_view);
  connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) { LoadFinished(ok); });

  m_printAction = new QAction(QStringLiteral("Print\u2026"), this);
  connect(m_printAction, &QAction::triggered, this, [this] { OpenPreview(); });
  m_view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* menu = FilteredContextMenu(*m_view, ContextMenuSet::PrintReport, m_printAction)) {
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(m_view->mapToGlobal(at));
    }
  });
}

void CPrintWnd::CreateShortcuts() {
  // Window shortcuts reach the window from the page too; the main window's keys never
  // act here, the print window being a window of its own.
  auto* print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
  print->setContext(Qt::WindowShortcut);
  connect(print, &QShortcut::activated, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { OpenPreview(); }, Qt::QueuedConnection);
  });
  auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
  close->setContext(Qt::WindowShortcut);
  connect(close, &QShortcut::activated, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { this->close(); }, Qt::QueuedConnection);
  });
}

void CPrintWnd::LoadFinished(bool ok) {
  if (m_loaded) return;
  if (!ok) {
    ClosePreview();  // the engine's error page
    return;
  }
  m_loaded = true;
  emit reportLoaded();
  // The preview opens once by itself, after the engine's callback has returned.
  QMetaObject::invokeMethod(
      this, [this] { OpenPreview(); }, Qt::QueuedConnection);
}

bool CPrintWnd::IsPreviewShown() const { return m_stack->currentWidget() == m_preview; }

void CPrintWnd::OpenPreview() {
  if (!m_loaded) return;
  m_stack->setCurrentWidget(m_preview);
  m_preview->setFocus(Qt::OtherFocusReason);
  if (m_preview->HasDocument()) {
    emit previewShown(m_preview->PageCount());
  } else if (!m_maker->Busy()) {
    m_preview->ShowPreparing();
    m_maker->Make(m_page);
  }
}

void CPrintWnd::ShowPage() {
  // Held back until now because a page that no view has shown prints faster (about 0.5 s
  // of 2.8 s for 1,000 rows): the engine lays it out for the paper only, not for the
  // screen as well.
  if (m_pageShown) return;
  m_pageShown = true;
  m_view->setPage(m_page);
}

void CPrintWnd::ClosePreview() {
  ShowPage();
  m_stack->setCurrentWidget(m_view);
  m_view->setFocus(Qt::OtherFocusReason);
}

bool CPrintWnd::FocusInPage() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == m_view || m_view->isAncestorOf(focus));
}

void CPrintWnd::keyPressEvent(QKeyEvent* event) {
  // Escape belongs to the page while the page has the focus.
  const auto modifiers = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && !FocusInPage()) {
    event->accept();
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace velquist
