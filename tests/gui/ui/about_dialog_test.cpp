// The About dialog: its texts, the logo fitted into its box without distortion (and fitted
// again for another font or screen), the site link that opens the tagged root page while
// the dialog stays open, and its colours.
#include "gui/ui/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/files.h"
#include "gui/ui/dialog_units.h"
#include "site/url.h"
#include "site_constants.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"
#include "support/recording_opener.h"

using namespace velquist;
using namespace velquist::test;

namespace {

// The logo (360 x 120) keeps its 3 : 1 shape, fills its box in one direction, sits in its
// middle and is drawn at the screen's pixel ratio.
void CheckLogoFits(CAboutDlg& dialog) {
  const QRect box = dialog.LogoBox();
  const QRect logo = dialog.LogoLabel().geometry();
  QVERIFY(box.contains(logo));
  QVERIFY(logo.width() == box.width() || logo.height() == box.height());
  QVERIFY2(qAbs(logo.width() - 3 * logo.height()) <= 3,
           qPrintable(QStringLiteral("%1x%2").arg(logo.width()).arg(logo.height())));
  QVERIFY(qAbs((logo.left() - box.left()) - (box.right() - logo.right())) <= 1);
  QVERIFY(qAbs((logo.top() - box.top()) - (box.bottom() - logo.bottom())) <= 1);
  const QPixmap pixmap = dialog.LogoLabel().pixmap();
  QCOMPARE(pixmap.size(), logo.size() * dialog.devicePixelRatioF());
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
    CheckLogoFits(dialog);
    // A larger font (as on a screen of higher DPI) gives a larger box; the logo follows.
    const QRect before = dialog.LogoLabel().geometry();
    QFont big = dialog.font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    dialog.setFont(big);
    QVERIFY(dialog.LogoLabel().width() > before.width());
    CheckLogoFits(dialog);
    // The screen-change path: the layout runs again for the screen the dialog is on now.
    dialog.LayOut();
    CheckLogoFits(dialog);
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

VELQUIST_GUI_TEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
