// The Save Screen dialog: the name box and its limit, the hint, Save refusing an empty
// name, the layout from the template's dialog units, and both colour modes.
#include "gui/ui/save_screen_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/dialog_units.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"
#include "support/recording_prompter.h"
#include "ui/dialog_palette.h"

using namespace velquist;
using namespace velquist::test;

class SaveScreenDlgTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithTheNameSelectedAndTheHint() {
    CSaveScreenDlg dialog(nullptr, QStringLiteral("Value stocks"), QStringLiteral("ETF"), false);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Screen"));
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Value stocks"));
    QCOMPARE(dialog.NameEdit()->selectedText(), QStringLiteral("Value stocks"));
    QTRY_VERIFY(dialog.NameEdit()->hasFocus());
    QCOMPARE(dialog.Hint()->text(),
             QStringLiteral("Saves the filters, columns, sort order and page of the ETF "
                            "screener. Saved screens are listed under Open (Ctrl+O)."));
    QVERIFY(dialog.SaveButton()->isDefault());
    QCOMPARE(dialog.SaveButton()->text(), QStringLiteral("Save"));
    QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    // Typing replaces the selected proposal.
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral("Mine"));
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Mine"));
  }

  void theEightyFirstCharacterCannotBeEntered() {
    CSaveScreenDlg dialog(nullptr, QString(), QStringLiteral("stock"), false);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(dialog.NameEdit(), QString(79, QLatin1Char('a')) + QStringLiteral("bc"));
    QCOMPARE(dialog.NameEdit()->text(), QString(79, QLatin1Char('a')) + QStringLiteral("b"));
    QApplication::clipboard()->setText(QString(90, QChar(0x00E9)));
    dialog.NameEdit()->selectAll();
    dialog.NameEdit()->paste();
    QCOMPARE(dialog.NameEdit()->text(), QString(80, QChar(0x00E9)));
  }

  void saveRefusesANameOfSpacesOnly() {
    RecordingPrompter prompter;
    CSaveScreenDlg dialog(nullptr, QStringLiteral("x"), QStringLiteral("stock"), false);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.NameEdit()->setText(QStringLiteral("  \t "));
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    QCOMPARE(prompter.texts, QStringList{QStringLiteral("Please enter a name for the screen.")});
    QCOMPARE(prompter.icons.front(), PromptIcon::Information);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QTRY_VERIFY(dialog.NameEdit()->hasFocus());

    // Enter saves; the text comes back as typed, the command normalises it.
    dialog.NameEdit()->setText(QStringLiteral("  Big   caps "));
    QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Name(), QStringLiteral("  Big   caps "));
    QCOMPARE(prompter.texts.size(), 1);
  }

  void cancelAndEscapeReject() {
    CSaveScreenDlg dialog(nullptr, QStringLiteral("x"), QStringLiteral("stock"), false);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.NameEdit(), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }

  // Every control sits where the template puts it, in the dialog font's units.
  void laidOutInDialogUnits() {
    CSaveScreenDlg dialog(nullptr, QStringLiteral("x"), QStringLiteral("stock"), false);
    const DialogUnits du(dialog);
    QVERIFY(du.BaseWidth() > 0 && du.BaseHeight() > 0);
    QCOMPARE(dialog.size(), du.Size(262, 98));
    QCOMPARE(dialog.NameEdit()->geometry(), du.Rect(10, 21, 242, 14));
    QCOMPARE(dialog.Hint()->geometry(), du.Rect(10, 42, 242, 26));
    QCOMPARE(dialog.SaveButton()->geometry(), du.Rect(144, 76, 52, 15));
    QCOMPARE(dialog.CancelButton()->geometry(), du.Rect(200, 76, 52, 15));
    // The hint's two lines fit its box.
    QVERIFY(dialog.Hint()->heightForWidth(dialog.Hint()->width()) <= dialog.Hint()->height());
  }

  void drawnInTheColourMode_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }
  void drawnInTheColourMode() {
    QFETCH(bool, dark);
    // Over a window that carries the main window's style sheet, as the program shows it.
    QWidget frame;
    frame.setStyleSheet(MenuStyleSheet(dark));
    CSaveScreenDlg dialog(&frame, QStringLiteral("Big caps"), QStringLiteral("stock"), dark);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const DialogPalette& p = DialogPaletteFor(dark);
    QVERIFY(Near(PixelAt(dialog, QPoint(2, 2)), ToQColor(p.Window)));
    const QRect edit = dialog.NameEdit()->geometry();
    QVERIFY(Near(PixelAt(dialog, edit.center() + QPoint(edit.width() / 3, 0)), ToQColor(p.Base)));
    const QRect hint = dialog.Hint()->geometry();
    // The hint's text is drawn in the mode's text colour somewhere in its box.
    const QImage image = dialog.grab().toImage();
    bool textSeen = false;
    for (int y = hint.top(); y <= hint.bottom() && !textSeen; ++y) {
      for (int x = hint.left(); x <= hint.right() && !textSeen; ++x) {
        textSeen =
            Near(image.pixelColor(QPoint(x, y) * dialog.devicePixelRatioF()), ToQColor(p.Text));
      }
    }
    QVERIFY(textSeen);
    const QByteArray shots = qgetenv("VELQUIST_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
      const QString name = dark ? "save-screen-dark.png" : "save-screen-light.png";
      QVERIFY(dialog.grab().save(QString::fromLocal8Bit(shots) + "/" + name));
    }
  }
};

VELQUIST_GUI_TEST_MAIN(SaveScreenDlgTest)
#include "save_screen_dlg_test.moc"
