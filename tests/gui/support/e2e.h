// Shared pieces of the end-to-end tests: the demo site started before the application
// object (its port and certificate go into the browser engine's switches), a stand-in for
// a foreign host, a program run made of the real program objects, and waiting on pages.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <QUdpSocket>
#include <QVariant>
#include <functional>
#include <memory>

#include "support/demo_site.h"
#include "support/gui_test_main.h"

class QWebEnginePage;

namespace velquist {
class CMainFrame;
class CScreenerApp;
class CWebHost;
}  // namespace velquist

namespace velquist::test {

// The host name the foreign stand-in answers for.
inline constexpr const char* ForeignHost = "cdn.foreign.example";

DemoSite& Site();
// Port of the foreign stand-in; its server listens once Foreign() is first called.
int ForeignPort();
// Counts the connections that reach the foreign host.
class ForeignServer : public QTcpServer {
 public:
  int connections = 0;

 protected:
  void incomingConnection(qintptr socket) override;
};
ForeignServer& Foreign();

// The foreign host's UDP port (STUN, TURN over UDP, QUIC): chosen before the engine starts,
// bound when ForeignUdp() is first called.
int ForeignUdpPort();
// Counts the datagrams that reach it.
class ForeignDatagrams : public QObject {
 public:
  ForeignDatagrams();
  int datagrams = 0;

 private:
  QUdpSocket m_socket;
};
ForeignDatagrams& ForeignUdp();

// Polls condition while events run, up to timeoutMs (longer in a build that runs slower).
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);

// Runs script in the page's main world and returns its value (invalid on time-out).
QVariant EvalJs(QWebEnginePage* page, const QString& script, int timeoutMs = 30000);

// A real mouse click (left or right) into the host's page at a point in CSS pixels.
void ClickInPage(CWebHost& host, QPoint cssPoint, Qt::MouseButton button = Qt::LeftButton);

// The program's application object and main window, made and started as main() does.
class ProgramRun {
 public:
  ProgramRun();
  ~ProgramRun();
  // InitInstance with the user's command-line words; true when the main window is up. A
  // word of the user's keeps the splash away, as it does for the program.
  bool Start(const QStringList& words = {QStringLiteral("--test")});
  // Closes the main window (saving state) and ends the run.
  void Close();
  CScreenerApp& App() { return *m_app; }
  CMainFrame& Frame();
  CWebHost& Active();
  QWebEnginePage* ActivePage();
  // Waits until the active tab's screener has reported its URL and shows result rows.
  bool WaitForResults(int timeoutMs = 30000);

 private:
  std::unique_ptr<CScreenerApp> m_app;
};

// The engine's switches of an end-to-end test: the demo site's, ForeignHost mapped to the
// foreign stand-in, extraMappings (more host-resolver rules for foreign names a test
// needs), and the dark page scheme when VELQUIST_SCREENSHOT_MODE is "dark".
QStringList E2eEngineSwitches(const QStringList& extraMappings = {});

template <typename TestObject>
int RunE2eTest(int argc, char** argv, const QStringList& extraMappings = {}) {
  if (!Site().Start()) {
    qCritical("demo-site did not start");
    return 1;
  }
  const int status = RunGuiTest<TestObject>(argc, argv, E2eEngineSwitches(extraMappings));
  Site().Stop();
  return status;
}

}  // namespace velquist::test

#define VELQUIST_E2E_TEST_MAIN(TestObject) \
  int main(int argc, char** argv) { return velquist::test::RunE2eTest<TestObject>(argc, argv); }
