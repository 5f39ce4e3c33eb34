#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "app/files.h"
#include "app/options.h"
#include "app/reg_file_option_store.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "support/chrome_column.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"

using namespace velquist;

class ChromeColorModeApplyTest : public QObject {
  Q_OBJECT
 private slots:
  void forcedModesIgnoreTheDesktop() {
    QVERIFY(IsDarkMode(kColorModeDark));
    QVERIFY(!IsDarkMode(kColorModeLight));
  }

  void systemModeFollowsTheApplicationPalette() {
    // No settings portal runs under the test's X server, so the palette decides.
    const QPalette original = QGuiApplication::palette();
    CDesktopSchemeWatcher watcher;
    QSignalSpy changed(&watcher, &CDesktopSchemeWatcher::changed);
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    QTRY_VERIFY(changed.count() >= 1);
    QVERIFY(IsDarkMode(kColorModeSystem));
    QVERIFY(!IsDarkMode(kColorModeLight));
    QPalette light = original;
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    light.setColor(QPalette::WindowText, QColor(10, 10, 10));
    QApplication::setPalette(light);
    QVERIFY(!IsDarkMode(kColorModeSystem));
    QVERIFY(IsDarkMode(kColorModeDark));
    QApplication::setPalette(original);
  }

  void everyPartTurnsDarkAndLightAtOnce() {
    QWidget frame;
    auto* layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menuBar = new QMenuBar(&frame);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"));
    layout->setMenuBar(menuBar);
    const auto [toolBar, tabs, status] = test::AddChromeColumn(frame, *layout);
    frame.resize(900, 400);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    ChromeParts parts;
    parts.frame = &frame;
    parts.menuBar = menuBar;
    parts.toolBar = toolBar;
    parts.tabStrip = tabs;
    parts.statusStrip = status;

    for (bool dark : {true, false, true}) {
      ApplyColorMode(parts, dark);
      const QColor back = dark ? QColor(32, 32, 32) : QColor(243, 243, 243);
      QVERIFY(toolBar->IsDark() == dark);
      QVERIFY(tabs->IsDark() == dark);
      QVERIFY(status->IsDark() == dark);
      QVERIFY2(Near(PixelAt(*toolBar, QPoint(toolBar->width() - 3, 3)), back),
               qPrintable(PixelAt(*toolBar, QPoint(toolBar->width() - 3, 3)).name()));
      QVERIFY(Near(PixelAt(*tabs, QPoint(tabs->width() - 3, 5)), back));
      QVERIFY(Near(PixelAt(*status, QPoint(status->width() / 2, status->height() / 2)), back));
      // The menu bar is filled to its last row: no light line under it in dark mode.
      const QColor barTop = PixelAt(*menuBar, QPoint(menuBar->width() - 3, 2));
      const QColor barBottom =
          PixelAt(*menuBar, QPoint(menuBar->width() - 3, menuBar->height() - 1));
      QVERIFY2(Near(barTop, back), qPrintable(barTop.name()));
      QVERIFY2(Near(barBottom, back), qPrintable(barBottom.name()));
      // A pop-up menu made on the frame follows too.
      QMenu popup(&frame);
      popup.addAction(QStringLiteral("Dividend stocks"));
      popup.ensurePolished();
      popup.resize(popup.sizeHint());
      const QColor popupBack = PixelAt(popup, QPoint(popup.width() / 2, popup.height() - 3));
      QVERIFY2(Near(popupBack, back), qPrintable(popupBack.name()));
    }
  }

  void pagesFollowAtTheNextStart() {
    // Started in the System mode on a desktop that said nothing: the engine's light pages.
    QVERIFY(StartupBrowserArguments(kColorModeSystem).isEmpty());
    QCOMPARE(StartupWebContentScheme(), 0);
    QVERIFY(PagesFollowAtNextStartText(false).isEmpty());
    QVERIFY(!PagesFollowAtNextStartText(true).isEmpty());
    // Started in the System mode on a dark desktop: switching to Dark changes nothing for
    // the pages, switching to Light (or the desktop turning light) does.
    QCOMPARE(StartupBrowserArguments(kColorModeSystem, DesktopScheme::Dark),
             QStringList{QStringLiteral("--blink-settings=preferredColorScheme=0")});
    QCOMPARE(StartupWebContentScheme(), 2);
    QVERIFY(PagesFollowAtNextStartText(true).isEmpty());
    QVERIFY(!PagesFollowAtNextStartText(false).isEmpty());
    // Started in the Light mode on a dark desktop.
    QCOMPARE(StartupBrowserArguments(kColorModeLight, DesktopScheme::Dark),
             QStringList{QStringLiteral("--blink-settings=preferredColorScheme=1")});
    QVERIFY(PagesFollowAtNextStartText(false).isEmpty());
    QVERIFY(!PagesFollowAtNextStartText(true).isEmpty());
  }
};

VELQUIST_GUI_TEST_MAIN(ChromeColorModeApplyTest)
#include "chrome_color_mode_apply_test.moc"
