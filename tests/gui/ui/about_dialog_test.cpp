// The About dialog: its texts, the logo fitted into its box without distortion (and fitted
// again for another font, on a move to a screen of another DPI and when its screen's DPI
// changes), the site link that opens the tagged root page while the dialog stays open, and
// its colours. It runs on an X server of its own with two screens of different DPI.
#include "gui/ui/about_dialog.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cstdio>

#include "app/files.h"
#include "gui/ui/dialog_units.h"
#include "site/url.h"
#include "site_constants.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"
#include "support/recording_opener.h"
#include "support/x_display.h"

using namespace velquist;
using namespace velquist::test;

namespace {

// What is wrong with the logo's fit, or empty: the logo (360 x 120) keeps its 3 : 1 shape,
// fills its box in one direction, sits in its middle and is drawn at the screen's pixel
// ratio.
QString LogoMisfit(CAboutDlg& dialog) {
  const QRect box = dialog.LogoBox();
  const QRect logo = dialog.LogoLabel().geometry();
  const QSize pixels = dialog.LogoLabel().pixmap().size();
  const QString seen = QStringLiteral("box %1x%2+%3+%4, logo %5x%6+%7+%8, pixmap %9x%10 at %11")
                           .arg(box.width())
                           .arg(box.height())
                           .arg(box.x())
                           .arg(box.y())
                           .arg(logo.width())
                           .arg(logo.height())
                           .arg(logo.x())
                           .arg(logo.y())
                           .arg(pixels.width())
                           .arg(pixels.height())
                           .arg(dialog.devicePixelRatioF());
  if (!box.contains(logo)) return QStringLiteral("outside its box: ") + seen;
  if (logo.width() != box.width() && logo.height() != box.height()) {
    return QStringLiteral("does not fill its box: ") + seen;
  }
  if (qAbs(logo.width() - 3 * logo.height()) > 3) return QStringLiteral("distorted: ") + seen;
  if (qAbs((logo.left() - box.left()) - (box.right() - logo.right())) > 1 ||
      qAbs((logo.top() - box.top()) - (box.bottom() - logo.bottom())) > 1) {
    return QStringLiteral("not centred: ") + seen;
  }
  if (pixels != logo.size() * dialog.devicePixelRatioF()) {
    return QStringLiteral("not drawn at the pixel ratio: ") + seen;
  }
  return {};
}

#define CHECK_LOGO_FITS(dialog) \
  QVERIFY2(LogoMisfit(dialog).isEmpty(), qPrintable(LogoMisfit(dialog)))
// The re-fit after a screen change comes from the event loop.
#define WAIT_LOGO_FITS(dialog) \
  QTRY_VERIFY2_WITH_TIMEOUT(LogoMisfit(dialog).isEmpty(), qPrintable(LogoMisfit(dialog)), 10000)

// The server the test runs on: screen 0 at 96 DPI, screen 1 at 144.
XDisplay* g_display = nullptr;

// The logo box's width in device pixels, which grows with the DPI whether Qt turns the DPI
// into a pixel ratio or into larger fonts.
double DeviceBoxWidth(CAboutDlg& dialog) {
  return dialog.LogoBox().width() * dialog.devicePixelRatioF();
}

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void texts() {
    CAboutDlg dialog(false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Velquist"));
    QCOMPARE(dialog.VersionLabel().text(),
             QStringLiteral("Velquist, Version ") + QString::fromStdString(VersionString()));
    QCOMPARE(dialog.LinkLabel().text(), QString::fromUtf8(SiteHost.data(), SiteHost.size()));
    QVERIFY(dialog.LinkLabel().font().underline());
    QCOMPARE(dialog.LinkLabel().cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(dialog.LogoLabel().cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(dialog.OkButton().isDefault());
    QCOMPARE(dialog.size(), DialogUnits(dialog).Size(254, 136));
  }

  void logoFitsItsBox() {
    CAboutDlg dialog(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CHECK_LOGO_FITS(dialog);
    // A larger font (as on a screen of higher DPI) gives a larger box; the logo follows.
    const QRect before = dialog.LogoLabel().geometry();
    QFont big = dialog.font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    dialog.setFont(big);
    QVERIFY(dialog.LogoLabel().width() > before.width());
    CHECK_LOGO_FITS(dialog);
  }

  void linkAndLogoOpenTheSiteAndTheDialogStays_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("link") << "siteLink";
    QTest::newRow("logo") << "logo";
  }
  void linkAndLogoOpenTheSiteAndTheDialogStays() {
    QFETCH(QString, control);
    RecordingOpener opener;
    CAboutDlg dialog(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLabel* target = dialog.findChild<QLabel*>(control);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened.front().toString().toStdString(),
             AddReferralTag(std::string(SiteOrigin) + "/"));
    QVERIFY(dialog.isVisible());
    // The other texts are no links.
    QTest::mouseClick(&dialog.VersionLabel(), Qt::LeftButton);
    QCOMPARE(opener.opened.size(), 1);
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void refitOnAScreenOfAnotherDpi() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    CAboutDlg dialog(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.screen(), screens[0]);
    CHECK_LOGO_FITS(dialog);
    const double before = DeviceBoxWidth(dialog);
    const QSize sizeBefore = dialog.size() * dialog.devicePixelRatioF();
    // Over to the 144-DPI screen and back.
    for (QScreen* screen : {screens[1], screens[0]}) {
      dialog.windowHandle()->setScreen(screen);
      QTRY_COMPARE(dialog.screen(), screen);
      const double ratio = screen == screens[1] ? 1.5 : 1.0;
      QTRY_VERIFY2(qAbs(DeviceBoxWidth(dialog) / before - ratio) < 0.12,
                   qPrintable(QString::number(DeviceBoxWidth(dialog) / before)));
      WAIT_LOGO_FITS(dialog);
      // The dialog itself is laid out for the screen too.
      const QSize size = dialog.size() * dialog.devicePixelRatioF();
      QVERIFY2(
          qAbs(double(size.width()) / sizeBefore.width() - ratio) < 0.12,
          qPrintable(QStringLiteral("%1 against %2").arg(size.width()).arg(sizeBefore.width())));
    }
  }

  void refitWhenItsScreenChangesDpi() {
    QScreen* screen = QGuiApplication::screens().value(0);
    CAboutDlg dialog(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.screen(), screen);
    CHECK_LOGO_FITS(dialog);
    const double before = DeviceBoxWidth(dialog);
    // The desktop's display settings turn the screen to 192 DPI while the dialog is open.
    QSignalSpy changed(screen, &QScreen::logicalDotsPerInchChanged);
    QVERIFY(g_display->SetDpi(0, 192));
    QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= 1, 20000);
    QTRY_VERIFY2(qAbs(DeviceBoxWidth(dialog) / before - 2.0) < 0.15,
                 qPrintable(QString::number(DeviceBoxWidth(dialog) / before)));
    WAIT_LOGO_FITS(dialog);
    QVERIFY(g_display->SetDpi(0, 96));
    QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= 2, 20000);
    QTRY_VERIFY(qAbs(DeviceBoxWidth(dialog) / before - 1.0) < 0.05);
    WAIT_LOGO_FITS(dialog);
  }

  // The same two changes with Qt's scaling off, where a DPI gives larger fonts instead of
  // a pixel ratio (a desktop that sets only its font DPI): run in a program of its own.
  void refitWithoutPixelRatioScaling() {
    if (qEnvironmentVariable("QT_ENABLE_HIGHDPI_SCALING") == QLatin1String("0")) {
      QSKIP("this run is the one without scaling");
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("refitOnAScreenOfAnotherDpi"),
                   QStringLiteral("refitWhenItsScreenChangesDpi")});
    QVERIFY(program.waitForFinished(90000));
    const QString output = QString::fromLocal8Bit(program.readAll());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
             qPrintable(output));
    // Both ran and passed.
    QCOMPARE(output.count(QStringLiteral("PASS   : AboutDialogTest::refit")), 2);
  }

  void followsTheColourMode() {
    for (bool dark : {false, true}) {
      CAboutDlg dialog(dark);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      const QColor back = PixelAt(dialog, QPoint(dialog.width() - 3, dialog.height() - 3));
      QVERIFY2(Near(back, dark ? QColor(32, 32, 32) : QColor(243, 243, 243)),
               qPrintable(back.name()));
      // The link in the chrome's link colour of the mode.
      QCOMPARE(dialog.LinkLabel().palette().color(QPalette::WindowText),
               dark ? QColor(77, 141, 255) : QColor(29, 78, 216));
    }
  }

  // Not a check: writes the pictures shown in README.md when VELQUIST_SCREENSHOT_DIR names a
  // folder.
  void screenshots() {
    const QString folder = qEnvironmentVariable("VELQUIST_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("VELQUIST_SCREENSHOT_DIR is not set");
    for (bool dark : {false, true}) {
      CAboutDlg dialog(dark);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      const QString name =
          dark ? QStringLiteral("about-dark.png") : QStringLiteral("about-light.png");
      QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + name));
    }
  }
};

int main(int argc, char** argv) {
  XDisplay display;
  if (!display.Start({96, 144})) {
    std::fprintf(stderr, "no X server with two screens: %s\n", display.Error().c_str());
    return 1;
  }
  g_display = &display;
  return RunGuiTest<AboutDialogTest>(argc, argv, QStringList());
}
#include "about_dialog_test.moc"
