// A display whose logical DPI is 144 with no device pixel ratio (a desktop set to 150 %
// through its font DPI): every chrome size must come out at 1.5 times its 96-DPI size.
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "support/chrome_column.h"
#include "support/gui_test_main.h"
#include "ui/chrome_commands.h"

using namespace velquist;

class ChromeLogicalDpiTest : public QObject {
  Q_OBJECT
 private slots:
  void everySizeAtOneAndAHalf() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto [toolBar, tabs, status] = test::AddChromeColumn(window, *layout);
    // As the frame does at creation: the chrome takes the window's DPI.
    const int dpi = WidgetDpi(&window);
    toolBar->SetImages(dpi);
    tabs->SetTheme(false, dpi);
    status->SetTheme(false, dpi);
    window.resize(1200, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.devicePixelRatioF(), 1.0);
    QCOMPARE(dpi, 144);
    QCOMPARE(toolBar->IconSize(), 48);
    QTRY_COMPARE(tabs->height(), 54);
    QCOMPARE(status->height(), 36);
    QCOMPARE(toolBar->NormalIcon(kCmdSaveScreen).size(), QSize(48, 48));
    QCOMPARE(toolBar->DisabledIcon(kCmdHelpMenu).size(), QSize(48, 48));
    // Tabs start at 12 * 1.5 and are 28 * 1.5 wider than their semi-bold label.
    const QFontMetrics semiBold(MakeUiFont(144, 600));
    QCOMPARE(tabs->TabRects()[0].left(), 18);
    QCOMPARE(tabs->TabRects()[0].width(),
             semiBold.horizontalAdvance(QStringLiteral("Stocks")) + 42);
    QCOMPARE(tabs->TabRects()[1].left(), tabs->TabRects()[0].right() + 1 + 3);
  }
};

int main(int argc, char** argv) {
  // Qt turns a font DPI into a pixel ratio unless its own scaling is off.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "144");
  return velquist::test::RunGuiTest<ChromeLogicalDpiTest>(argc, argv, QStringList());
}
#include "chrome_logical_dpi_test.moc"
