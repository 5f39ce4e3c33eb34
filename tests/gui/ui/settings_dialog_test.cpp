// The Settings dialog on its own: what it shows for the values it is given, what OK reads
// out of it, that Cancel keeps the values, its layout from dialog units and its colours.
#include "gui/ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "gui/ui/dialog_units.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"

using namespace velquist;

class SettingsDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheValuesItIsGiven_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("zoomText");
    QTest::addColumn<QString>("modeText");
    QTest::newRow("1.05 ties to the earlier entry") << 1.05 << 0 << "100%"
                                                    << "Same as Windows";
    QTest::newRow("1.06 is nearer to 110 %") << 1.06 << 1 << "110%"
                                             << "Light";
    QTest::newRow("an entry") << 0.67 << 2 << "67%"
                              << "Dark";
    QTest::newRow("above the list") << 3.5 << 2 << "200%"
                                    << "Dark";
    QTest::newRow("below the list") << 0.25 << 0 << "50%"
                                    << "Same as Windows";
  }
  void showsTheValuesItIsGiven() {
    QFETCH(double, zoom);
    QFETCH(int, mode);
    QFETCH(QString, zoomText);
    QFETCH(QString, modeText);
    for (bool ticked : {false, true}) {
      CSettingsDlg dialog({ticked, !ticked, zoom, mode}, false);
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
      QCOMPARE(dialog.ShowSplashBox().isChecked(), ticked);
      QCOMPARE(dialog.RestoreLastBox().isChecked(), !ticked);
      QCOMPARE(dialog.ZoomList().currentText(), zoomText);
      QCOMPARE(dialog.ColorModeList().currentText(), modeText);
    }
  }

  void listsTheElevenZoomsAndThreeModes() {
    CSettingsDlg dialog({}, false);
    QStringList zooms, modes;
    for (int i = 0; i < dialog.ZoomList().count(); ++i) zooms << dialog.ZoomList().itemText(i);
    for (int i = 0; i < dialog.ColorModeList().count(); ++i) {
      modes << dialog.ColorModeList().itemText(i);
    }
    QCOMPARE(zooms, (QStringList{"50%", "67%", "75%", "80%", "90%", "100%", "110%", "125%", "150%",
                                 "175%", "200%"}));
    QCOMPARE(modes, (QStringList{"Same as Windows", "Light", "Dark"}));
    QCOMPARE(dialog.ShowSplashBox().text(), QStringLiteral("Show the &splash screen at start-up"));
    QCOMPARE(dialog.RestoreLastBox().text(),
             QStringLiteral("&Reopen the last screens at start-up"));
    QVERIFY(dialog.OkButton().isDefault());
  }

  void okReadsEveryControl() {
    CSettingsDlg dialog({true, true, 1.0, 0}, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(&dialog.ShowSplashBox(), Qt::LeftButton);
    QTest::mouseClick(&dialog.RestoreLastBox(), Qt::LeftButton);
    dialog.ZoomList().setCurrentIndex(dialog.ZoomList().findText(QStringLiteral("175%")));
    dialog.ColorModeList().setCurrentIndex(2);
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Values(), (SettingsValues{false, false, 1.75, 2}));
  }

  void okWithAZoomNotInTheListKeepsItWhenUntouched() {
    // The list shows the nearest entry; OK takes the entry, as the list says.
    CSettingsDlg dialog({true, true, 1.05, 1}, false);
    dialog.accept();
    QCOMPARE(dialog.Values(), (SettingsValues{true, true, 1.0, 1}));
    // With no entry selected the zoom and the mode stay as they were.
    CSettingsDlg none({true, true, 1.05, 1}, false);
    none.ZoomList().setCurrentIndex(-1);
    none.ColorModeList().setCurrentIndex(-1);
    none.accept();
    QCOMPARE(none.Values(), (SettingsValues{true, true, 1.05, 1}));
  }

  void cancelKeepsTheValues() {
    const SettingsValues given{true, false, 1.25, 1};
    CSettingsDlg dialog(given, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(&dialog.ShowSplashBox(), Qt::LeftButton);
    QTest::mouseClick(&dialog.RestoreLastBox(), Qt::LeftButton);
    dialog.ZoomList().setCurrentIndex(0);
    dialog.ColorModeList().setCurrentIndex(2);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.Values(), given);
  }

  // 232 x 120 dialog units of the dialog's own font; the controls keep their places.
  void laidOutInDialogUnits() {
    CSettingsDlg dialog({}, false);
    const DialogUnits du(dialog);
    QCOMPARE(dialog.size(), du.Size(232, 120));
    QCOMPARE(dialog.ShowSplashBox().pos(), du.Rect(10, 12, 212, 10).topLeft());
    QCOMPARE(dialog.OkButton().geometry().topLeft(), du.Rect(114, 98, 52, 15).topLeft());
    QCOMPARE(dialog.CancelButton().width(), du.X(52));
    QCOMPARE(dialog.ZoomList().x(), du.X(62));
    QCOMPARE(dialog.ColorModeList().width(), du.Rect(62, 64, 110, 60).width());
    // Every control lies inside the dialog and none overlaps another.
    const QList<QWidget*> controls = {&dialog.ShowSplashBox(), &dialog.RestoreLastBox(),
                                      &dialog.ZoomList(),      &dialog.ColorModeList(),
                                      &dialog.OkButton(),      &dialog.CancelButton()};
    for (QWidget* a : controls) {
      QVERIFY2(dialog.rect().contains(a->geometry()), qPrintable(a->objectName()));
      for (QWidget* b : controls) {
        if (a != b) QVERIFY(!a->geometry().intersects(b->geometry()));
      }
    }
    // Twice the font, twice the dialog.
    QFont big = dialog.font();
    big.setPointSizeF(big.pointSizeF() * 2);
    dialog.setFont(big);
    QVERIFY(qAbs(dialog.width() - 2 * du.X(232)) <= du.X(232) / 5);
  }

  void followsTheColourMode() {
    for (bool dark : {false, true}) {
      CSettingsDlg dialog({}, dark);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      const QColor back = PixelAt(dialog, QPoint(dialog.width() - 3, dialog.height() - 3));
      QVERIFY2(Near(back, dark ? QColor(32, 32, 32) : QColor(243, 243, 243)),
               qPrintable(back.name()));
      QCOMPARE(dialog.ShowSplashBox().palette().color(QPalette::WindowText),
               dark ? QColor(229, 233, 240) : QColor(27, 27, 27));
    }
  }

  // Not a check: writes the pictures shown in README.md when VELQUIST_SCREENSHOT_DIR names a
  // folder.
  void screenshots() {
    const QString folder = qEnvironmentVariable("VELQUIST_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("VELQUIST_SCREENSHOT_DIR is not set");
    for (bool dark : {false, true}) {
      CSettingsDlg dialog({true, true, 1.1, dark ? 2 : 1}, dark);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      const QString name =
          dark ? QStringLiteral("settings-dark.png") : QStringLiteral("settings-light.png");
      QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + name));
    }
  }
};

VELQUIST_GUI_TEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
