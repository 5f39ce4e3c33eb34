// The back/forward list fed by the real screener page: quick fragment rewrites merge into
// one entry, slower ones add entries, Back and Forward keep the forward entries while the
// reloaded page rewrites its fragment, and the list keeps the newest 100 pages.
#include <QTest>
#include <QWebEnginePage>

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

}  // namespace

class E2eHistoryTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
  }
  void cleanupTestCase() { m_run.Close(); }

  void quickRewritesMergeAndSlowOnesAddEntries() {
    CWebHost& host = m_run.Active();
    QWebEnginePage* page = m_run.ActivePage();
    // A new page first, so the rewrites below start a fresh entry.
    EvalJs(page, "history.pushState(null, '', '/screener/value-stocks.html#a=0'); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("#a=0"), 10000);
    const std::size_t start = host.History().Entries().size();

    // One script, so that a busy machine cannot stretch the gaps past the merge window.
    EvalJs(page,
           "history.replaceState(null, '', '#a=1'); history.replaceState(null, '', '#a=2');"
           "location.hash = 'a=3'; true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("#a=3"), 10000);
    QCOMPARE(host.History().Entries().size(), start);
    QVERIFY(host.History().Entries().back().ends_with("#a=3"));

    // The page itself waits longer than the merge window before each rewrite.
    EvalJs(page,
           "setTimeout(function () { history.replaceState(null, '', '#a=4');"
           "  setTimeout(function () { history.replaceState(null, '', '#a=5'); }, 1200);"
           "}, 1200); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("#a=5"), 10000);
    QCOMPARE(host.History().Entries().size(), start + 2);
    QVERIFY(host.History().Entries()[start].ends_with("#a=4"));
  }

  void backAndForwardKeepTheForwardEntries() {
    CWebHost& host = m_run.Active();
    EvalJs(m_run.ActivePage(),
           "history.pushState(null, '', '/screener/dividend-stocks.html'); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().find("dividend-stocks") != std::string::npos, 10000);
    const std::vector<std::string> before = host.History().Entries();
    const int index = host.History().Index();
    QVERIFY(host.CanGoBack());
    QVERIFY(!host.CanGoForward());

    m_run.Frame().RunCommand(kCmdBack);
    QCOMPARE(host.History().Index(), index - 1);
    // The page loads the older screen and may rewrite its fragment; either way the entry
    // is replaced in place and the forward entry stays.
    QTRY_VERIFY_WITH_TIMEOUT(QString::fromStdString(host.CurrentUrl()).contains("value-stocks"),
                             15000);
    EvalJs(m_run.ActivePage(), "history.replaceState(null, '', '#a=back'); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("#a=back"), 10000);
    QCOMPARE(host.History().Entries().size(), before.size());
    QVERIFY(host.CanGoForward());
    QVERIFY(m_run.Frame().IsCommandEnabled(kCmdForward));

    m_run.Frame().RunCommand(kCmdForward);
    QTRY_VERIFY_WITH_TIMEOUT(QString::fromStdString(host.CurrentUrl()).contains("dividend-stocks"),
                             15000);
    QCOMPARE(host.History().Index(), index);
    QVERIFY(!host.CanGoForward());
  }

  void keepsTheNewest100Pages() {
    CWebHost& host = m_run.Active();
    EvalJs(m_run.ActivePage(),
           "for (var i = 0; i <= 100; i++) history.pushState(null, '', '/screener/p' + i + "
           "'.html'); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("/screener/p100.html"), 15000);
    const auto& entries = host.History().Entries();
    QCOMPARE(entries.size(), std::size_t(100));
    QCOMPARE(QString::fromStdString(entries.front()), Origin() + "/screener/p1.html");
    QCOMPARE(host.History().Index(), 99);
    QVERIFY(host.CanGoBack());
    QVERIFY(!host.CanGoForward());
  }

 private:
  ProgramRun m_run;
};

VELQUIST_E2E_TEST_MAIN(E2eHistoryTest)
#include "e2e_history_test.moc"
