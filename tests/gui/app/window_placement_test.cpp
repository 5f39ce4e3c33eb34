#include "gui/app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "support/gui_test_main.h"

using namespace velquist;

namespace {

SavedPlacement Placement(int left, int top, int right, int bottom, bool maximized = false) {
  SavedPlacement p;
  p.Valid = true;
  p.Left = left;
  p.Top = top;
  p.Right = right;
  p.Bottom = bottom;
  p.Maximized = maximized;
  return p;
}

QRect DefaultRect() {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  const int width = std::min(1360, work.width() * 85 / 100);
  const int height = std::min(900, work.height() * 85 / 100);
  return QRect(work.left() + (work.width() - width) / 2, work.top() + (work.height() - height) / 2,
               width, height);
}

}  // namespace

class WindowPlacementTest : public QObject {
  Q_OBJECT
 private slots:
  void storedRectangleIsUsed() {
    QWidget window;
    RestorePlacement(window, Placement(100, 80, 900, 680), false);
    QVERIFY(window.isVisible());
    QCOMPARE(window.geometry(), QRect(100, 80, 800, 600));
    QVERIFY(!window.isMaximized());
  }

  void maximisedWindowReopensMaximisedWithItsNormalRectangle() {
    QWidget window;
    RestorePlacement(window, Placement(100, 80, 900, 680, true), false);
    QVERIFY(window.windowState().testFlag(Qt::WindowMaximized));
    SavedPlacement captured;
    CapturePlacement(window, captured);
    QVERIFY(captured.Valid);
    QVERIFY(captured.Maximized);
    QCOMPARE(
        QRect(QPoint(captured.Left, captured.Top), QPoint(captured.Right - 1, captured.Bottom - 1)),
        QRect(100, 80, 800, 600));
  }

  void minimisedFromMaximisedStillCountsAsMaximised() {
    QWidget window;
    RestorePlacement(window, Placement(100, 80, 900, 680, true), false);
    window.setWindowState(window.windowState() | Qt::WindowMinimized);
    SavedPlacement captured;
    CapturePlacement(window, captured);
    QVERIFY(captured.Maximized);
  }

  void rectangleOffEveryScreenGivesTheDefault() {
    QWidget window;
    RestorePlacement(window, Placement(40000, 40000, 40800, 40600, true), false);
    QCOMPARE(window.geometry(), DefaultRect());
    // The maximised flag is not applied to the default window.
    QVERIFY(!window.windowState().testFlag(Qt::WindowMaximized));
  }

  void invalidPlacementGivesTheDefault() {
    QWidget window;
    SavedPlacement placement = Placement(100, 80, 900, 680);
    placement.Valid = false;
    RestorePlacement(window, placement, false);
    QCOMPARE(window.geometry(), DefaultRect());
  }

  void captureRecordsTheNormalWindow() {
    QWidget window;
    RestorePlacement(window, Placement(10, 20, 1010, 820), false);
    SavedPlacement captured;
    CapturePlacement(window, captured);
    QVERIFY(captured.Valid);
    QVERIFY(!captured.Maximized);
    QCOMPARE(captured.Left, 10);
    QCOMPARE(captured.Top, 20);
    QCOMPARE(captured.Right, 1010);
    QCOMPARE(captured.Bottom, 820);
  }
};

VELQUIST_GUI_TEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
