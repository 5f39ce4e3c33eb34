// The drawn chrome inside the real main window against the demo site: toolbar states
// that follow the active tab's page and history, the tab strip, the presets and row menus
// acting on the pages, the menu bar with its prompts, and the colour modes.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

#include "gui/app/screener_app.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/menu_bar.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/pixels.h"
#include "support/recording_opener.h"
#include "support/row_requests.h"
#include "ui/chrome_commands.h"
#include "ui/chrome_menus.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

// Waits for the next pop-up menu, hands it to inspect, then chooses the entry with
// command choose (0 dismisses it) with the keyboard.
void WhenMenuShows(std::function<void(QMenu&)> inspect, int choose) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, inspect, choose] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    inspect(*menu);
    for (QAction* action : menu->actions()) {
      if (choose != 0 && !action->isSeparator() && action->data().toInt() == choose) {
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
    }
    QTest::keyClick(menu, Qt::Key_Escape);
  });
  timer->start();
}

QList<int> CheckedIds(QMenu& menu) {
  QList<int> ids;
  for (QAction* action : menu.actions()) {
    if (action->isChecked()) ids << action->data().toInt();
  }
  return ids;
}

RowMenuRequest Request(int items) {
  return test::RowRequest("KO", "/stocks/ko.html", "Tab", "/dividends/ko", items);
}

}  // namespace

class E2eChromeFrameTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    m_run.Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_run.Frame()));
  }
  void cleanupTestCase() { m_run.Close(); }

  void toolbarFollowsTheActiveTabsPageAndHistory() {
    CMainFrame& frame = m_run.Frame();
    CChromeToolBar& bar = frame.ToolBar();
    CWebHost& stocks = m_run.Active();
    QTRY_VERIFY(bar.IsButtonEnabled(kCmdResetFilters));
    QVERIFY(bar.IsButtonEnabled(kCmdOpenInBrowser));
    QCOMPARE(bar.IsButtonEnabled(kCmdBack), stocks.CanGoBack());
    QVERIFY(!bar.IsButtonEnabled(kCmdForward));
    QCOMPARE(bar.ButtonImage(kCmdForward), bar.DisabledIcon(kCmdForward));

    // The buttons change with the report of the new page, not some time later.
    EvalJs(m_run.ActivePage(), "history.pushState(null, '', '/screener/value-stocks.html'); true");
    QTRY_VERIFY_WITH_TIMEOUT(stocks.CanGoBack(), 10000);
    QVERIFY(bar.IsButtonEnabled(kCmdBack));
    QCOMPARE(bar.ButtonImage(kCmdBack), bar.NormalIcon(kCmdBack));

    // The ETF tab has no page yet when it is first shown: its states apply at once.
    frame.SelectTab(1);
    QVERIFY(frame.Host(ScreenerKind::Etfs).CurrentUrl().empty());
    QVERIFY(!bar.IsButtonEnabled(kCmdResetFilters));
    QVERIFY(!bar.IsButtonEnabled(kCmdOpenInBrowser));
    QVERIFY(!bar.IsButtonEnabled(kCmdBack));
    QTRY_VERIFY_WITH_TIMEOUT(!frame.Host(ScreenerKind::Etfs).CurrentUrl().empty(), 15000);
    QVERIFY(bar.IsButtonEnabled(kCmdResetFilters));
    QVERIFY(bar.IsButtonEnabled(kCmdOpenInBrowser));
    QCOMPARE(bar.IsButtonEnabled(kCmdBack), frame.Host(ScreenerKind::Etfs).CanGoBack());
    QVERIFY(m_run.WaitForResults());

    frame.SelectTab(0);
    QVERIFY(bar.IsButtonEnabled(kCmdBack));
    frame.RunCommand(kCmdBack);
    QVERIFY(stocks.CanGoForward());
    QVERIFY(bar.IsButtonEnabled(kCmdForward));
    QCOMPARE(bar.ButtonImage(kCmdForward), bar.NormalIcon(kCmdForward));
    QTRY_VERIFY_WITH_TIMEOUT(
        stocks.CurrentUrl().find("/screener/value-stocks.html") == std::string::npos, 10000);
    QVERIFY(bar.IsButtonEnabled(kCmdForward));
  }

  void tabStripSwitchesByClickAndCtrlTab() {
    CMainFrame& frame = m_run.Frame();
    CTabStrip& tabs = frame.TabStrip();
    QCOMPARE(frame.ActiveTab(), ScreenerKind::Stocks);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRects()[1].center());
    QCOMPARE(frame.ActiveTab(), ScreenerKind::Etfs);
    QCOMPARE(tabs.Selected(), 1);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRects()[0].center());
    QCOMPARE(frame.ActiveTab(), ScreenerKind::Stocks);
    QCOMPARE(tabs.Selected(), 0);

    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    QTRY_COMPARE(frame.ActiveTab(), ScreenerKind::Etfs);
    QCOMPARE(tabs.Selected(), 1);
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    QTRY_COMPARE(frame.ActiveTab(), ScreenerKind::Stocks);
    QCOMPARE(tabs.Selected(), 0);
  }

  void presetsMenuOfEachTabChecksAndNavigates() {
    CMainFrame& frame = m_run.Frame();
    frame.ActiveHost().Navigate(std::string(SiteOrigin) + "/screener.html");
    QTRY_VERIFY_WITH_TIMEOUT(
        frame.ActiveHost().CurrentUrl().find("/screener.html") != std::string::npos, 15000);
    QList<int> checked;
    QString first;
    bool dropsFromButton = false;
    WhenMenuShows(
        [&](QMenu& menu) {
          checked = CheckedIds(menu);
          first = menu.actions().first()->text();
          const QPoint under =
              frame.ToolBar().mapToGlobal(frame.ToolBar().ButtonRect(kCmdPresets).bottomLeft());
          dropsFromButton = menu.pos().x() == under.x() && menu.pos().y() >= under.y();
        },
        40006);
    frame.RunCommand(kCmdPresets);
    QCOMPARE(first, QStringLiteral("All stocks"));
    QCOMPARE(checked, QList<int>{kPresetAllId});
    QVERIFY(dropsFromButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        frame.ActiveHost().CurrentUrl().find("/screener/penny-stocks.html") != std::string::npos,
        15000);
    WhenMenuShows([&](QMenu& menu) { checked = CheckedIds(menu); }, 0);
    frame.RunCommand(kCmdPresets);
    QCOMPARE(checked, QList<int>{40006});

    frame.SelectTab(1);
    QVERIFY(m_run.WaitForResults());
    WhenMenuShows(
        [&](QMenu& menu) {
          checked = CheckedIds(menu);
          first = menu.actions().first()->text();
        },
        40002);
    frame.RunCommand(kCmdPresets);
    QCOMPARE(first, QStringLiteral("All ETFs"));
    QVERIFY(!checked.contains(40006));
    QTRY_VERIFY_WITH_TIMEOUT(
        frame.ActiveHost().CurrentUrl().find("/screener/etf-low-cost.html") != std::string::npos,
        15000);
    // The Stocks tab kept its own page.
    QVERIFY(frame.Host(ScreenerKind::Stocks).CurrentUrl().find("penny-stocks") !=
            std::string::npos);
    frame.SelectTab(0);
  }

  void rowMenuWithFortyItemsOpensTheFortieth() {
    RecordingOpener opener;
    CMainFrame& frame = m_run.Frame();
    int count = 0;
    WhenMenuShows(
        [&](QMenu& menu) {
          for (QAction* a : menu.actions()) {
            const int id = a->data().toInt();
            if (id >= kRowItemFirstId && id < kRowItemFirstId + kRowMaxItems) ++count;
          }
        },
        40639);
    frame.OnRowContextMenu(frame.ActiveHost(), Request(40));
    QTRY_COMPARE(opener.opened.size(), 1);
    QCOMPARE(count, 40);
    QCOMPARE(opener.opened[0].toString(), Origin() + "/dividends/ko-40.html?src=vqs");
  }

  void rowMenuFromTheInactiveTabIsIgnored() {
    CMainFrame& frame = m_run.Frame();
    QCOMPARE(frame.ActiveTab(), ScreenerKind::Stocks);
    // The menu would open before the call returns; the active tab's request shows that.
    QSignalSpy requested(&frame, &CMainFrame::rowContextMenuRequested);
    frame.OnRowContextMenu(frame.Host(ScreenerKind::Etfs), Request(2));
    QCOMPARE(requested.count(), 0);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    WhenMenuShows([](QMenu&) {}, 0);
    frame.OnRowContextMenu(frame.Host(ScreenerKind::Stocks), Request(2));
    QCOMPARE(requested.count(), 1);
    QVERIFY(QApplication::activePopupWidget() != nullptr);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
  }

  void copyLinkFromARealRightClick() {
    CMainFrame& frame = m_run.Frame();
    QWebEnginePage* page = m_run.ActivePage();
    QVERIFY(m_run.WaitForResults());
    const QString path =
        EvalJs(page, "document.querySelectorAll('td.sx-sym a')[0].getAttribute('href')").toString();
    const QVariantList xy =
        EvalJs(page,
               // A cell of the row that is no link: no link hover report follows the menu.
               "(function () { var e = document.querySelectorAll('td.sx-sym a')[0]"
               ".closest('tr').children[1]; e.scrollIntoView({block: 'center'});"
               "var r = e.getBoundingClientRect();"
               "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
            .toList();
    QCOMPARE(xy.size(), 2);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QString title;
    WhenMenuShows([&](QMenu& menu) { title = menu.actions().first()->text(); }, kRowCopyLinkId);
    ClickInPage(frame.ActiveHost(), QPoint(xy[0].toInt(), xy[1].toInt()), Qt::RightButton);
    const QString link = Origin() + path + "?src=vqs";
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::clipboard()->text(), link, 10000);
    QVERIFY(title.contains(QStringLiteral(" \u2014 stock on ")));
    QCOMPARE(frame.StatusText(), QStringLiteral("Link copied: ") + link);
    QCOMPARE(frame.StatusStrip().Text(), QStringLiteral("Link copied: ") + link);
    // The next status refresh replaces it.
    frame.SelectTab(0);
    QVERIFY(!frame.StatusText().startsWith(QStringLiteral("Link copied")));
  }

  void menuBarAsListedWithPrompts() {
    CMainFrame& frame = m_run.Frame();
    QMenuBar* bar = frame.menuBar();
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&View", "&Screener", "&Tools", "&Help"}));
    QAction* exportScreens = FindMenuBarAction(*bar, kCmdExportScreens);
    QVERIFY(exportScreens);
    QCOMPARE(exportScreens->text(), QStringLiteral("&Export Screens\u2026"));
    QAction* zoomIn = FindMenuBarAction(*bar, kCmdZoomIn);
    QVERIFY(zoomIn);
    QCOMPARE(zoomIn->toolTip(), QStringLiteral("Zoom In (Ctrl+Plus)"));

    // Highlighting an item shows its prompt; leaving the menu brings the status back.
    auto* view = qobject_cast<QMenu*>(zoomIn->parent());
    QVERIFY(view);
    emit view->aboutToShow();
    QVERIFY(zoomIn->isEnabled());
    zoomIn->hover();
    QCOMPARE(frame.StatusText(), QStringLiteral("Make the page larger"));
    emit view->aboutToHide();
    QCOMPARE(frame.StatusText(), QStringLiteral("Ready"));

    // Enabled states and the tab mark come from the frame's rules when a menu opens.
    MenuBarHandlers handlers;
    handlers.enabled = [&frame](int id) { return frame.IsCommandEnabled(id); };
    handlers.checked = [&frame](int id) { return id - kCmdStocks == int(frame.ActiveTab()); };
    RefreshMenuBar(*bar, handlers);
    for (int id : {kCmdBack, kCmdForward, kCmdExportResults, kCmdSettings, kCmdResetFilters}) {
      QCOMPARE(FindMenuBarAction(*bar, id)->isEnabled(), frame.IsCommandEnabled(id));
    }
    QVERIFY(FindMenuBarAction(*bar, kCmdStocks)->isChecked());
    QVERIFY(!FindMenuBarAction(*bar, kCmdEtfs)->isChecked());
  }

  void helpCommandsOpenTheirLinksForTheActiveTab() {
    RecordingOpener opener;
    CMainFrame& frame = m_run.Frame();
    frame.SelectTab(1);
    frame.RunCommand(kCmdHelpGuide);
    frame.SelectTab(0);
    frame.RunCommand(kCmdHelpGuide);
    frame.RunCommand(kCmdPellmoor);
    QCOMPARE(opener.opened.size(), 3);
    QCOMPARE(opener.opened[0].toString(), Origin() + "/etf-screener.html?src=vqs");
    QCOMPARE(opener.opened[1].toString(), Origin() + "/screener.html?src=vqs");
    QCOMPARE(opener.opened[2].toString(), Origin() + "/pellmoor.html?src=vqs");
    // The help button's menu posts the chosen command, which runs after the menu closed.
    WhenMenuShows([](QMenu&) {}, kCmdVisitSite);
    frame.RunCommand(kCmdHelpMenu);
    QTRY_COMPARE(opener.opened.size(), 4);
    QCOMPARE(opener.opened[3].toString(), Origin() + "/?src=vqs");
  }

  void toolbarButtonPromptInTheStatusStrip() {
    CMainFrame& frame = m_run.Frame();
    CChromeToolBar& bar = frame.ToolBar();
    QTest::mouseMove(&bar, bar.ButtonRect(kCmdRefresh).center());
    QTRY_COMPARE(frame.StatusText(), QStringLiteral("Reload the screener and its latest data"));
    QTest::mouseMove(&bar, QPoint(bar.width() - 2, bar.height() / 2));
    QTRY_COMPARE(frame.StatusText(), QStringLiteral("Ready"));
  }

  void darkAndLightApplyAtOnceToEveryPart() {
    CMainFrame& frame = m_run.Frame();
    AppOptions& options = m_run.App().Options();
    for (ColorMode mode : {ColorMode::Dark, ColorMode::Light}) {
      const bool dark = mode == ColorMode::Dark;
      options.ColorMode = mode;
      frame.ColorModeChanged();
      QCOMPARE(frame.IsDark(), dark);
      const QColor back = dark ? QColor(32, 32, 32) : QColor(243, 243, 243);
      const QColor page = dark ? QColor(15, 20, 28) : QColor(246, 247, 249);
      QVERIFY(Near(PixelAt(frame.ToolBar(), QPoint(frame.ToolBar().width() - 3, 3)), back));
      QVERIFY(Near(PixelAt(frame.TabStrip(), QPoint(frame.TabStrip().width() - 3, 4)), back));
      QVERIFY(Near(PixelAt(frame.StatusStrip(), QPoint(frame.StatusStrip().width() / 2, 3)), back));
      QMenuBar* bar = frame.menuBar();
      QVERIFY(Near(PixelAt(*bar, QPoint(bar->width() - 3, bar->height() - 1)), back));
      for (int kind = 0; kind < 2; ++kind) {
        QWebEngineView* view = frame.Host(static_cast<ScreenerKind>(kind)).View();
        if (view) QCOMPARE(view->page()->backgroundColor(), page);
      }
      // The pages only follow at the next start: the process started with the automatic
      // scheme, so a forced mode says so.
      QVERIFY(frame.StatusText().contains(QStringLiteral("next start")));
    }
    options.ColorMode = ColorMode::System;
    frame.ColorModeChanged();
  }

  // Not a check: writes the screenshots shown in README.md when VELQUIST_SCREENSHOTS
  // names a folder. VELQUIST_SCREENSHOT_MODE picks light or dark; the pages get that
  // scheme from the start, as they do when the program starts in that mode.
  void screenshots() {
    const QString folder = qEnvironmentVariable("VELQUIST_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("VELQUIST_SCREENSHOTS is not set");
    const bool dark = qEnvironmentVariable("VELQUIST_SCREENSHOT_MODE") == QStringLiteral("dark");
    CMainFrame& frame = m_run.Frame();
    frame.showNormal();
    frame.resize(1180, 720);
    frame.SelectTab(0);
    QVERIFY(m_run.WaitForResults());
    m_run.App().Options().ColorMode = dark ? ColorMode::Dark : ColorMode::Light;
    frame.ColorModeChanged();
    frame.UpdateStatus();
    QTest::qWait(1500);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    const QString name = QStringLiteral("main-window-%1%2.png")
                             .arg(dark ? QStringLiteral("dark") : QStringLiteral("light"),
                                  scale == QStringLiteral("1") ? QString() : "-" + scale);
    QVERIFY(frame.screen()->grabWindow(frame.winId()).save(QDir(folder).filePath(name)));
  }

 private:
  ProgramRun m_run;
};

int main(int argc, char** argv) { return RunE2eTest<E2eChromeFrameTest>(argc, argv); }
#include "e2e_chrome_frame_test.moc"
