// The frame and the page together: zoom commands and the page's own Ctrl+wheel zoom, the
// frame's keys typed while the page has the focus, link hover texts, the row menu request
// from a right-click on a result row, and the screen commands Open in Browser, Reset
// Filters and Next Screener.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/page_context_menu.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_opener.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

QWidget* PageWidget(CWebHost& host) {
  QWebEngineView* view = host.View();
  return view->focusProxy() ? view->focusProxy() : view;
}

// Centre of the first element matching selector, in CSS pixels of the viewport.
QPoint CentreOf(QWebEnginePage* page, const QString& selector) {
  const QVariantList xy =
      EvalJs(page, QStringLiteral("(function () { var e = document.querySelectorAll('%1')[%2];"
                                  "e.scrollIntoView({block: 'center'});"
                                  "var r = e.getBoundingClientRect();"
                                  "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                       .arg(selector.section('|', 0, 0))
                       .arg(selector.section('|', 1, 1).isEmpty() ? QStringLiteral("0")
                                                                  : selector.section('|', 1, 1)))
          .toList();
  return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
}

// The row menu opened by a right-click on a row stays up until closed.
void ClosePopups() {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

}  // namespace

class E2ePageTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    m_run.Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_run.Frame()));
    connect(&m_run.Frame(), &CMainFrame::rowContextMenuRequested, this,
            [this](const RowMenuRequest& request) { m_requests.push_back(request); });
  }
  void cleanupTestCase() { m_run.Close(); }
  void cleanup() { ClosePopups(); }

  void zoomCommandsStepAndShowTheZoom() {
    CMainFrame& frame = m_run.Frame();
    QCOMPARE(frame.ZoomText(), QString());
    frame.RunCommand(kCmdZoomIn);
    QCOMPARE(m_run.App().Options().Zoom, 1.1);
    QCOMPARE(frame.ZoomText(), QStringLiteral("Zoom 110%"));
    QCOMPARE(m_run.ActivePage()->zoomFactor(), 1.1);
    frame.RunCommand(kCmdZoomIn);
    QCOMPARE(m_run.App().Options().Zoom, 1.25);
    frame.RunCommand(kCmdActualSize);
    QCOMPARE(m_run.App().Options().Zoom, 1.0);
    QCOMPARE(frame.ZoomText(), QString());
    frame.RunCommand(kCmdZoomOut);
    QCOMPARE(m_run.App().Options().Zoom, 0.9);
    QCOMPARE(frame.ZoomText(), QStringLiteral("Zoom 90%"));
    frame.RunCommand(kCmdActualSize);
  }

  void ctrlWheelInThePageIsReportedToTheFrame() {
    QWidget* target = PageWidget(m_run.Active());
    const QPoint at(200, 200);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    QCOMPARE(m_run.App().Options().Zoom, 1.1);
    QCOMPARE(m_run.Frame().ZoomText(), QStringLiteral("Zoom 110%"));
    QCOMPARE(m_run.Frame().Host(ScreenerKind::Etfs).Zoom(), 1.1);
    m_run.Frame().RunCommand(kCmdActualSize);
    QCOMPARE(m_run.ActivePage()->zoomFactor(), 1.0);
  }

  void frameKeysTypedInThePageRunTheFrameCommands() {
    int saves = 0;
    m_run.Frame().SetCommandHandler(kCmdSaveScreen, [&saves] { ++saves; });
    QWebEnginePage* page = m_run.ActivePage();
    EvalJs(page,
           "window.__keys = []; document.addEventListener('keydown', function (e) {"
           " window.__keys.push((e.ctrlKey ? 'C' : '') + (e.shiftKey ? 'S' : '') +"
           " e.key.toLowerCase()); }, true); true");
    ClickInPage(m_run.Active(), QPoint(5, 5));
    QWidget* target = PageWidget(m_run.Active());
    QTRY_VERIFY(target->hasFocus());

    QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(EvalJs(page, "window.__keys.join(',')").toString().contains("CSs"),
                              true, 5000);
    QCOMPARE(saves, 0);

    QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(saves, 1);
    QTest::keyClick(target, Qt::Key_X);  // a plain key afterwards reaches the page
    QTRY_VERIFY(EvalJs(page, "window.__keys.join(',')").toString().endsWith(",x"));
    QVERIFY(!EvalJs(page, "window.__keys.join(',')").toString().contains(",Cs"));
    QCOMPARE(saves, 1);  // run once, not by both the page path and the window's shortcut

    QTest::keyClick(target, Qt::Key_2, Qt::ControlModifier);
    QTRY_COMPARE(m_run.Frame().ActiveTab(), ScreenerKind::Etfs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_run.Active().CurrentUrl().empty(), 30000);
    m_run.Frame().SelectTab(0);
    QCOMPARE(m_run.Frame().ActiveTab(), ScreenerKind::Stocks);
  }

  void focusOnTheHostGoesIntoThePage() {
    CWebHost& host = m_run.Active();
    m_run.Frame().menuBar()->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(!PageWidget(host)->hasFocus());
    host.setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(PageWidget(host)->hasFocus());
    QVERIFY(!host.hasFocus());
  }

  void hoveredLinkShowsWhereAClickGoes() {
    QWebEnginePage* page = m_run.ActivePage();
    const QPoint at = CentreOf(page, QStringLiteral("td.sx-sym a"));
    const QString href =
        EvalJs(page, "document.querySelector('td.sx-sym a').getAttribute('href')").toString();
    QTest::mouseMove(PageWidget(m_run.Active()), at);
    QTRY_COMPARE_WITH_TIMEOUT(m_run.Frame().StatusText(), Origin() + href + "?src=vqs", 10000);
    QTest::mouseMove(PageWidget(m_run.Active()), QPoint(3, 3));
    QTRY_COMPARE_WITH_TIMEOUT(m_run.Frame().StatusText(), QStringLiteral("Ready"), 10000);
  }

  void rightClickOnARowRequestsTheRowMenu() {
    QWebEnginePage* page = m_run.ActivePage();
    m_requests.clear();
    const QPoint at = CentreOf(page, QStringLiteral("td.sx-sym a|1"));
    const QString symbol =
        EvalJs(page, "document.querySelectorAll('td.sx-sym a')[1].textContent.trim()").toString();
    const QString path =
        EvalJs(page, "document.querySelectorAll('td.sx-sym a')[1].getAttribute('href')").toString();
    ClickInPage(m_run.Active(), at, Qt::RightButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_requests.size(), std::size_t(1), 10000);
    const RowMenuRequest& request = m_requests.front();
    QCOMPARE(request.hostKind, ScreenerKind::Stocks);
    QVERIFY(!request.isEtf);
    QCOMPARE(QString::fromStdString(request.symbol), symbol);
    QCOMPARE(QString::fromStdString(request.path), path);
    QVERIFY(request.UseItems);
    QVERIFY(!request.tabs.empty());
    for (const RowMenuTab& tab : request.tabs) QVERIFY(!tab.label.empty());
  }

  void failedSymbolPageGivesTheOverviewOnly() {
    QWebEnginePage* page = m_run.ActivePage();
    m_requests.clear();
    QVERIFY(!Site().Control("/set?pages=503").empty());
    const QPoint at = CentreOf(page, QStringLiteral("td.sx-sym a|2"));
    ClickInPage(m_run.Active(), at, Qt::RightButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_requests.size(), std::size_t(1), 10000);
    Site().Control("/reset");
    QVERIFY(!m_requests.front().UseItems);
    QVERIFY(m_requests.front().tabs.empty());
    QVERIFY(!m_requests.front().path.empty());
  }

  void slowSymbolPageGivesTheOverviewOnlyAndServesTheNextClick() {
    QWebEnginePage* page = m_run.ActivePage();
    m_requests.clear();
    // The page's own fetch is slowed down past the row menu's wait.
    EvalJs(page,
           "window.__slowDone = false; window.__realFetch = window.fetch;"
           "window.fetch = function (u, o) { return new Promise(function (r) {"
           "  setTimeout(r, 2500); }).then(function () { return window.__realFetch(u, o); })"
           "  .then(function (a) { window.__slowDone = true; return a; }); }; true");
    const QPoint at = CentreOf(page, QStringLiteral("td.sx-sym a|3"));
    ClickInPage(m_run.Active(), at, Qt::RightButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_requests.size(), std::size_t(1), 10000);
    QVERIFY(!m_requests.front().UseItems);
    QVERIFY(m_requests.front().tabs.empty());
    ClosePopups();

    // The lookup still completes, and the next right-click on the row uses its list.
    QTRY_VERIFY_WITH_TIMEOUT(EvalJs(page, "window.__slowDone").toBool(), 15000);
    EvalJs(page, "window.fetch = window.__realFetch; true");
    ClickInPage(m_run.Active(), at, Qt::RightButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_requests.size(), std::size_t(2), 10000);
    QVERIFY(m_requests.back().UseItems);
    QVERIFY(!m_requests.back().tabs.empty());
    QCOMPARE(m_requests.back().path, m_requests.front().path);
    // Served from the page's cache: the symbol page was fetched once.
    QCOMPARE(Site().RequestCount(m_requests.back().path), 1);
  }

  void browserMenuKeepsOnlyEditingAndCopying() {
    QWebEnginePage* page = m_run.ActivePage();
    QWebEngineView* view = m_run.Active().View();
    const QPoint at = CentreOf(page, QStringLiteral(".screener-head h1"));
    EvalJs(page,
           "var r = document.createRange();"
           "r.selectNodeContents(document.querySelector('.screener-head h1'));"
           "getSelection().removeAllRanges(); getSelection().addRange(r); true");
    ClickInPage(m_run.Active(), at, Qt::RightButton);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget() != nullptr, 10000);
    QWidget* popup = QApplication::activePopupWidget();
    QStringList texts;
    for (QAction* action : popup->actions()) {
      if (!action->isSeparator()) texts << action->text();
    }
    QVERIFY2(texts.contains(page->action(QWebEnginePage::Copy)->text()),
             qPrintable(texts.join('|')));
    QVERIFY(!texts.contains(page->action(QWebEnginePage::Back)->text()));
    QVERIFY(!texts.contains(page->action(QWebEnginePage::Reload)->text()));
    QVERIFY(!texts.contains(page->action(QWebEnginePage::ViewSource)->text()));
    QVERIFY(!texts.contains(page->action(QWebEnginePage::SavePage)->text()));
    popup->close();
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);

    // Without a selection nothing is left, and no menu appears at all.
    EvalJs(page, "getSelection().removeAllRanges(); true");
    ClickInPage(m_run.Active(), at + QPoint(0, 2), Qt::RightButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        view->lastContextMenuRequest() && view->lastContextMenuRequest()->selectedText().isEmpty(),
        10000);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    std::unique_ptr<QMenu> standard(view->createStandardContextMenu());
    QVERIFY(!standard->actions().isEmpty());
    QVERIFY(FilteredContextMenu(*view) == nullptr);
  }

  void screenCommandsResetOpenOutsideAndSwitch() {
    CWebHost& host = m_run.Active();
    QWebEnginePage* page = m_run.ActivePage();
    EvalJs(page, "history.replaceState(null, '', '#f=cap:large&s=-pe'); true");
    QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl().ends_with("#f=cap:large&s=-pe"), 10000);

    RecordingOpener opener;
    m_run.Frame().RunCommand(kCmdOpenInBrowser);
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened.front().toString(QUrl::FullyEncoded),
             Origin() + "/screener.html?src=vqs#f=cap:large&s=-pe");
    QCOMPARE(EvalJs(page, "location.hash").toString(), QStringLiteral("#f=cap:large&s=-pe"));

    // Reset Filters loads the page afresh without its fragment.
    EvalJs(page, "window.__beforeReset = 1; true");
    m_run.Frame().RunCommand(kCmdResetFilters);
    QTRY_VERIFY_WITH_TIMEOUT(EvalJs(page,
                                    "window.__beforeReset === undefined && "
                                    "document.querySelectorAll('td.sx-sym a').length > 0")
                                 .toBool(),
                             20000);
    QCOMPARE(EvalJs(page, "location.pathname").toString(), QStringLiteral("/screener.html"));
    QVERIFY(!EvalJs(page, "location.hash").toString().contains(QStringLiteral("cap:large")));

    // Next Screener twice comes back to the first tab.
    m_run.Frame().RunCommand(kCmdNextScreener);
    QCOMPARE(m_run.Frame().ActiveTab(), ScreenerKind::Etfs);
    m_run.Frame().RunCommand(kCmdNextScreener);
    QCOMPARE(m_run.Frame().ActiveTab(), ScreenerKind::Stocks);
  }

 private:
  ProgramRun m_run;
  std::vector<RowMenuRequest> m_requests;
};

VELQUIST_E2E_TEST_MAIN(E2ePageTest)
#include "e2e_page_test.moc"
