#include "gui/web/zoom_steps.h"

#include <QTest>
#include <limits>

#include "gui/web/browser_zoom.h"
#include "support/gui_test_main.h"

using namespace velquist;

class ZoomStepsTest : public QObject {
  Q_OBJECT
 private slots:
  void stepsUp_data() {
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("1.0") << 1.0 << 1.1;
    QTest::newRow("1.1") << 1.1 << 1.25;
    QTest::newRow("2.0 stays") << 2.0 << 2.0;
    QTest::newRow("0.66") << 0.66 << 0.67;
    QTest::newRow("3.0 falls back") << 3.0 << 2.0;
    QTest::newRow("0.25") << 0.25 << 0.5;
    QTest::newRow("just under a step") << 1.0995 << 1.25;
  }
  void stepsUp() {
    QFETCH(double, from);
    QFETCH(double, to);
    QCOMPARE(ZoomStepUp(from), to);
  }

  void stepsDown_data() {
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("1.0") << 1.0 << 0.9;
    QTest::newRow("0.5 stays") << 0.5 << 0.5;
    QTest::newRow("0.3 goes up to 0.5") << 0.3 << 0.5;
    QTest::newRow("3.0") << 3.0 << 2.0;
    QTest::newRow("0.67") << 0.67 << 0.5;
  }
  void stepsDown() {
    QFETCH(double, from);
    QFETCH(double, to);
    QCOMPARE(ZoomStepDown(from), to);
  }

  void clampsToTheAllowedRange() {
    QCOMPARE(ClampZoom(0.1), 0.25);
    QCOMPARE(ClampZoom(0.25), 0.25);
    QCOMPARE(ClampZoom(1.3), 1.3);
    QCOMPARE(ClampZoom(5.0), 5.0);
    QCOMPARE(ClampZoom(7.0), 5.0);
    QCOMPARE(ClampZoom(std::numeric_limits<double>::quiet_NaN()), 0.25);
    QCOMPARE(ClampZoom(std::numeric_limits<double>::infinity()), 5.0);
  }

  void zoomTextShowsOnlyRealChanges() {
    QCOMPARE(ZoomText(1.0), QString());
    QCOMPARE(ZoomText(1.0005), QString());
    QCOMPARE(ZoomText(1.1), QStringLiteral("Zoom 110%"));
    QCOMPARE(ZoomText(0.67), QStringLiteral("Zoom 67%"));
    QCOMPARE(ZoomText(0.995), QStringLiteral("Zoom 100%"));
  }

  void browserZoomFollowsChromiumLevels() {
    QCOMPARE(NextBrowserZoom(1.0, true), 1.1);
    QCOMPARE(NextBrowserZoom(1.0, false), 0.9);
    QCOMPARE(NextBrowserZoom(2.0, true), 2.5);
    QCOMPARE(NextBrowserZoom(5.0, true), 5.0);
    QCOMPARE(NextBrowserZoom(0.25, false), 0.25);
    QCOMPARE(NextBrowserZoom(1.05, false), 1.0);
  }
};

VELQUIST_GUI_TEST_MAIN(ZoomStepsTest)
#include "zoom_steps_test.moc"
