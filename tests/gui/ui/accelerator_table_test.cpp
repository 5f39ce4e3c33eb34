#include "gui/ui/accelerator_table.h"

#include <QTest>

#include "support/gui_test_main.h"
#include "ui/chrome_commands.h"

using namespace velquist;

class AcceleratorTableTest : public QObject {
  Q_OBJECT
 private slots:
  void findsEveryKeyOfTheTable_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("command");
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int pad = Qt::KeypadModifier;
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << ctrl << int(kCmdSaveScreen);
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl << int(kCmdOpenSavedScreen);
    QTest::newRow("F4") << int(Qt::Key_F4) << 0 << int(kCmdPresets);
    QTest::newRow("Alt+Left") << int(Qt::Key_Left) << alt << int(kCmdBack);
    QTest::newRow("Alt+Right") << int(Qt::Key_Right) << alt << int(kCmdForward);
    QTest::newRow("F5") << int(Qt::Key_F5) << 0 << int(kCmdRefresh);
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << ctrl << int(kCmdRefresh);
    QTest::newRow("Ctrl+E") << int(Qt::Key_E) << ctrl << int(kCmdExportResults);
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << ctrl << int(kCmdPrintResults);
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << int(kCmdOpenInBrowser);
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << int(kCmdHelpGuide);
    QTest::newRow("Ctrl+1") << int(Qt::Key_1) << ctrl << int(kCmdStocks);
    QTest::newRow("Ctrl+2") << int(Qt::Key_2) << ctrl << int(kCmdEtfs);
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl << int(kCmdNextScreener);
    QTest::newRow("Ctrl+=") << int(Qt::Key_Equal) << ctrl << int(kCmdZoomIn);
    QTest::newRow("Ctrl+pad Add") << int(Qt::Key_Plus) << (ctrl | pad) << int(kCmdZoomIn);
    QTest::newRow("Ctrl+-") << int(Qt::Key_Minus) << ctrl << int(kCmdZoomOut);
    QTest::newRow("Ctrl+pad Subtract") << int(Qt::Key_Minus) << (ctrl | pad) << int(kCmdZoomOut);
    QTest::newRow("Ctrl+0") << int(Qt::Key_0) << ctrl << int(kCmdActualSize);
    QTest::newRow("Ctrl+pad 0") << int(Qt::Key_0) << (ctrl | pad) << int(kCmdActualSize);
  }
  void findsEveryKeyOfTheTable() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, command);
    QCOMPARE(FindAccelerator(key, Qt::KeyboardModifiers(modifiers)), command);
  }

  void extraOrMissingModifiersLeaveTheKeyToThePage_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("S") << int(Qt::Key_S) << 0;
    QTest::newRow("Ctrl+Alt+S") << int(Qt::Key_S) << int(Qt::ControlModifier | Qt::AltModifier);
    QTest::newRow("Shift+F5") << int(Qt::Key_F5) << int(Qt::ShiftModifier);
    QTest::newRow("Left") << int(Qt::Key_Left) << 0;
    QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+3") << int(Qt::Key_3) << int(Qt::ControlModifier);
  }
  void extraOrMissingModifiersLeaveTheKeyToThePage() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QCOMPARE(FindAccelerator(key, Qt::KeyboardModifiers(modifiers)), 0);
  }

  void everyEntryIsFoundAsTheFirstOfItsKeys() {
    for (const Accelerator& entry : Accelerators()) {
      QVERIFY(FindAccelerator(entry.key, entry.modifiers) != 0);
    }
  }
};

VELQUIST_GUI_TEST_MAIN(AcceleratorTableTest)
#include "accelerator_table_test.moc"
