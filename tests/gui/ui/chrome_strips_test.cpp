#include <QSignalSpy>
#include <QTest>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "site_constants.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"
#include "support/recording_opener.h"
#include "ui/chrome_commands.h"

using namespace velquist;

class ChromeStripsTest : public QObject {
  Q_OBJECT
 private slots:
  void tabStripHeightsFollowTheDpi() {
    CTabStrip tabs;
    QCOMPARE(tabs.sizeHint().height(), 36);
    tabs.SetTheme(false, 144);
    QCOMPARE(tabs.sizeHint().height(), 54);
    CStatusStrip status;
    QCOMPARE(status.sizeHint().height(), 24);
    status.SetTheme(false, 144);
    QCOMPARE(status.sizeHint().height(), 36);
  }

  void tabLayout() {
    CTabStrip tabs;
    tabs.SetLabels({QStringLiteral("Stocks"), QStringLiteral("ETFs")});
    tabs.resize(400, 36);
    const auto& rects = tabs.TabRects();
    QCOMPARE(rects.size(), std::size_t(2));
    QCOMPARE(rects[0].left(), 12);
    QCOMPARE(rects[1].left(), rects[0].right() + 1 + 2);
    const QFont semiBold = MakeUiFont(96, 600);
    QCOMPARE(rects[0].width(), QFontMetrics(semiBold).horizontalAdvance("Stocks") + 28);
    QCOMPARE(rects[0].height(), 36);
  }

  void clickAsksForTheTab() {
    CTabStrip tabs;
    tabs.SetLabels({QStringLiteral("Stocks"), QStringLiteral("ETFs")});
    tabs.resize(400, 36);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    QSignalSpy invoked(&tabs, &CTabStrip::commandInvoked);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRects()[1].center());
    QCOMPARE(invoked.count(), 1);
    QCOMPARE(invoked.at(0).at(0).toInt(), int(kCmdEtfs));
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(390, 18));  // beside the tabs
    QCOMPARE(invoked.count(), 1);
  }

  void selectedTabHasTheAccentBarAndNoHover() {
    CTabStrip tabs;
    tabs.SetLabels({QStringLiteral("Stocks"), QStringLiteral("ETFs")});
    tabs.resize(400, 36);
    tabs.SetSelected(0);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    const QRect r0 = tabs.TabRects()[0];
    const QRect r1 = tabs.TabRects()[1];
    const QColor accent(29, 78, 216);
    QVERIFY(Near(PixelAt(tabs, QPoint(r0.center().x(), 34)), accent));
    QVERIFY(Near(PixelAt(tabs, QPoint(r1.center().x(), 34)), QColor(243, 243, 243)));
    // Hovering the other tab fills it; hovering the selected one does not.
    QTest::mouseMove(&tabs, QPoint(r1.left() + 3, 18));
    QTRY_COMPARE(tabs.Hovered(), 1);
    QVERIFY(Near(PixelAt(tabs, QPoint(r1.left() + 2, 8)), QColor(229, 231, 235)));
    QTest::mouseMove(&tabs, QPoint(r0.left() + 3, 18));
    QTRY_COMPARE(tabs.Hovered(), 0);
    QVERIFY(Near(PixelAt(tabs, QPoint(r0.left() + 2, 8)), QColor(243, 243, 243)));
    tabs.SetTheme(true, 96);
    QVERIFY(Near(PixelAt(tabs, QPoint(r0.center().x(), 34)), QColor(77, 141, 255)));
    QVERIFY(Near(PixelAt(tabs, QPoint(390, 10)), QColor(32, 32, 32)));
    QVERIFY(Near(PixelAt(tabs, QPoint(390, 35)), QColor(51, 51, 51)));
  }

  void longStatusTextIsCutInTheMiddle() {
    CStatusStrip status;
    status.resize(420, 24);
    status.SetZoomText(QStringLiteral("Zoom 110%"));
    const QString longText = QStringLiteral("https://www.example.test/") +
                             QString(120, QLatin1Char('a')) + QStringLiteral("/end.html");
    status.SetText(longText);
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    QTRY_VERIFY(!status.ShownText().isEmpty());
    const QString shown = status.ShownText();
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(shown.startsWith(QStringLiteral("https://")));
    QVERIFY(shown.endsWith(QStringLiteral("end.html")));
    // The text never runs into the zoom text or the link.
    QVERIFY(QFontMetrics(MakeUiFont(96, 400)).horizontalAdvance(shown) <=
            status.TextRect().width());
    QVERIFY(status.TextRect().right() < status.ZoomRect().left());
    QVERIFY(status.ZoomRect().right() < status.LinkRect().left());
    QCOMPARE(status.LinkRect().right(), 420 - 10 - 1);
    // 10 at both ends, 2 x 10 before the link and 10 before the zoom text.
    QCOMPARE(status.TextRect().left(), 10);
    QCOMPARE(status.ZoomRect().right(), status.LinkRect().left() - 1 - 20);
    QCOMPARE(status.TextRect().right(), status.ZoomRect().left() - 1 - 10);
    QCOMPARE(status.LinkRect().top(), 1);
    QCOMPARE(status.LinkRect().bottom(), 23);
  }

  void withoutZoomTextTheMainTextGetsTheSpace() {
    CStatusStrip status;
    status.resize(420, 24);
    status.SetText(QStringLiteral("Ready"));
    status.SetZoomText(QStringLiteral("Zoom 110%"));
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    QTRY_VERIFY(status.ZoomRect().isValid());
    const int withZoom = status.TextRect().width();
    status.SetZoomText(QString());
    status.repaint();
    QVERIFY(!status.ZoomRect().isValid());
    QVERIFY(status.TextRect().width() > withZoom);
    QCOMPARE(status.ShownText(), QStringLiteral("Ready"));
  }

  void siteLinkHoverAndClick() {
    test::RecordingOpener opener;
    CStatusStrip status;
    status.resize(420, 24);
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    QTRY_VERIFY(status.LinkRect().isValid());
    QTest::mouseMove(&status, status.LinkRect().center());
    QTRY_VERIFY(status.IsLinkHovered());
    QCOMPARE(status.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&status, Qt::LeftButton, {}, status.LinkRect().center());
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened[0].toString(),
             QString::fromLatin1(SiteOrigin.data(), SiteOrigin.size()) + "/?src=vqs");
    QTest::mouseMove(&status, QPoint(20, 12));
    QTRY_VERIFY(!status.IsLinkHovered());
    QTest::mouseClick(&status, Qt::LeftButton, {}, QPoint(20, 12));
    QCOMPARE(opener.opened.size(), 1);
  }
};

VELQUIST_GUI_TEST_MAIN(ChromeStripsTest)
#include "chrome_strips_test.moc"
