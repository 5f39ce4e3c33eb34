// The saved-screens dialogs on a display whose logical DPI is 144 with no device pixel
// ratio: the dialog units follow the larger font, so each dialog comes out about 1.5 times
// its 96-DPI size, and the list's columns at exactly 1.5 times their widths.
#include <QTest>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/dialog_units.h"
#include "gui/ui/manage_screens_dlg.h"
#include "gui/ui/save_screen_dlg.h"
#include "gui/ui/screen_list_view.h"
#include "support/gui_test_main.h"

using namespace velquist;

namespace {

// The size a template gives at 96 DPI in the same font: the font set to the pixel size
// its point size has at 96 DPI.
QSize At96(const QWidget& dialog, int width, int height) {
  QFont font = dialog.font();
  font.setPixelSize(qRound(font.pointSizeF() * 96.0 / 72.0));
  return DialogUnits(font).Size(width, height);
}

bool AboutOneAndAHalf(QSize size, QSize at96) {
  const double x = double(size.width()) / at96.width();
  const double y = double(size.height()) / at96.height();
  return x > 1.4 && x < 1.6 && y > 1.4 && y < 1.6;
}

}  // namespace

class DialogDpiTest : public QObject {
  Q_OBJECT
 private slots:
  void dialogsGrowWithTheFont() {
    QWidget frame;
    QCOMPARE(WidgetDpi(&frame), 144);
    CSaveScreenDlg save(&frame, QStringLiteral("Big caps"), QStringLiteral("stock"), false);
    QVERIFY(save.font().pointSizeF() > 0);
    QCOMPARE(save.size(), DialogUnits(save).Size(262, 98));
    QVERIFY2(AboutOneAndAHalf(save.size(), At96(save, 262, 98)),
             qPrintable(QStringLiteral("%1x%2").arg(save.width()).arg(save.height())));

    ScreenStore store{{"Value", ScreenerKind::Stocks, "/screener.html", ""}};
    CManageScreensDlg manage(&frame, store, ScreenerKind::Stocks, {}, false);
    QCOMPARE(manage.size(), DialogUnits(manage).Size(392, 210));
    QVERIFY(AboutOneAndAHalf(manage.size(), At96(manage, 392, 210)));
    QCOMPARE(manage.List()->columnWidth(0), 285);
    QCOMPARE(manage.List()->columnWidth(1), 105);
    QCOMPARE(manage.List()->columnWidth(2), 450);
  }
};

int main(int argc, char** argv) {
  // Qt turns a font DPI into a pixel ratio unless its own scaling is off.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "144");
  return velquist::test::RunGuiTest<DialogDpiTest>(argc, argv, QStringList());
}
#include "dialog_dpi_test.moc"
