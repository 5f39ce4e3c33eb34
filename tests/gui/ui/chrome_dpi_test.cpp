// The chrome on a display scaled by 1.5 (QT_SCALE_FACTOR, set before the application
// starts): every 96-DPI size shows at one and a half times its device pixels, and the
// icons are drawn from pixels of that size rather than stretched.
#include "gui/ui/chrome_dpi.h"

#include <QTest>
#include <QVBoxLayout>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "support/chrome_column.h"
#include "support/gui_test_main.h"
#include "ui/chrome_commands.h"

using namespace velquist;

class ChromeDpiTest : public QObject {
  Q_OBJECT
 private slots:
  void scaledDisplayShowsEverySizeAtItsMultiple() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int dpi = WidgetDpi(&window);
    const auto [toolBar, tabs, status] = test::AddChromeColumn(window, *layout);
    auto* watcher = new CChromeDpiWatcher(&window);
    window.resize(1000, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.devicePixelRatioF(), 1.5);
    QCOMPARE(watcher->Dpi(), dpi);
    toolBar->SetImages(dpi);
    tabs->SetTheme(false, dpi);
    status->SetTheme(false, dpi);
    QTRY_COMPARE(tabs->height(), 36 * dpi / 96);

    QCOMPARE(tabs->grab().toImage().height(), 54 * dpi / 96);
    QCOMPARE(status->grab().toImage().height(), 36 * dpi / 96);
    const QImage icon = toolBar->NormalIcon(kCmdSaveScreen);
    QCOMPARE(icon.width(), 48 * dpi / 96);
    QCOMPARE(icon.devicePixelRatio(), 1.5);
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "1.5");
  return velquist::test::RunGuiTest<ChromeDpiTest>(argc, argv, QStringList());
}
#include "chrome_dpi_test.moc"
