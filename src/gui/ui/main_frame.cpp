#include "gui/ui/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMenuBar>
#include <QShortcut>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/files.h"
#include "gui/app/screener_app.h"
#include "gui/app/window_placement.h"
#include "gui/export/export_command.h"
#include "gui/print/print_command.h"
#include "gui/text/qt_text.h"
#include "gui/ui/about_dialog.h"
#include "gui/ui/accelerator_table.h"
#include "gui/ui/chrome_dpi.h"
#include "gui/ui/chrome_icons.h"
#include "gui/ui/chrome_menus.h"
#include "gui/ui/chrome_palette.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/menu_bar.h"
#include "gui/ui/prompter.h"
#include "gui/ui/screen_commands.h"
#include "gui/ui/settings_command.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "gui/web/external_opener.h"
#include "gui/web/request_interceptor.h"
#include "gui/web/web_host.h"
#include "gui/web/zoom_steps.h"
#include "site/screen_state.h"
#include "site/url.h"
#include "ui/chrome_commands.h"
#include "ui/chrome_metrics.h"
#include "ui/chrome_palette.h"

namespace velquist {
namespace {

std::string LastScreenOf(const AppOptions& options, ScreenerKind kind) {
  return kind == ScreenerKind::Etfs ? options.LastEtfs : options.LastStocks;
}

}  // namespace

CMainFrame::CMainFrame(CScreenerApp& app) : m_app(app) {
  setObjectName(QStringLiteral("OrvaneVelquistFrame"));
  setWindowTitle(QStringLiteral("Velquist"));
  // The browser engine starts its helper processes as soon as the first profile exists;
  // making it first lets their start overlap the building of the window (and the colour
  // scheme question to the desktop, which may wait for an answer).
  CreateEnvironment();
  m_dark = IsDarkMode(static_cast<int>(m_app.Options().ColorMode));

  CreateChrome();
  auto* hostArea = new QWidget(this);
  auto* layout = new QVBoxLayout(hostArea);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_toolBar);
  layout->addWidget(m_tabStrip);
  // Both tabs stay shown to the engine, the active one on top of the other: a page the
  // engine hides and shows again keeps some of its shared memory each time (some 50 KiB a
  // switch, without end), and users switch tabs all day.
  auto* hostStack = new QWidget(hostArea);
  m_hostStack = new QStackedLayout(hostStack);
  m_hostStack->setStackingMode(QStackedLayout::StackAll);
  for (int kind = 0; kind < 2; ++kind) {
    m_hosts[kind] = new CWebHost(static_cast<ScreenerKind>(kind), *this, hostStack);
    m_hostStack->addWidget(m_hosts[kind]);
  }
  layout->addWidget(hostStack, 1);
  layout->addWidget(m_statusStrip);
  setCentralWidget(hostArea);
  CreateShortcuts();
  CreateChromeCommands();
  new CScreenCommands(*this, m_app);
  m_print = new CPrintCommand(*this, m_app.Screens());
  CreateResultsCommands();
  ApplyColorMode();

  m_activeTab = m_app.Options().ActiveTab;
  ShowSelectedTab(static_cast<int>(m_activeTab));
  m_hostStack->setCurrentWidget(&ActiveHost());
  UpdateStatus();

  // Only the active host is made now, before the window is shown; the other one on its
  // first selection.
  CreateHost(ActiveHost());
  emit environmentReady();
}

CMainFrame::~CMainFrame() {
  // Pages must be gone before the profile they were made on: the print window's first.
  delete m_print;
  m_print = nullptr;
  for (CWebHost*& host : m_hosts) {
    delete host;
    host = nullptr;
  }
  delete m_profile;
}

// The chrome of our own drawing: menu bar, toolbar, tab strip and status strip.
void CMainFrame::CreateChrome() {
  const int dpi = WidgetDpi(this);
  SetMinimumSizeForDpi(dpi);
  setWindowIcon(AppIcon());
  m_toolBar = new CChromeToolBar(this);
  m_toolBar->SetImages(dpi);
  m_toolBar->SetEnableRule([this](int id) { return IsCommandEnabled(id); });
  connect(m_toolBar, &CChromeToolBar::commandInvoked, this, [this](int id) { RunCommand(id); });
  connect(m_toolBar, &CChromeToolBar::promptChanged, this, &CMainFrame::ShowPrompt);
  m_tabStrip = new CTabStrip(this);
  m_tabStrip->SetLabels({QStringLiteral("Stocks"), QStringLiteral("ETFs")});
  m_tabStrip->SetTheme(m_dark, dpi);
  connect(m_tabStrip, &CTabStrip::commandInvoked, this, [this](int id) { RunCommand(id); });
  m_statusStrip = new CStatusStrip(this);
  m_statusStrip->SetTheme(m_dark, dpi);
  MenuBarHandlers handlers;
  handlers.run = [this](int id) { RunCommand(id); };
  handlers.enabled = [this](int id) { return IsCommandEnabled(id); };
  handlers.checked = [this](int id) {
    return (id == kCmdStocks || id == kCmdEtfs) && id - kCmdStocks == static_cast<int>(m_activeTab);
  };
  handlers.showPrompt = [this](const QString& prompt) { ShowPrompt(prompt); };
  BuildMenuBar(*menuBar(), handlers);
  // Every chrome size follows the window's DPI; the layout picks the new sizes up.
  auto* dpiWatcher = new CChromeDpiWatcher(this);
  connect(dpiWatcher, &CChromeDpiWatcher::dpiChanged, this, [this](int newDpi) {
    m_toolBar->SetImages(newDpi);
    m_tabStrip->SetTheme(m_dark, newDpi);
    m_statusStrip->SetTheme(m_dark, newDpi);
    SetMinimumSizeForDpi(newDpi);
  });
  m_schemeWatcher = new CDesktopSchemeWatcher(this);
  connect(m_schemeWatcher, &CDesktopSchemeWatcher::changed, this, [this] {
    if (IsDarkMode(static_cast<int>(m_app.Options().ColorMode)) != m_dark) ColorModeChanged();
  });
}

void CMainFrame::SetMinimumSizeForDpi(int dpi) {
  setMinimumSize(ScaleForDpi(chrome96::kMinFrameWidth, dpi),
                 ScaleForDpi(chrome96::kMinFrameHeight, dpi));
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
  // On the profile, not on each page: only then does the filter also see the requests of
  // shared and service workers, which belong to no page.
  m_profile->setUrlRequestInterceptor(new ScreenerRequestInterceptor(m_profile));
  // The page's requests wait for the engine to read its cookie database (on a first start:
  // to create it). Asking for all cookies now has it read in one go as soon as the
  // engine's network side is up, ahead of those requests.
  m_profile->cookieStore()->loadAllCookies();
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
  m_hostStack->setCurrentWidget(&ActiveHost());
  if (m_profile && !ActiveHost().IsCreated()) CreateHost(ActiveHost());
  m_app.Options().ActiveTab = m_activeTab;
  m_linkHoverShown = false;
  UpdateStatus();
  m_toolBar->RefreshStates();
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
  m_statusStrip->SetText(text);
}

void CMainFrame::ShowZoomText(const QString& text) {
  m_zoomText = text;
  m_statusStrip->SetZoomText(text);
}

void CMainFrame::ShowSelectedTab(int kind) { m_tabStrip->SetSelected(kind); }

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
  m_commands[id] = std::move(handler);
  // A command with a handler may now be enabled.
  if (m_toolBar) m_toolBar->RefreshStates();
}

bool CMainFrame::IsCommandEnabled(int id) const {
  if (!HasCommand(id)) return false;
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
    Prompter().Beep();
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
      m_toolBar->RefreshStates();
      return;
    case kCmdForward:
      ActiveHost().GoForward();
      m_toolBar->RefreshStates();
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
  ActiveHost().Navigate(ResetFiltersUrl(ActiveHost().CurrentUrl(), m_activeTab));
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
  // The page and the history moved: the buttons that follow them may change.
  m_toolBar->RefreshStates();
  std::string state;
  if (!ScreenStateForUrl(url, host.Kind(), state)) return;
  AppOptions& options = m_app.Options();
  (host.Kind() == ScreenerKind::Etfs ? options.LastEtfs : options.LastStocks) = state;
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
  // The print window closes with the main window.
  m_print->CloseWindow();
  CapturePlacement(*this, m_app.Options().Placement);
  m_app.Options().ActiveTab = m_activeTab;
  m_app.SaveAppState(this);
  event->accept();
}

// Commands the frame runs itself, and those a part of the program has given it a handler
// for; the rest (features not in this build) stay disabled.
bool CMainFrame::HasCommand(int id) const {
  switch (id) {
    case kCmdStocks:
    case kCmdEtfs:
    case kCmdNextScreener:
    case kCmdBack:
    case kCmdForward:
    case kCmdRefresh:
    case kCmdResetFilters:
    case kCmdZoomIn:
    case kCmdZoomOut:
    case kCmdActualSize:
    case kCmdOpenInBrowser:
    case kCmdExit:
      return true;
    default:
      return m_commands.count(id == kCmdManageScreens ? kCmdOpenSavedScreen : id) > 0;
  }
}

// The presets and help menus under their buttons, the help links and the row menu.
void CMainFrame::CreateChromeCommands() {
  SetCommandHandler(kCmdPresets, [this] { ShowPresetsMenu(MenusOwner()); });
  SetCommandHandler(kCmdHelpMenu, [this] { ShowHelpMenu(MenusOwner()); });
  for (int id : {kCmdHelpGuide, kCmdVisitSite, kCmdGraphwick, kCmdPellmoor}) {
    SetCommandHandler(id, [this, id] { RunHelpCommand(id, m_activeTab); });
  }
  SetCommandHandler(kCmdSettings, [this] { RunSettingsCommand(*this, m_app); });
  SetCommandHandler(kCmdAbout, [this] { ShowAboutDialog(this, m_dark); });
  connect(this, &CMainFrame::rowContextMenuRequested, this, [this](const RowMenuRequest& request) {
    ShowRowMenu(MenusOwner(), request, QCursor::pos());
  });
}

void CMainFrame::SetResultsHandler(ResultsRequest kind, ResultsHandler handler) {
  m_results->SetHandler(kind, std::move(handler));
  SetCommandHandler(kind == ResultsRequest::Print ? kCmdPrintResults : kCmdExportResults,
                    [this, kind] { m_results->Request(kind); });
}

// Export and Print read the rows out of the page first and then hand them to their command.
void CMainFrame::CreateResultsCommands() {
  ResultsRequestOwner owner;
  owner.window = this;
  owner.activeHost = [this]() -> CWebHost& { return ActiveHost(); };
  owner.showStatus = [this](const QString& text) { ShowStatusText(text); };
  owner.restoreStatus = [this] { UpdateStatus(); };
  m_results = new CResultsRequest(std::move(owner), this);

  ExportOwner exportOwner;
  exportOwner.window = this;
  exportOwner.screens = [this]() -> const ScreenStore& { return m_app.Screens(); };
  exportOwner.showStatus = [this](const QString& text) { ShowStatusText(text); };
  m_export = std::make_unique<CExportCommand>(std::move(exportOwner));
  SetResultsHandler(ResultsRequest::Export,
                    [this](const ResultSet& set) { m_export->Export(set); });
  SetResultsHandler(ResultsRequest::Print, [this](const ResultSet& set) { m_print->Run(set); });
}

MenuOwner CMainFrame::MenusOwner() {
  MenuOwner owner;
  owner.window = this;
  owner.toolBar = m_toolBar;
  owner.activeKind = [this] { return m_activeTab; };
  owner.currentUrl = [this] { return ActiveHost().CurrentUrl(); };
  owner.navigate = [this](const std::string& url) { ActiveHost().Navigate(url); };
  owner.showStatus = [this](const QString& text) { ShowStatusText(text); };
  owner.showPrompt = [this](const QString& prompt) { ShowPrompt(prompt); };
  owner.postCommand = [this](int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { RunCommand(id); }, Qt::QueuedConnection);
  };
  return owner;
}

// A highlighted menu item or button shows its prompt; when none is highlighted any more
// the status comes back, unless a hovered link is shown.
void CMainFrame::ShowPrompt(const QString& prompt) {
  if (!prompt.isEmpty()) {
    ShowStatusText(prompt);
  } else if (!m_linkHoverShown) {
    UpdateStatus();
  }
}

void CMainFrame::ApplyColorMode() {
  ChromeParts parts;
  parts.frame = this;
  parts.menuBar = menuBar();
  parts.toolBar = m_toolBar;
  parts.tabStrip = m_tabStrip;
  parts.statusStrip = m_statusStrip;
  parts.hosts = {m_hosts[0], m_hosts[1]};
  velquist::ApplyColorMode(parts, m_dark);
}

void CMainFrame::ColorModeChanged() {
  const int mode = static_cast<int>(m_app.Options().ColorMode);
  m_dark = IsDarkMode(mode);
  ApplyColorMode();
  const QString note = PagesFollowAtNextStartText(m_dark);
  if (!note.isEmpty()) ShowStatusText(note);
}

}  // namespace velquist
