#include "main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "accelerator_table.h"
#include "app/chrome_commands.h"
#include "app/chrome_palette.h"
#include "app/files.h"
#include "external_opener.h"
#include "qt_text.h"
#include "screener_app.h"
#include "site/screen_state.h"
#include "site/url.h"
#include "web_host.h"
#include "window_placement.h"
#include "zoom_steps.h"

namespace velquist {
namespace {

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

std::string LastScreenOf(const AppOptions& options, ScreenerKind kind) {
  return kind == ScreenerKind::Etfs ? options.LastEtfs : options.LastStocks;
}

}  // namespace

CMainFrame::CMainFrame(CScreenerApp& app) : m_app(app) {
  setObjectName(QStringLiteral("OrvaneVelquistFrame"));
  setWindowTitle(QStringLiteral("Velquist"));
  setMinimumSize(640, 420);
  m_dark = false;

  CreateChrome();
  auto* hostArea = new QWidget(this);
  auto* layout = new QVBoxLayout(hostArea);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_tabStrip);
  for (int kind = 0; kind < 2; ++kind) {
    m_hosts[kind] = new CWebHost(static_cast<ScreenerKind>(kind), *this, hostArea);
    m_hosts[kind]->hide();
    layout->addWidget(m_hosts[kind], 1);
  }
  setCentralWidget(hostArea);
  CreateShortcuts();

  m_activeTab = m_app.Options().ActiveTab;
  ShowSelectedTab(static_cast<int>(m_activeTab));
  ActiveHost().show();
  UpdateStatus();

  // The browser profile is made once the window exists and the event loop runs, as the
  // browser environment arrives later on its own.
  QMetaObject::invokeMethod(
      this, [this] { CreateEnvironment(); }, Qt::QueuedConnection);
}

CMainFrame::~CMainFrame() {
  // Pages must be gone before the profile they were made on.
  for (CWebHost*& host : m_hosts) {
    delete host;
    host = nullptr;
  }
  delete m_profile;
}

// Plain tool bar, tab bar and status bar; the custom-drawn chrome replaces them.
void CMainFrame::CreateChrome() {
  m_toolBar = addToolBar(QStringLiteral("Toolbar"));
  m_toolBar->setMovable(false);
  for (const ToolbarButtonSpec& button : ToolbarButtons()) {
    QAction* action = m_toolBar->addAction(ToQString(button.label));
    const int id = button.command;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  }
  m_tabStrip = new QTabBar(this);
  m_tabStrip->addTab(QStringLiteral("Stocks"));
  m_tabStrip->addTab(QStringLiteral("ETFs"));
  m_tabStrip->setExpanding(false);
  connect(m_tabStrip, &QTabBar::tabBarClicked, this, [this](int index) {
    if (index >= 0) SelectTab(index);
  });
  m_statusStrip = new QStatusBar(this);
  m_zoomLabel = new QLabel(m_statusStrip);
  m_statusStrip->addPermanentWidget(m_zoomLabel);
  setStatusBar(m_statusStrip);
}

// Keys typed anywhere in the window outside a page; keys typed in a page come through
// OnBrowserKey with the same table.
void CMainFrame::CreateShortcuts() {
  for (const Accelerator& entry : Accelerators()) {
    auto* shortcut = new QShortcut(QKeySequence(entry.key | entry.modifiers.toInt()), this);
    shortcut->setContext(Qt::WindowShortcut);
    const int id = entry.command;
    connect(shortcut, &QShortcut::activated, this, [this, id] { RunCommand(id); });
  }
}

void CMainFrame::CreateEnvironment() {
  const QString folder = ToQString(WebViewDataFolder());
  m_profile = new QWebEngineProfile(QStringLiteral("Velquist"));
  m_profile->setPersistentStoragePath(folder);
  m_profile->setCachePath(folder + QStringLiteral("/Cache"));
  // Only the active host is made now; the other one on its first selection.
  CreateHost(ActiveHost());
  emit environmentReady();
}

void CMainFrame::CreateHost(CWebHost& host) {
  const AppOptions& options = m_app.Options();
  host.Create(m_profile,
              StartUrl(host.Kind(), options.RestoreLast, LastScreenOf(options, host.Kind())),
              options.Zoom, HostColor());
}

QColor CMainFrame::HostColor() const { return ToQColor(velquist::HostBackground(m_dark)); }

void CMainFrame::SelectTab(int kind) {
  if (kind != 0 && kind != 1) return;
  m_activeTab = static_cast<ScreenerKind>(kind);
  ShowSelectedTab(kind);
  for (CWebHost* host : m_hosts) host->setVisible(host->Kind() == m_activeTab);
  if (m_profile && !ActiveHost().IsCreated()) CreateHost(ActiveHost());
  m_app.Options().ActiveTab = m_activeTab;
  m_linkHoverShown = false;
  UpdateStatus();
  m_toolBar->update();
  if (QWebEngineView* view = ActiveHost().View()) {
    view->setFocus(Qt::OtherFocusReason);
  } else {
    ActiveHost().setFocus(Qt::OtherFocusReason);
  }
}

void CMainFrame::SetZoom(double factor) {
  const double zoom = ClampZoom(factor);
  m_app.Options().Zoom = zoom;
  for (CWebHost* host : m_hosts) host->SetZoom(zoom);
  UpdateStatus();
}

void CMainFrame::UpdateStatus() {
  const QString& tabStatus = m_tabStatus[static_cast<int>(m_activeTab)];
  ShowStatusText(tabStatus.isEmpty() ? QStringLiteral("Ready") : tabStatus);
  const QString zoomText = velquist::ZoomText(m_app.Options().Zoom);
  if (zoomText != m_zoomText) ShowZoomText(zoomText);
}

void CMainFrame::ShowStatusText(const QString& text) {
  m_statusText = text;
  m_statusStrip->showMessage(text);
}

void CMainFrame::ShowZoomText(const QString& text) {
  m_zoomText = text;
  m_zoomLabel->setText(text);
}

void CMainFrame::ShowSelectedTab(int kind) {
  if (m_tabStrip->currentIndex() != kind) m_tabStrip->setCurrentIndex(kind);
}

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
  m_commands[id] = std::move(handler);
}

bool CMainFrame::IsCommandEnabled(int id) const {
  CommandContext context;
  context.activeTab = static_cast<int>(m_activeTab);
  context.hasCurrentUrl = !ActiveHost().CurrentUrl().empty();
  context.canGoBack = ActiveHost().CanGoBack();
  context.canGoForward = ActiveHost().CanGoForward();
  context.hasSavedScreens = !m_app.Screens().empty();
  return velquist::IsCommandEnabled(id, context);
}

void CMainFrame::RunCommand(int id) {
  if (!IsCommandEnabled(id)) {
    QApplication::beep();
    return;
  }
  switch (id) {
    case kCmdStocks:
    case kCmdEtfs:
      SelectTab(id - kCmdStocks);
      return;
    case kCmdNextScreener:
      SelectTab((static_cast<int>(m_activeTab) + 1) % 2);
      return;
    case kCmdBack:
      ActiveHost().GoBack();
      return;
    case kCmdForward:
      ActiveHost().GoForward();
      return;
    case kCmdRefresh:
      Refresh();
      return;
    case kCmdResetFilters:
      ResetFilters();
      return;
    case kCmdZoomIn:
      SetZoom(ZoomStepUp(m_app.Options().Zoom));
      return;
    case kCmdZoomOut:
      SetZoom(ZoomStepDown(m_app.Options().Zoom));
      return;
    case kCmdActualSize:
      SetZoom(1.0);
      return;
    case kCmdOpenInBrowser:
      OpenInBrowser();
      return;
    case kCmdExit:
      close();
      return;
    default:
      break;
  }
  const auto handler = m_commands.find(id == kCmdManageScreens ? kCmdOpenSavedScreen : id);
  if (handler != m_commands.end()) handler->second();
}

void CMainFrame::Refresh() {
  CWebHost& host = ActiveHost();
  if (!host.View()) return;
  if (host.IsOffline()) {
    host.Retry();
  } else {
    host.Reload();
  }
}

void CMainFrame::ResetFilters() {
  std::string path, fragment;
  if (!SplitScreenerUrl(ActiveHost().CurrentUrl(), path, fragment)) {
    path = std::string(DefaultScreenerPath(m_activeTab));
  }
  ActiveHost().Navigate(BuildScreenerUrl(path, {}));
}

void CMainFrame::OpenInBrowser() {
  const std::string& url = ActiveHost().CurrentUrl();
  if (!url.empty()) OpenInDefaultBrowser(AddReferralTag(url));
}

void CMainFrame::OnHostReady(CWebHost& host) {
  if (&host != &ActiveHost()) return;
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus == this || focus == &host || !isAncestorOf(focus)) {
    if (host.View()) host.View()->setFocus(Qt::OtherFocusReason);
  }
}

void CMainFrame::OnScreenChanged(CWebHost& host, const std::string& url) {
  std::string path, fragment;
  if (!SplitScreenerUrl(url, path, fragment)) return;
  const bool etf = IsEtfScreenerPath(path);
  if (etf != (host.Kind() == ScreenerKind::Etfs)) return;
  AppOptions& options = m_app.Options();
  (etf ? options.LastEtfs : options.LastStocks) = JoinScreenState(path, fragment);
}

void CMainFrame::OnLinkHover(CWebHost& host, const std::string& url) {
  if (&host != &ActiveHost()) return;
  m_linkHoverShown = !url.empty();
  if (m_linkHoverShown) {
    ShowStatusText(ToQString(url));
  } else {
    UpdateStatus();
  }
}

void CMainFrame::OnHostStatus(CWebHost& host, const QString& text) {
  m_tabStatus[static_cast<int>(host.Kind())] = text;
  if (&host == &ActiveHost() && !m_linkHoverShown) UpdateStatus();
}

void CMainFrame::OnHostZoom(CWebHost&, double zoom) { SetZoom(zoom); }

void CMainFrame::OnRowContextMenu(CWebHost& host, const RowMenuRequest& request) {
  if (&host == &ActiveHost()) emit rowContextMenuRequested(request);
}

bool CMainFrame::OnBrowserKey(int key, Qt::KeyboardModifiers modifiers) {
  const int command = FindAccelerator(key, modifiers);
  if (command == 0) return false;
  // Run after the browser's key handling has returned, as a posted command would.
  QMetaObject::invokeMethod(
      this, [this, command] { RunCommand(command); }, Qt::QueuedConnection);
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  CapturePlacement(*this, m_app.Options().Placement);
  m_app.Options().ActiveTab = m_activeTab;
  m_app.SaveAppState(this);
  event->accept();
}

}  // namespace velquist
