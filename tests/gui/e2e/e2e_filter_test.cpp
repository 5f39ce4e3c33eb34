// The screener view stays on the site: requests the rules refuse never reach a server,
// links off the screener open in the default browser, and other schemes are dropped.
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_opener.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

// Starts a request from the page and waits until the page has seen it end (answered,
// refused or failed), so the site's request log is complete afterwards.
bool PageRequest(QWebEnginePage* page, const QString& startScript) {
  const QString script =
      QStringLiteral(
          "window.__vxDone = false; Promise.resolve().then(function () { return %1; })"
          ".then(function () {}, function () {}).then(function () { window.__vxDone = true; });")
          .arg(startScript);
  EvalJs(page, script);
  return WaitUntil([&] { return EvalJs(page, QStringLiteral("window.__vxDone")).toBool(); });
}

}  // namespace

class E2eFilterTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    Foreign();  // listening before the page can reach for it
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    m_page = m_run.ActivePage();
  }
  void cleanupTestCase() { m_run.Close(); }

  void refusedRequestsNeverReachAServer() {
    Site().ClearRequests();
    Foreign().connections = 0;
    // One allowed fetch first: it shows that the log sees what the page asks for.
    QVERIFY(PageRequest(m_page, "fetch('/data/search.json?v=1')"));
    QTRY_COMPARE_WITH_TIMEOUT(Site().RequestCount("/data/search.json"), 1, 10000);

    QVERIFY(PageRequest(m_page, "fetch('/data/other.json')"));
    QVERIFY(PageRequest(m_page, "fetch('/screener.html', {method: 'POST', body: 'x'})"));
    QVERIFY(PageRequest(m_page, "new FontFace('x', 'url(/fonts/site.woff2)').load()"));
    QVERIFY(PageRequest(m_page,
                        "fetch('/css/site.css').then(function(){ return "
                        "fetch('https://cdn.foreign.example/lib.js'); })"));
    QVERIFY(PageRequest(m_page,
                        "new Promise(function (done) { var i = new Image(); "
                        "i.onload = i.onerror = done; "
                        "i.src = 'https://cdn.foreign.example/pixel.png'; })"));
    QVERIFY(PageRequest(
        m_page, "fetch('http://" + QString::fromUtf8(SiteHost.data()) + "/data/search.json')"));

    QCOMPARE(Site().RequestCount("/data/other.json"), 0);
    QCOMPARE(Site().RequestCount("/fonts/site.woff2"), 0);
    // The POST was refused; the only GET of the screener page is older than the log.
    QCOMPARE(Site().RequestCount("/screener.html"), 0);
    QCOMPARE(Site().RequestCount("/data/search.json"), 1);
    QCOMPARE(Foreign().connections, 0);
  }

  // A worker's requests are not the page's own; they must meet the same rules.
  void workerRequestsAreRefusedToo() {
    Site().ClearRequests();
    Foreign().connections = 0;
    const QString worker = QStringLiteral(
        "new Promise(function (done) {"
        "  var o = location.origin;"
        "  var code = \"Promise.all([fetch('https://cdn.foreign.example/w.js')"
        "      .catch(function () {}), fetch('\" + o + \"/data/other.json').catch(function () {}),"
        "      fetch('\" + o + \"/data/search.json?worker=1').catch(function () {})])"
        "    .then(function () { postMessage(1); });\";"
        "  var w = new Worker(URL.createObjectURL(new Blob([code])));"
        "  w.onmessage = w.onerror = done;"
        "})");
    QVERIFY(PageRequest(m_page, worker));
    // The allowed fetch shows that the worker ran and its requests were logged.
    QTRY_COMPARE_WITH_TIMEOUT(Site().RequestCount("/data/search.json"), 1, 10000);
    QCOMPARE(Site().RequestCount("/data/other.json"), 0);
    QCOMPARE(Foreign().connections, 0);
  }

  void symbolLinkOpensTheDefaultBrowserWithTheTag() {
    RecordingOpener opener;
    const std::string before = m_run.Active().CurrentUrl();
    const QString href =
        EvalJs(
            m_page,
            QStringLiteral(
                "var a = document.querySelector('td.sx-sym a'); a.click(); a.getAttribute('href')"))
            .toString();
    QVERIFY(href.startsWith(QStringLiteral("/stocks/")));
    QTRY_COMPARE_WITH_TIMEOUT(opener.opened.size(), 1, 10000);
    QCOMPARE(opener.opened.front().toString(), Origin() + href + QStringLiteral("?src=vqs"));
    QCOMPARE(m_run.Active().CurrentUrl(), before);
    QCOMPARE(EvalJs(m_page, "location.pathname").toString(), QStringLiteral("/screener.html"));
  }

  void mailLinkOpensUnchanged() {
    RecordingOpener opener;
    // The browser hands mail links on only for a real click.
    EvalJs(m_page,
           QStringLiteral(
               "var m = document.createElement('a'); m.href = "
               "'mailto:help@vxscreener.example?subject=Hi';"
               "m.textContent = 'mail'; m.style.cssText = 'position:fixed;left:0;top:0;width:200px;"
               "height:40px;display:block;z-index:2147483647;background:#fff';"
               "document.body.appendChild(m); true"));
    ClickInPage(m_run.Active(), QPoint(100, 20));
    QTRY_COMPARE_WITH_TIMEOUT(opener.opened.size(), 1, 10000);
    QCOMPARE(opener.opened.front().toString(),
             QStringLiteral("mailto:help@vxscreener.example?subject=Hi"));
  }

  void newWindowForAScreenerPageOpensOutside() {
    RecordingOpener opener;
    EvalJs(m_page, QStringLiteral("window.open('/etf-screener.html#a=1'); true"));
    QTRY_COMPARE_WITH_TIMEOUT(opener.opened.size(), 1, 10000);
    QCOMPARE(opener.opened.front().toString(), Origin() + "/etf-screener.html?src=vqs#a=1");
    QCOMPARE(EvalJs(m_page, "location.pathname").toString(), QStringLiteral("/screener.html"));
  }

  void otherSchemesAreDropped() {
    RecordingOpener opener;
    const std::string before = m_run.Active().CurrentUrl();
    EvalJs(m_page,
           QStringLiteral("window.open('javascript:void(0)'); window.open('about:blank');"
                          "var f = document.createElement('a'); f.href = 'file:///etc/hostname';"
                          "document.body.appendChild(f); f.click(); true"));
    // A marker navigation afterwards: once it has been handled, the others were too.
    EvalJs(m_page, QStringLiteral("window.open('mailto:marker@vxscreener.example'); true"));
    QTRY_COMPARE_WITH_TIMEOUT(opener.opened.size(), 1, 10000);
    QCOMPARE(opener.opened.front().scheme(), QStringLiteral("mailto"));
    QCOMPARE(m_run.Active().CurrentUrl(), before);
  }

 private:
  ProgramRun m_run;
  QWebEnginePage* m_page = nullptr;
};

VELQUIST_E2E_TEST_MAIN(E2eFilterTest)
#include "e2e_filter_test.moc"
