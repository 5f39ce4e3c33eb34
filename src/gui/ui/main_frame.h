// The program's only top-level window: the two screener tabs with their web hosts, the
// shared browser profile, the commands of menus, toolbar and keys, and the status texts.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "gui/results/results_request.h"
#include "gui/web/web_host_sink.h"
#include "site/screener_kind.h"

class QStackedLayout;
class QWebEngineProfile;

namespace velquist {

class CChromeToolBar;
class CPrintCommand;
class CExportCommand;
class CDesktopSchemeWatcher;
class CScreenerApp;
class CStatusStrip;
class CTabStrip;
class CWebHost;
struct MenuOwner;

class CMainFrame : public QMainWindow, public IWebHostSink {
  Q_OBJECT
 public:
  explicit CMainFrame(CScreenerApp& app);
  ~CMainFrame() override;

  void SelectTab(int kind);
  void SetZoom(double factor);
  void UpdateStatus();
  // Shows text in the status strip until the status is next updated.
  void ShowStatusText(const QString& text);

  // Runs a command of the menus, toolbar or keys now.
  void RunCommand(int id);
  // Lets a later part of the program handle a command; replaces an earlier handler.
  void SetCommandHandler(int id, std::function<void()> handler);
  bool IsCommandEnabled(int id) const;
  // Gives the rows of a finished Export or Print request to handler, and so enables the
  // command that starts such a request.
  void SetResultsHandler(ResultsRequest kind, ResultsHandler handler);
  CResultsRequest& Results() const { return *m_results; }

  ScreenerKind ActiveTab() const { return m_activeTab; }
  CWebHost& Host(ScreenerKind kind) const { return *m_hosts[static_cast<int>(kind)]; }
  CWebHost& ActiveHost() const { return Host(m_activeTab); }
  QWebEngineProfile* Profile() const { return m_profile; }
  // The status strip's main text and zoom text as last shown.
  QString StatusText() const { return m_statusText; }
  QString ZoomText() const { return m_zoomText; }
  bool IsDark() const { return m_dark; }
  CChromeToolBar& ToolBar() const { return *m_toolBar; }
  CTabStrip& TabStrip() const { return *m_tabStrip; }
  CStatusStrip& StatusStrip() const { return *m_statusStrip; }
  CPrintCommand& Print() const { return *m_print; }
  // Decides the mode again from the options and the desktop and redraws every part
  // in it; the status strip says when the pages only follow at the next start.
  void ColorModeChanged();

  // IWebHostSink
  void OnHostReady(CWebHost& host) override;
  void OnScreenChanged(CWebHost& host, const std::string& url) override;
  void OnLinkHover(CWebHost& host, const std::string& url) override;
  void OnHostStatus(CWebHost& host, const QString& text) override;
  void OnHostZoom(CWebHost& host, double zoom) override;
  void OnRowContextMenu(CWebHost& host, const RowMenuRequest& request) override;
  bool OnBrowserKey(int key, Qt::KeyboardModifiers modifiers) override;

 signals:
  // A row of the active tab was right-clicked; the row menu shows it.
  void rowContextMenuRequested(const velquist::RowMenuRequest& request);
  // The browser profile exists and the active host has been created.
  void environmentReady();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateChrome();
  void CreateChromeCommands();
  void CreateResultsCommands();
  void SetMinimumSizeForDpi(int dpi);
  void ApplyColorMode();
  MenuOwner MenusOwner();
  void ShowPrompt(const QString& prompt);
  bool HasCommand(int id) const;
  void CreateShortcuts();
  void CreateEnvironment();
  void CreateHost(CWebHost& host);
  QColor HostColor() const;

  void ShowZoomText(const QString& text);
  void ShowSelectedTab(int kind);

  void ZoomStep(bool up);
  void ResetFilters();
  void Refresh();
  void OpenInBrowser();

  CScreenerApp& m_app;
  CChromeToolBar* m_toolBar = nullptr;
  CTabStrip* m_tabStrip = nullptr;
  CStatusStrip* m_statusStrip = nullptr;
  CDesktopSchemeWatcher* m_schemeWatcher = nullptr;
  QStackedLayout* m_hostStack = nullptr;  // the two hosts, the active one on top
  std::array<CWebHost*, 2> m_hosts{};
  std::array<QString, 2> m_tabStatus;
  ScreenerKind m_activeTab = ScreenerKind::Stocks;
  bool m_dark = false;
  bool m_linkHoverShown = false;
  QWebEngineProfile* m_profile = nullptr;
  QString m_statusText;
  QString m_zoomText;
  std::map<int, std::function<void()>> m_commands;
  CPrintCommand* m_print = nullptr;
  CResultsRequest* m_results = nullptr;
  std::unique_ptr<CExportCommand> m_export;
};

}  // namespace velquist
