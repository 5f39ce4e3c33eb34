// The page bridge listens to the screener page in the view's top frame only: messages from
// frames of every kind, from the offline page and from a site page that is no screener
// page are ignored. Each check ends with a message the program does take, sent after the
// others, so that "ignored" is not mistaken for "not yet arrived".
#include <QTest>
#include <QWebEnginePage>

#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_opener.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

bool HistoryHolds(const CWebHost& host, const std::string& needle) {
  for (const std::string& entry : host.History().Entries()) {
    if (entry.find(needle) != std::string::npos) return true;
  }
  return false;
}

// A function, as script text, that a frame runs to reach the program in every way it has:
// its own chrome.webview (the program's script is not meant to run in frames), the raw web
// channel transport if the engine gives the frame one, and the top page's own postMessage
// handed the frame's message. Each message asks the program to record a screen URL that
// names the frame; the ways the frame found are returned and posted to the top page, so
// that frames of another origin are seen to have run too.
QString FramePoster() {
  return QStringLiteral(
             "function (tag) {"
             "  var m = {t: 'url', href: '%1/etf-screener.html#leak-' + tag};"
             "  var ways = [];"
             "  try { if (window.chrome && window.chrome.webview) {"
             "    window.chrome.webview.postMessage(m); ways.push('own'); } } catch (e) {}"
             "  try { if (typeof qt !== 'undefined' && qt.webChannelTransport) {"
             "    var t = qt.webChannelTransport; ways.push('transport');"
             "    t.onmessage = function (reply) {"
             "      var data = JSON.parse(reply.data);"
             "      if (data.type !== 10 || !data.data || !data.data.vxBridge) return;"
             "      data.data.vxBridge.methods.forEach(function (method) {"
             "        if (method[0] === 'post') t.send(JSON.stringify({type: 6,"
             "            object: 'vxBridge', method: method[1], args: [JSON.stringify(m)],"
             "            id: 2}));"
             "      });"
             "    };"
             "    t.send(JSON.stringify({type: 3, id: 1}));"
             "  } } catch (e) {}"
             "  try { parent.chrome.webview.postMessage(m); ways.push('parent'); } catch (e) {}"
             "  var found = ways.join(',') || 'none';"
             "  try { parent.postMessage({ran: tag, ways: found}, '*'); } catch (e) {}"
             "  return found;"
             "}")
      .arg(Origin());
}

}  // namespace

class E2eBridgeTrustTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    m_page = m_run.ActivePage();
  }
  void cleanupTestCase() {
    Site().Control("/reset");
    m_run.Close();
  }

  void messagesFromFramesAreIgnored() {
    CWebHost& host = m_run.Active();
    // Frames of every kind: same-origin ones run the poster through the page; the data:
    // frame and the sandboxed one (origins of their own) carry it in their own documents.
    const QString setup =
        QStringLiteral(
            "(function () {"
            "  window.__ways = {};"
            "  window.addEventListener('message', function (e) {"
            "    if (e.data && e.data.ran) window.__ways[e.data.ran] = e.data.ways; });"
            "  var poster = (%1).toString();"
            "  function call(name) { return '(' + poster + ')(' + JSON.stringify(name) + ')'; }"
            "  function add(name, attrs, inside) {"
            "    var f = document.createElement('iframe');"
            "    Object.keys(attrs).forEach(function (k) { f.setAttribute(k, attrs[k]); });"
            "    if (!inside) f.onload = function () {"
            "      try { window.__ways[name] = f.contentWindow.eval(call(name)); }"
            "      catch (e) { window.__ways[name] = 'error ' + e; }"
            "    };"
            "    document.body.appendChild(f);"
            "  }"
            "  add('srcdoc', {srcdoc: '<p>frame</p>'});"
            "  add('blank', {src: 'about:blank'});"
            "  add('blob', {src: URL.createObjectURL(new Blob(['<p>blob</p>'],"
            "      {type: 'text/html'}))});"
            "  add('site', {src: '/etf-screener.html'});"
            "  add('data', {src: 'data:text/html,' + encodeURIComponent("
            "      '<script>' + call('data') + '</' + 'script>')}, true);"
            "  add('sandboxed', {sandbox: 'allow-scripts',"
            "      srcdoc: '<script>' + call('sandboxed') + '</' + 'script>'}, true);"
            "  return true;"
            "})()")
            .arg(FramePoster());
    QVERIFY(EvalJs(m_page, setup).toBool());
    QVERIFY(WaitUntil(
        [&] { return EvalJs(m_page, "Object.keys(window.__ways).length").toInt() == 6; }));
    // The site page in a frame has finished loading with its own scripts too.
    QVERIFY(WaitUntil([&] {
      return EvalJs(m_page,
                    "Array.prototype.some.call(document.querySelectorAll('iframe'), function (f) {"
                    "  try { return f.contentDocument.querySelectorAll('td.sx-sym a').length > 0; }"
                    "  catch (e) { return false; } })")
          .toBool();
    }));
    qInfo("ways each frame found: %s",
          qPrintable(EvalJs(m_page, "JSON.stringify(window.__ways)").toString()));

    // The top page's own message, sent after all of them, is taken. (It names another page
    // than the frames' messages, so that the history could not merge it with one of theirs.)
    EvalJs(m_page,
           "chrome.webview.postMessage({t: 'url', href: location.origin +"
           " '/screener.html#top-frame'}); true");
    QVERIFY(WaitUntil([&] { return HistoryHolds(host, "#top-frame"); }));
    QVERIFY2(!HistoryHolds(host, "#leak-"), host.History().Entries().back().c_str());
  }

  void messagesFromAPageThatIsNoScreenerAreIgnored() {
    CWebHost& host = m_run.Active();
    // The page moves itself to a symbol page of the site without loading it.
    EvalJs(m_page, "history.pushState(null, '', '/stocks/aapl.html'); true");
    QVERIFY(WaitUntil([&] { return m_page->url().path() == QLatin1String("/stocks/aapl.html"); }));
    EvalJs(m_page,
           "chrome.webview.postMessage({t: 'url', href: location.origin +"
           " '/etf-screener.html#leak-symbol-page'});"
           "chrome.webview.postMessage({t: 'hover', href: 'https://leak.example/'}); true");
    EvalJs(m_page, "history.pushState(null, '', '/screener.html#back'); true");
    QVERIFY(WaitUntil([&] { return m_page->url().path() == QLatin1String("/screener.html"); }));
    EvalJs(m_page,
           "chrome.webview.postMessage({t: 'url', href: location.origin +"
           " '/screener.html#after-symbol-page'}); true");
    QVERIFY(WaitUntil([&] { return HistoryHolds(host, "#after-symbol-page"); }));
    QVERIFY(!HistoryHolds(host, "#leak-symbol-page"));
    QVERIFY(!m_run.Frame().StatusText().contains(QStringLiteral("leak.example")));
  }

  void messagesFromTheOfflinePageAreIgnoredButItsRetry() {
    CWebHost& host = m_run.Active();
    QVERIFY(!Site().Control("/set?pages=503").empty());
    m_run.Frame().RunCommand(kCmdRefresh);
    QVERIFY(WaitUntil([&] { return host.IsOffline(); }, 30000));
    QVERIFY(WaitUntil([&] {
      return EvalJs(m_page, "!!document.getElementById('retry') && !!window.chrome.webview")
          .toBool();
    }));
    const QString offlineStatus = m_run.Frame().StatusText();
    RecordingOpener opener;
    EvalJs(m_page, "chrome.webview.postMessage({t: 'url', href: '" + Origin() +
                       "/etf-screener.html#leak-offline'});"
                       "chrome.webview.postMessage({t: 'hover', href: 'https://leak.example/'});"
                       "chrome.webview.postMessage({t: 'ctx', kind: 'stocks', sym: 'LEAK',"
                       " path: '/stocks/aapl.html', tabs: [], ok: false}); true");
    // Retry is the one message the offline page may send: once the screener is back, the
    // messages sent before it have been handled.
    Site().Control("/reset");
    EvalJs(m_page, "chrome.webview.postMessage({t: 'retry'}); true");
    QVERIFY(m_run.WaitForResults());
    QVERIFY(!host.IsOffline());
    QVERIFY(!HistoryHolds(host, "#leak-offline"));
    QVERIFY(offlineStatus.startsWith(QStringLiteral("Offline")));
    QVERIFY(opener.opened.isEmpty());
  }

 private:
  ProgramRun m_run;
  QWebEnginePage* m_page = nullptr;
};

VELQUIST_E2E_TEST_MAIN(E2eBridgeTrustTest)
#include "e2e_bridge_trust_test.moc"
