#include "gui/web/web_host.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWheelEvent>
#include <chrono>

#include "gui/app/text_resource.h"
#include "gui/text/qt_text.h"
#include "gui/web/browser_zoom.h"
#include "gui/web/external_opener.h"
#include "gui/web/page_bridge.h"
#include "gui/web/page_context_menu.h"
#include "gui/web/page_script_source.h"
#include "gui/web/screener_page.h"
#include "gui/web/view_settings.h"
#include "gui/web/web_host_sink.h"
#include "site/filter.h"
#include "site_constants.h"
#include "web/navigation_error.h"
#include "web/offline_page.h"
#include "web/page_message.h"
#include "web/script_result.h"

namespace velquist {
namespace {

// Chromium's net::ERR_ABORTED.
constexpr int kNetErrorAborted = -3;

// The stored offline page with the site's name filled in; the error text goes in later.
std::string OfflinePageTemplate() {
  std::string page = ReadTextResource(OfflinePageResource);
  const std::string_view marker = "@SITE_HOST@";
  const auto at = page.find(marker);
  if (at != std::string::npos) page.replace(at, marker.size(), SiteHost);
  return page;
}

TickMs NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string UrlText(const QUrl& url) { return url.toEncoded().toStdString(); }

}  // namespace

CWebHost::CWebHost(ScreenerKind kind, IWebHostSink& sink, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_sink(sink) {
  setObjectName(kind == ScreenerKind::Stocks ? QStringLiteral("stocksHost")
                                             : QStringLiteral("etfsHost"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

CWebHost::~CWebHost() {
  // The page must go before the profile it was made on, and with it the view's use of it.
  delete m_view;
  delete m_page;
}

void CWebHost::Create(QWebEngineProfile* profile, const std::string& startUrl, double zoom,
                      const QColor& background) {
  m_profile = profile;
  m_startUrl = startUrl;
  m_zoom = zoom;
  m_background = background;
  CreatePage();
  CreateView();
  ConnectBridge();
  InstallPageScript();
  // The engine starts the first navigation only after the window has drawn its first
  // frame, and every later change of the status redraws the whole window (with software
  // OpenGL a costly frame, in the middle of the page's loading). Saying "Loading…" now
  // puts it in that first frame; the navigation's start then leaves the text as it is.
  if (IsSiteNavigation(m_startUrl) &&
      ClassifyNavigation(m_startUrl).action == NavigationAction::StayInside) {
    m_sink.OnHostStatus(*this, ToQString(LoadingStatusText));
  }
  // The script is registered before the first navigation, so the first document runs it.
  Navigate(m_startUrl);
  WatchFocusProxy();
  m_sink.OnHostReady(*this);
}

void CWebHost::CreatePage() {
  m_page = new ScreenerPage(
      m_profile, [this](const QUrl& url) { return OnNavigationStarting(url); }, nullptr);
  // Windows a script opens become external opens; failed loads show the offline page.
  ApplyViewSettings(m_page->settings(), true, false);
  m_page->setBackgroundColor(m_background);
  m_page->setZoomFactor(m_zoom);
  connect(m_page, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) { OnNewWindow(request); });
  connect(m_page, &QWebEnginePage::loadingChanged, this,
          [this](const QWebEngineLoadingInfo& info) { OnLoadingChanged(info); });
  connect(m_page, &QWebEnginePage::urlChanged, this,
          [this](const QUrl& url) { ReportUrl(UrlText(url)); });
}

void CWebHost::CreateView() {
  m_view = new QWebEngineView(this);
  m_view->setPage(m_page);
  m_view->setContextMenuPolicy(Qt::CustomContextMenu);
  m_view->setGeometry(rect());
  m_view->installEventFilter(this);
  m_view->show();
  connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* menu = FilteredContextMenu(*m_view)) {
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(m_view->mapToGlobal(at));
    }
  });
}

void CWebHost::ConnectBridge() {
  m_bridge = new PageBridge(m_page);
  m_channel = new QWebChannel(m_page);
  m_channel->registerObject(QLatin1String(PageBridge::ChannelName), m_bridge);
  m_page->setWebChannel(m_channel, QWebEngineScript::MainWorld);
  connect(m_bridge, &PageBridge::messagePosted, this, [this](const QString& json) {
    // The source is the page's URL as the program knows it, never a value the page sends.
    OnWebMessage(UrlText(m_page->url()), ToUtf8(json));
  });
}

void CWebHost::InstallPageScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("velquist-page"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  script.setSourceCode(PageScriptSource());
  m_page->scripts().insert(script);
}

void CWebHost::Navigate(const std::string& url) {
  if (ClassifyNavigation(url).action != NavigationAction::StayInside) return;
  if (m_page) {
    m_page->load(QUrl(ToQString(url), QUrl::StrictMode));
  } else {
    m_startUrl = url;
  }
}

void CWebHost::Reload() {
  if (m_page) m_page->triggerAction(QWebEnginePage::Reload);
}

bool CWebHost::ExecuteScript(const std::string& expression, ScriptDone done) {
  if (!m_page || !m_view) return false;
  m_page->runJavaScript(ToQString(ScriptReturningJson(expression)), QWebEngineScript::MainWorld,
                        [done = std::move(done)](const QVariant& value) {
                          // Anything but text means the script threw or never ran.
                          if (value.typeId() == QMetaType::QString) {
                            done(false, value.toString());
                          } else {
                            done(true, QString());
                          }
                        });
  return true;
}

void CWebHost::ReportUrl(const std::string& url) {
  if (m_screens.Report(url, NowMs())) m_sink.OnScreenChanged(*this, url);
}

void CWebHost::ShowOfflinePage(const QString& text) {
  if (!m_page) return;
  m_offline = true;
  const std::string page = FillOfflinePage(OfflinePageTemplate(), ToUtf8(text));
  m_page->setHtml(ToQString(page));
  m_sink.OnHostStatus(*this, ToQString(OfflineStatusText(ToUtf8(text))));
}

void CWebHost::Retry() { Navigate(RetryUrl()); }

std::string CWebHost::RetryUrl() const {
  return std::string(velquist::RetryUrl(m_lastSiteNavigation, m_startUrl));
}

void CWebHost::GoBack() { StartHistoryNavigation(-1); }

void CWebHost::GoForward() { StartHistoryNavigation(1); }

void CWebHost::StartHistoryNavigation(int step) {
  std::string url;
  ScreenHistory& history = m_screens.History();
  const bool moved = step < 0 ? history.GoBack(NowMs(), url) : history.GoForward(NowMs(), url);
  if (moved) Navigate(url);
}

bool CWebHost::CanGoBack() const { return m_screens.History().CanGoBack(); }

bool CWebHost::CanGoForward() const { return m_screens.History().CanGoForward(); }

void CWebHost::SetZoom(double zoom) {
  m_zoom = zoom;
  if (m_page) m_page->setZoomFactor(zoom);
}

void CWebHost::SetBackground(const QColor& color) {
  m_background = color;
  if (m_page) m_page->setBackgroundColor(color);
  update();
}

void CWebHost::OnWebMessage(const std::string& source, const std::string& json) {
  WebMessageResult message = InterpretWebMessage(source, json, m_kind, m_offline);
  switch (message.action) {
    case WebMessageAction::Retry:
      Retry();
      break;
    case WebMessageAction::ReportUrl:
      ReportUrl(message.url);
      break;
    case WebMessageAction::Hover:
      m_sink.OnLinkHover(*this, message.url);
      break;
    case WebMessageAction::RowMenu:
      // The menu opens after the current callback has returned, from the event queue.
      QMetaObject::invokeMethod(
          this,
          [this, request = std::move(message.rowMenu)] { m_sink.OnRowContextMenu(*this, request); },
          Qt::QueuedConnection);
      break;
    case WebMessageAction::Ignore:
      break;
  }
}

bool CWebHost::OnNavigationStarting(const QUrl& qurl) {
  const std::string url = UrlText(qurl);
  const NavigationDecision decision = ClassifyNavigation(url);
  switch (decision.action) {
    case NavigationAction::OpenExternal:
      OpenInDefaultBrowser(decision.url);
      return false;
    case NavigationAction::Block:
      return false;
    case NavigationAction::StayInside:
      break;
  }
  if (IsSiteNavigation(url)) {
    m_lastSiteNavigation = url;
    m_offline = false;
    m_sink.OnHostStatus(*this, ToQString(LoadingStatusText));
  }
  return true;
}

void CWebHost::OnNewWindow(QWebEngineNewWindowRequest& request) {
  // Not calling openIn() leaves the request unanswered, so no window is ever created.
  const std::string target = ExternalOpenUrl(UrlText(request.requestedUrl()));
  if (!target.empty()) OpenInDefaultBrowser(target);
}

void CWebHost::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
  const bool success = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
  // The engine's one error code is Chromium's negative net error (its "HTTP error" domain
  // too holds net errors, such as an empty response) or a positive HTTP status. A stopped
  // load is a cancelled one.
  const int errorCode = info.status() == QWebEngineLoadingInfo::LoadStoppedStatus
                            ? kNetErrorAborted
                            : info.errorCode();
  const LoadFailure failure = LoadFailureFromChromium(errorCode);
  switch (DecideLoadOutcome(success, failure, m_offline)) {
    case LoadOutcome::ClearStatus:
      m_sink.OnHostStatus(*this, QString());
      break;
    case LoadOutcome::KeepStatus:
      break;
    case LoadOutcome::ShowOfflinePage:
      ShowOfflinePage(ToQString(NavigationErrorText(failure)));
      break;
  }
}

void CWebHost::OnWheelZoom(bool up) {
  const double zoom = NextBrowserZoom(m_zoom, up);
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  m_page->setZoomFactor(zoom);
  m_sink.OnHostZoom(*this, zoom);
}

// Chromium draws the page in a child widget of the view (its focus proxy), which receives
// the keys and the wheel; it is replaced when the page's renderer is, so it is watched
// again whenever the view gains a child.
void CWebHost::WatchFocusProxy() {
  if (!m_view) return;
  QWidget* proxy = m_view->focusProxy();
  if (proxy == m_focusProxy) return;
  if (m_focusProxy) m_focusProxy->removeEventFilter(this);
  m_focusProxy = proxy;
  if (proxy) proxy->installEventFilter(this);
}

bool CWebHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_view) {
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished) {
      QMetaObject::invokeMethod(
          this, [this] { WatchFocusProxy(); }, Qt::QueuedConnection);
    }
    return false;
  }
  if (watched != m_focusProxy) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // Keys of the frame's table run the frame's command here; accepting the override
      // keeps the window's own shortcuts from running it a second time, and the press
      // that follows is swallowed below.
      auto* key = static_cast<QKeyEvent*>(event);
      if (!m_sink.OnBrowserKey(key->key(), key->modifiers())) return false;
      m_claimedKey = key->key();
      event->accept();
      return true;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (m_claimedKey == key->key()) {
        m_claimedKey = 0;
        return true;
      }
      return m_sink.OnBrowserKey(key->key(), key->modifiers());
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0) return false;
      OnWheelZoom(wheel->angleDelta().y() > 0);
      return true;
    }
    default:
      return false;
  }
}

// The host's own focus is only a way into the page: keys go to the browser view.
void CWebHost::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (m_view) m_view->setFocus(Qt::OtherFocusReason);
}

void CWebHost::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_view) m_view->setGeometry(rect());
}

void CWebHost::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_background);
}

}  // namespace velquist
