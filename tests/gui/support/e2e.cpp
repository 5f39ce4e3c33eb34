#include "support/e2e.h"

#include <QApplication>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "gui/app/screener_app.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "ui/chrome_color_mode.h"

namespace velquist::test {

DemoSite& Site() {
  static DemoSite site;
  return site;
}

int ForeignPort() {
  static const int port = FreeLocalPort();
  return port;
}

void ForeignServer::incomingConnection(qintptr socket) {
  ++connections;
  auto* connection = new QTcpSocket(this);
  connection->setSocketDescriptor(socket);
  connection->close();
  connection->deleteLater();
}

ForeignServer& Foreign() {
  static ForeignServer* server = [] {
    auto* s = new ForeignServer;
    s->listen(QHostAddress::LocalHost, static_cast<quint16>(ForeignPort()));
    return s;
  }();
  return *server;
}

int ForeignUdpPort() {
  static const int port = FreeLocalPort(true);
  return port;
}

ForeignDatagrams::ForeignDatagrams() {
  m_socket.bind(QHostAddress::LocalHost, static_cast<quint16>(ForeignUdpPort()));
  connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
    while (m_socket.hasPendingDatagrams()) {
      m_socket.receiveDatagram();
      ++datagrams;
    }
  });
}

ForeignDatagrams& ForeignUdp() {
  static ForeignDatagrams* counter = new ForeignDatagrams;
  return *counter;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  const qint64 limit = qint64(timeoutMs) * VELQUIST_TEST_SLOWDOWN;
  while (!condition()) {
    if (timer.elapsed() > limit) return false;
    QTest::qWait(20);
  }
  return true;
}

QVariant EvalJs(QWebEnginePage* page, const QString& script, int timeoutMs) {
  // The answer may come after the wait has given up; it must then land in state that is
  // still alive, not in this function's returned frame.
  struct Answer {
    bool done = false;
    QVariant value;
  };
  auto answer = std::make_shared<Answer>();
  page->runJavaScript(script, [answer](const QVariant& value) {
    answer->value = value;
    answer->done = true;
  });
  if (!WaitUntil([&] { return answer->done; }, timeoutMs)) return {};
  return answer->value;
}

void ClickInPage(CWebHost& host, QPoint cssPoint, Qt::MouseButton button) {
  QWebEngineView* view = host.View();
  QWidget* target = view->focusProxy() ? view->focusProxy() : view;
  const double zoom = view->page()->zoomFactor();
  const QPoint at(int(cssPoint.x() * zoom), int(cssPoint.y() * zoom));
  QTest::mouseMove(target, at);
  QTest::mouseClick(target, button, Qt::NoModifier, at);
}

ProgramRun::ProgramRun() = default;

ProgramRun::~ProgramRun() { Close(); }

bool ProgramRun::Start(const QStringList& words) {
  m_app = std::make_unique<CScreenerApp>(words);
  if (!m_app->InitInstance()) return false;
  return m_app->MainFrame() != nullptr;
}

void ProgramRun::Close() {
  if (!m_app) return;
  if (m_app->MainFrame()) m_app->MainFrame()->close();
  m_app.reset();
}

CMainFrame& ProgramRun::Frame() { return *m_app->MainFrame(); }

CWebHost& ProgramRun::Active() { return Frame().ActiveHost(); }

QWebEnginePage* ProgramRun::ActivePage() {
  QWebEngineView* view = Active().View();
  return view ? view->page() : nullptr;
}

bool ProgramRun::WaitForResults(int timeoutMs) {
  if (!WaitUntil([&] { return ActivePage() && !Active().CurrentUrl().empty(); }, timeoutMs)) {
    qWarning("the active tab reported no screen URL (offline page shown: %d)",
             ActivePage() ? int(Active().IsOffline()) : -1);
    return false;
  }
  // Each look is bounded on its own: a question asked just as a load starts may never be
  // answered, and must not use up the whole wait.
  QVariant rows;
  if (WaitUntil(
          [&] {
            rows = EvalJs(ActivePage(),
                          QStringLiteral("document.querySelectorAll('td.sx-sym a').length"), 3000);
            return rows.toInt() > 0;
          },
          timeoutMs)) {
    return true;
  }
  // What the tab showed when the wait gave up tells a slow page from a lost one.
  qWarning("no result rows in %s (last answer: %s, page loading: %d)",
           Active().CurrentUrl().c_str(), rows.isValid() ? qPrintable(rows.toString()) : "none",
           int(ActivePage()->isLoading()));
  return false;
}

QStringList E2eEngineSwitches(const QStringList& extraMappings) {
  const QString foreign =
      QStringLiteral("MAP %1 127.0.0.1:%2").arg(QLatin1String(ForeignHost)).arg(ForeignPort());
  QStringList switches = Site().EngineSwitches(QStringList{foreign} + extraMappings);
  if (qEnvironmentVariable("VELQUIST_SCREENSHOT_MODE") == QStringLiteral("dark")) {
    switches += StartupBrowserArguments(kColorModeDark);
  }
  return switches;
}

}  // namespace velquist::test
