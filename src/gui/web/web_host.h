// One screener tab's embedded browser: settings, the page script and its bridge, the
// request and navigation rules, the screen URL with its back/forward list, the offline
// page, and the reports to the owner through IWebHostSink.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "site/screener_kind.h"
#include "web/screen_tracker.h"

class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;
class QWebEngineProfile;
class QWebEngineView;
class QWebChannel;

namespace velquist {

class IWebHostSink;
class PageBridge;
class ScreenerPage;

class CWebHost : public QWidget {
  Q_OBJECT
 public:
  CWebHost(ScreenerKind kind, IWebHostSink& sink, QWidget* parent);
  ~CWebHost() override;

  ScreenerKind Kind() const { return m_kind; }

  // Creates the view on the shared profile and, once the page script is in place,
  // navigates to startUrl.
  void Create(QWebEngineProfile* profile, const std::string& startUrl, double zoom,
              const QColor& background);
  // True once Create has run (the host holds the profile).
  bool IsCreated() const { return m_profile != nullptr; }
  // The browser view, or nullptr before Create.
  QWebEngineView* View() const { return m_view; }

  // Opens url in the view when the navigation rules keep it inside; before the view
  // exists it becomes the start URL.
  void Navigate(const std::string& url);
  void Reload();
  // Runs expression in the page's main world; done is called later with the JSON text of
  // its value, or with runFailed when the run gave no text. False when there is no page.
  using ScriptDone = std::function<void(bool runFailed, const QString& json)>;
  bool ExecuteScript(const std::string& expression, ScriptDone done);
  // The screen-URL pipeline: screener URLs of the site become the current URL and a
  // history entry, and are reported to the owner.
  void ReportUrl(const std::string& url);
  void ShowOfflinePage(const QString& text);
  // Loads the page the offline page stands for.
  void Retry();

  void GoBack();
  void GoForward();
  bool CanGoBack() const;
  bool CanGoForward() const;
  const ScreenHistory& History() const { return m_screens.History(); }

  // The last screen URL the page reported; empty until it has reported one.
  const std::string& CurrentUrl() const { return m_screens.CurrentUrl(); }
  bool IsOffline() const { return m_offline; }
  // The last site navigation, else the start URL.
  std::string RetryUrl() const;

  double Zoom() const { return m_zoom; }
  // Records the zoom and applies it to the view.
  void SetZoom(double zoom);
  void SetBackground(const QColor& color);

  // Handles one message the page posted; source is the page's URL as the host knows it.
  void OnWebMessage(const std::string& source, const std::string& json);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreatePage();
  void CreateView();
  void ConnectBridge();
  void InstallPageScript();
  bool OnNavigationStarting(const QUrl& url);
  void OnNewWindow(QWebEngineNewWindowRequest& request);
  void OnLoadingChanged(const QWebEngineLoadingInfo& info);
  void OnWheelZoom(bool up);
  void WatchFocusProxy();
  void StartHistoryNavigation(int step);

  ScreenerKind m_kind;
  IWebHostSink& m_sink;
  QWebEngineProfile* m_profile = nullptr;
  QWebEngineView* m_view = nullptr;
  ScreenerPage* m_page = nullptr;
  QWebChannel* m_channel = nullptr;
  PageBridge* m_bridge = nullptr;
  QPointer<QWidget> m_focusProxy;
  int m_claimedKey = 0;  // a key whose press the frame has taken already
  std::string m_startUrl;
  std::string m_lastSiteNavigation;
  bool m_offline = false;
  double m_zoom = 1.0;
  QColor m_background = Qt::white;
  ScreenTracker m_screens;
};

}  // namespace velquist
