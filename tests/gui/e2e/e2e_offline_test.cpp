// The offline page: the site unreachable at start, "Try again" once it is back, and an
// HTTP error answer named by its status.
#include <QTest>
#include <QWebEnginePage>

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/save_screen_dlg.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/modal.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Host() { return QString::fromUtf8(SiteHost.data(), qsizetype(SiteHost.size())); }

QString BodyText(QWebEnginePage* page) {
  return EvalJs(page, "document.body ? document.body.innerText : ''").toString();
}

}  // namespace

class E2eOfflineTest : public QObject {
  Q_OBJECT
 private slots:
  void unreachableSiteShowsTheOfflinePageAndTryAgainRecovers() {
    Site().Stop();
    ProgramRun run;
    QVERIFY(run.Start());
    const QString error = QStringLiteral("Could not connect to %1.").arg(Host());
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Offline \u2014 ") + error,
                              30000);
    QVERIFY(run.Active().IsOffline());
    QTRY_VERIFY_WITH_TIMEOUT(BodyText(run.ActivePage()).contains(error), 10000);
    QVERIFY(BodyText(run.ActivePage()).contains("The screener could not be loaded"));
    QVERIFY(run.Active().CurrentUrl().empty());
    QVERIFY(!run.Frame().IsCommandEnabled(kCmdOpenInBrowser));

    QVERIFY(Site().Start());
    EvalJs(run.ActivePage(), "document.getElementById('retry').click(); true");
    QVERIFY(run.WaitForResults());
    QVERIFY(!run.Active().IsOffline());
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Ready"), 10000);
  }

  void httpErrorIsNamedAndRefreshRetries() {
    QVERIFY(Site().Start());
    ProgramRun run;
    QVERIFY(run.Start());
    QVERIFY(run.WaitForResults());
    QVERIFY(!Site().Control("/set?pages=503").empty());
    run.Frame().RunCommand(kCmdRefresh);
    const QString error = QStringLiteral("The server answered HTTP 503.");
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Offline \u2014 ") + error,
                              30000);
    QTRY_VERIFY_WITH_TIMEOUT(BodyText(run.ActivePage()).contains(error), 10000);
    // Save Screen on the offline page only beeps: no dialog, nothing saved, although the
    // tab still knows the screen it showed.
    QVERIFY(!run.Active().CurrentUrl().empty());
    WhenModal<CSaveScreenDlg> dialog([](CSaveScreenDlg& shown) { shown.reject(); }, 2000);
    run.Frame().RunCommand(kCmdSaveScreen);
    QVERIFY(!dialog.Ran());
    QVERIFY(run.App().Screens().empty());

    // While offline, Refresh retries the page the offline page stands for.
    Site().Control("/reset");
    run.Frame().RunCommand(kCmdRefresh);
    QVERIFY(run.WaitForResults());
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Ready"), 10000);
    QVERIFY(!run.Active().IsOffline());
  }

  void retryMessageWhileOnlineIsIgnored() {
    QVERIFY(Site().Start());
    ProgramRun run;
    QVERIFY(run.Start());
    QVERIFY(run.WaitForResults());
    Site().ClearRequests();
    const int loads = Site().RequestCount("/screener.html");
    // Messages are handled in order: once the hover sent after it shows, the retry is done.
    EvalJs(run.ActivePage(),
           "window.__stay = 1; chrome.webview.postMessage({t: 'retry'});"
           "chrome.webview.postMessage({t: 'hover', href: location.origin + '/screener.html'});"
           "true");
    QTRY_VERIFY_WITH_TIMEOUT(run.Frame().StatusText().endsWith("/screener.html"), 10000);
    // A load the retry had started would reach the site before this later request.
    EvalJs(run.ActivePage(), "fetch('/data/search.json?after-retry'); true");
    QTRY_COMPARE_WITH_TIMEOUT(Site().RequestCount("/data/search.json"), 1, 10000);
    QCOMPARE(Site().RequestCount("/screener.html"), loads);
    QCOMPARE(EvalJs(run.ActivePage(), "window.__stay").toInt(), 1);
    QVERIFY(!run.Active().IsOffline());
  }
};

VELQUIST_E2E_TEST_MAIN(E2eOfflineTest)
#include "e2e_offline_test.moc"
