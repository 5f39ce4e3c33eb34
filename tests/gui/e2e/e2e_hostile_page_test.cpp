// A hostile page on the site's own host tries every way out it knows, from the page, its
// frames and every kind of worker, twice over and across a reload (so that the service
// worker it registers on the first load controls the second), against a foreign stand-in
// that counts every TCP connection and every UDP datagram. Nothing may reach the stand-in,
// nothing but allowed requests may reach the site, and every navigation must be opened in
// the default browser or dropped, with the page left where it was.
#include <QTest>
#include <QWebEnginePage>

#include "gui/web/web_host.h"
#include "site/filter.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_opener.h"

using namespace velquist;
using namespace velquist::test;

namespace {

constexpr const char* kQuicHost = "quic.foreign.example";
constexpr const char* kHostilePath = "/screener/hostile.html";
// Each attempt is given at most four seconds by the page; two rounds of some eighty of
// them, most refused at once, fit well within this on a loaded machine.
constexpr int kLoadTimeoutMs = 240000;

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

// True when the site's rules would let a GET of this logged path and query through for any
// class of request: anything else reaching the site is a leak.
bool AllowedAtTheSite(const SiteRequest& request) {
  if (request.method != "GET") return false;
  const std::string uri =
      std::string(SiteOrigin) + request.path + (request.query.empty() ? "" : "?" + request.query);
  for (RequestClass cls : {RequestClass::Document, RequestClass::DataFetch, RequestClass::Asset}) {
    if (IsRequestAllowed("GET", uri, cls)) return true;
  }
  return false;
}

// The page's title once it has finished load number `load`: "hostile done N
// controlled|uncontrolled | channels | notes".
QString WaitForLoad(QWebEnginePage* page, int load) {
  const QString prefix = QStringLiteral("hostile done %1 ").arg(load);
  WaitUntil([&] { return page->title().startsWith(prefix); }, kLoadTimeoutMs);
  return page->title();
}

// The same-host paths that the page's redirects point at (the site answers "hop=" with one).
// The engine (Qt WebEngine 6.4) follows a redirect of a subresource without waiting for the
// filter's answer for its target, so some of these may arrive at the site: same host, no
// other host, but past the path rules. Redirects of frames are judged before they are
// followed and are held like everything else.
bool IsRedirectTarget(const std::string& path) {
  return path == "/data/hop-secret.json" || path == "/private/hop.js" ||
         path == "/private/hop.html";
}

}  // namespace

class E2eHostilePageTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    Foreign();  // both stand-ins listen before the page can reach for them
    ForeignUdp();
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    const std::string set =
        "/set?hostile=on&hostile_rounds=2&foreign_tcp=" + std::to_string(ForeignPort()) +
        "&foreign_udp=" + std::to_string(ForeignUdpPort());
    QVERIFY(Site().Control(set).find("\"hostile\": \"on\"") != std::string::npos);
  }
  void cleanupTestCase() {
    Site().Control("/reset");
    m_run.Close();
  }

  void hostilePageReachesNothingButTheSite() {
    RecordingOpener opener;
    Site().ClearRequests();
    Foreign().connections = 0;
    ForeignUdp().datagrams = 0;
    CWebHost& host = m_run.Active();
    QWebEnginePage* page = m_run.ActivePage();

    host.Navigate((Origin() + QLatin1String(kHostilePath)).toStdString());
    const QString first = WaitForLoad(page, 1);
    QVERIFY2(first.startsWith(QStringLiteral("hostile done 1 ")), qPrintable(first));
    host.Reload();
    const QString second = WaitForLoad(page, 2);
    QVERIFY2(second.startsWith(QStringLiteral("hostile done 2 ")), qPrintable(second));

    std::vector<SiteRequest> requests;
    QVERIFY(Site().Requests(requests));
    QStringList forbidden, redirected;
    int done = 0;
    for (const SiteRequest& r : requests) {
      if (!AllowedAtTheSite(r)) {
        (IsRedirectTarget(r.path) ? redirected : forbidden)
            << QString::fromStdString(r.method + " " + r.path + "?" + r.query);
      }
      if (r.query.starts_with("hostile=done")) ++done;
    }
    int foreignOpens = 0;
    QStringList otherOpens;
    for (const QUrl& url : opener.opened) {
      if (url.host() == QLatin1String(ForeignHost)) {
        ++foreignOpens;
      } else {
        otherOpens << url.toString();
      }
    }
    const QStringList parts = second.split(QStringLiteral(" | "));
    qInfo("channels covered: %s", qPrintable(parts.value(1)));
    qInfo("workers, first load: %s", qPrintable(first.section(QStringLiteral(" | "), 2)));
    qInfo("workers, second load: %s", qPrintable(parts.value(2)));
    qInfo("second load: %s", qPrintable(second.section(' ', 3, 3)));
    qInfo("foreign TCP connections: %d, foreign UDP datagrams: %d", Foreign().connections,
          ForeignUdp().datagrams);
    qInfo("site requests: %d, forbidden among them: %lld (%s)", int(requests.size()),
          static_cast<long long>(forbidden.size()), qPrintable(forbidden.join(", ")));
    qInfo(
        "forbidden site paths reached through a redirect of a script, style sheet, image or "
        "fetch, which the engine follows before the filter's refusal takes effect: %lld (%s)",
        static_cast<long long>(redirected.size()), qPrintable(redirected.join(", ")));
    qInfo("navigations opened outside: %d to the foreign host, %lld elsewhere (%s)", foreignOpens,
          static_cast<long long>(otherOpens.size()), qPrintable(otherOpens.join(", ")));

    // Both loads ran to the end and said so through the site.
    QCOMPARE(done, 2);
    // In each load and round, both dedicated workers (from a file and from a blob) ran
    // their attempts; shared workers do not exist, and the service worker's registration
    // was refused, so that none ever controlled the second load.
    for (const QString& title : {first, second}) {
      const QString notes = title.section(QStringLiteral(" | "), 2);
      QCOMPARE(notes.count(QStringLiteral("worker:")), 4);
      QCOMPARE(notes.count(QStringLiteral("shared-absent")), 4);
      QCOMPARE(notes.count(QStringLiteral("service-refused")), 2);
      QVERIFY2(!notes.contains(QStringLiteral("service:")), qPrintable(notes));
    }
    QCOMPARE(second.section(' ', 3, 3), QStringLiteral("uncontrolled"));

    QCOMPARE(Foreign().connections, 0);
    QCOMPARE(ForeignUdp().datagrams, 0);
    QCOMPARE(forbidden, QStringList());
    // window.open, a link and a form to the foreign host, twice per load, went to the
    // default browser; javascript: and file: went nowhere; the page stayed.
    QCOMPARE(foreignOpens, 12);
    QCOMPARE(otherOpens, QStringList());
    QCOMPARE(page->url().path(), QLatin1String(kHostilePath));

    // Whatever of those redirects reaches the site, its answer never reaches the page: the
    // site answers these paths with 404, which a fetch would give; refused, it fails.
    EvalJs(page, QStringLiteral(
                     "window.hopAnswers = [];"
                     "['/data/hop-secret.json', '/private/hop.html'].forEach(function (t) {"
                     "  fetch(Hostile.hop('/data/search.json', t)).then("
                     "    function (r) { hopAnswers.push(t + ' ' + r.status); },"
                     "    function () { hopAnswers.push(t + ' refused'); });"
                     "}); 0"));
    QString answers;
    WaitUntil(
        [&] {
          answers = EvalJs(page, QStringLiteral("hopAnswers.length === 2 ? "
                                                "hopAnswers.sort().join(', ') : ''"))
                        .toString();
          return !answers.isEmpty();
        },
        kLoadTimeoutMs);
    QCOMPARE(answers, QStringLiteral("/data/hop-secret.json refused, /private/hop.html refused"));
  }

 private:
  ProgramRun m_run;
};

int main(int argc, char** argv) {
  const QString quic =
      QStringLiteral("MAP %1 127.0.0.1:%2").arg(QLatin1String(kQuicHost)).arg(ForeignUdpPort());
  return RunE2eTest<E2eHostilePageTest>(argc, argv, {quic});
}
#include "e2e_hostile_page_test.moc"
