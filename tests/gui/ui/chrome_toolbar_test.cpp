#include "gui/ui/chrome_toolbar.h"

#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <map>

#include "gui/ui/chrome_palette.h"
#include "support/gui_test_main.h"
#include "ui/chrome_commands.h"
#include "ui/chrome_palette.h"

using namespace velquist;

namespace {

// The point of an icon that is most strongly coloured (the accent strokes).
QPoint MostSaturatedPoint(const QImage& image) {
  QPoint best;
  int bestScore = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int score = c.alpha() == 255 ? c.hsvSaturation() : -1;
      if (score > bestScore) {
        bestScore = score;
        best = QPoint(x, y);
      }
    }
  }
  return best;
}

}  // namespace

class ChromeToolBarTest : public QObject {
  Q_OBJECT
 private slots:
  void buttonsInOrderWithLabelsAndTooltips() {
    CChromeToolBar bar;
    const int ids[] = {32771, 32772, 32773, 32774, 32775, 32776,
                       32777, 32796, 32797, 32779, 32780, 32781};
    int previousRight = -1;
    for (int id : ids) {
      QVERIFY(bar.HasButton(id));
      const QRect r = bar.ButtonRect(id);
      QVERIFY2(r.left() > previousRight, qPrintable(QString::number(id)));
      previousRight = r.right();
    }
    QVERIFY(!bar.HasButton(32783));
    QCOMPARE(bar.ButtonLabel(32776), QStringLiteral("Forward"));
    QCOMPARE(bar.ButtonLabel(32779), QStringLiteral("Browser"));
    QCOMPARE(bar.ButtonToolTip(32771), QStringLiteral("Save Screen (Ctrl+S)"));
    QCOMPARE(bar.ButtonToolTip(32781), QStringLiteral("Help"));
    // Separators leave a gap before Back, Export and Settings only.
    QCOMPARE(bar.ButtonRect(32772).left(), bar.ButtonRect(32771).right() + 1);
    QVERIFY(bar.ButtonRect(32775).left() > bar.ButtonRect(32774).right() + 1);
    QVERIFY(bar.ButtonRect(32796).left() > bar.ButtonRect(32777).right() + 1);
    QVERIFY(bar.ButtonRect(32780).left() > bar.ButtonRect(32779).right() + 1);
  }

  void sizesScaleWithTheDpi() {
    CChromeToolBar bar;
    bar.SetImages(96);
    QCOMPARE(bar.IconSize(), 32);
    bar.SetImages(144);
    QCOMPARE(bar.IconSize(), 48);
    const QImage icon = bar.NormalIcon(kCmdSaveScreen);
    QCOMPARE(icon.width(), qRound(48 * bar.devicePixelRatioF()));
  }

  // Every button is 14 wider than the wider of icon and widest label, and 12 higher than
  // icon and label together, both scaled.
  void buttonSizeFromIconAndWidestLabel() {
    CChromeToolBar bar;
    const struct {
      int dpi, icon, padX, padY;
    } cases[] = {{96, 32, 14, 12}, {120, 40, 18, 15}, {144, 48, 21, 18}, {192, 64, 28, 24}};
    for (const auto& c : cases) {
      bar.SetImages(c.dpi);
      const QFontMetrics metrics(MakeUiFont(c.dpi, 400));
      int widest = 0;
      for (const char* label : {"Save", "Open", "Presets", "Reset", "Back", "Forward", "Refresh",
                                "Export", "Print", "Browser", "Settings", "Help"}) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(label)));
      }
      const QSize expected(c.padX + std::max(widest, c.icon), c.padY + c.icon + metrics.height());
      QCOMPARE(bar.IconSize(), c.icon);
      QCOMPARE(bar.ButtonRect(kCmdSaveScreen).size(), expected);
      QCOMPARE(bar.ButtonRect(kCmdHelpMenu).size(), expected);
    }
  }

  void iconStripHasTwelveIcons() {
    const QImage strip = CChromeToolBar::LoadIconStrip();
    QCOMPARE(strip.size(), QSize(1152, 96));
    QCOMPARE(strip.width() / strip.height(), 12);
  }

  void disabledImageIsGreyAtFortyPercent() {
    CChromeToolBar bar;
    const QImage normal = bar.NormalIcon(kCmdBack).convertToFormat(QImage::Format_ARGB32);
    const QImage grey = bar.DisabledIcon(kCmdBack).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(grey.size(), normal.size());
    int opaque = 0;
    for (int y = 0; y < normal.height(); ++y) {
      for (int x = 0; x < normal.width(); ++x) {
        const QRgb n = normal.pixel(x, y);
        const QRgb g = grey.pixel(x, y);
        QCOMPARE(qAlpha(g), qAlpha(n) * 40 / 100);
        if (qAlpha(n) == 255) {
          ++opaque;
          QCOMPARE(qRed(g), (299 * qRed(n) + 587 * qGreen(n) + 114 * qBlue(n)) / 1000);
          QCOMPARE(qRed(g), qGreen(g));
          QCOMPARE(qGreen(g), qBlue(g));
        }
      }
    }
    QVERIFY(opaque > 0);
    bar.SetButtonEnabled(kCmdBack, false);
    QCOMPARE(bar.ButtonImage(kCmdBack), bar.DisabledIcon(kCmdBack));
    bar.SetButtonEnabled(kCmdBack, true);
    QCOMPARE(bar.ButtonImage(kCmdBack), bar.NormalIcon(kCmdBack));
  }

  void disabledButtonPaintsGrey() {
    CChromeToolBar bar;
    bar.resize(bar.sizeHint());
    bar.SetImages(96);
    const QImage icon = bar.NormalIcon(kCmdForward).convertToFormat(QImage::Format_ARGB32);
    const QPoint inIcon = MostSaturatedPoint(icon);
    const QRect button = bar.ButtonRect(kCmdForward);
    const qreal ratio = bar.devicePixelRatioF();
    // The icon is drawn centred, 6 pixels below the button's top.
    const QPoint onBar(
        button.left() + (button.width() - bar.IconSize()) / 2 + qRound(inIcon.x() / ratio),
        button.top() + 6 + qRound(inIcon.y() / ratio));
    const QColor enabled = bar.grab().toImage().pixelColor(onBar * ratio);
    QVERIFY2(enabled.hsvSaturation() > 100, qPrintable(enabled.name()));
    bar.SetButtonEnabled(kCmdForward, false);
    const QColor disabled = bar.grab().toImage().pixelColor(onBar * ratio);
    QVERIFY2(qAbs(disabled.red() - disabled.green()) <= 1 &&
                 qAbs(disabled.green() - disabled.blue()) <= 1,
             qPrintable(disabled.name()));
    // The grey at 40 % of the icon's opacity over the light background.
    const QRgb n = icon.pixel(inIcon);
    QCOMPARE(qAlpha(n), 255);
    const int grey = (299 * qRed(n) + 587 * qGreen(n) + 114 * qBlue(n)) / 1000;
    const int alpha = 255 * 40 / 100;
    const int expected = (grey * alpha + 243 * (255 - alpha) + 127) / 255;
    QVERIFY2(qAbs(disabled.red() - expected) <= 3,
             qPrintable(QStringLiteral("%1 instead of %2").arg(disabled.red()).arg(expected)));
  }

  void idleUpdateTouchesOnlyChangedButtons() {
    CChromeToolBar bar;
    std::map<int, bool> rule;
    bar.SetEnableRule([&rule](int id) {
      const auto it = rule.find(id);
      return it == rule.end() ? true : it->second;
    });
    bar.RefreshStates();
    QCOMPARE(bar.StateChanges(), 0);
    rule[kCmdBack] = false;
    rule[kCmdForward] = false;
    bar.RefreshStates();
    QCOMPARE(bar.StateChanges(), 2);
    QVERIFY(!bar.IsButtonEnabled(kCmdBack));
    QVERIFY(bar.IsButtonEnabled(kCmdRefresh));
    bar.RefreshStates();
    bar.RefreshStates();
    QCOMPARE(bar.StateChanges(), 2);
    rule[kCmdBack] = true;
    bar.RefreshStates();
    QCOMPARE(bar.StateChanges(), 3);
    QVERIFY(!bar.SetButtonEnabled(kCmdBack, true));
  }

  void clickRunsOnlyEnabledButtons() {
    CChromeToolBar bar;
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy invoked(&bar, &CChromeToolBar::commandInvoked);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.ButtonRect(kCmdRefresh).center());
    QCOMPARE(invoked.count(), 1);
    QCOMPARE(invoked.at(0).at(0).toInt(), int(kCmdRefresh));
    bar.SetButtonEnabled(kCmdPrintResults, false);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.ButtonRect(kCmdPrintResults).center());
    QCOMPARE(invoked.count(), 1);
  }

  void tooltipOfTheButtonUnderTheMouse() {
    CChromeToolBar bar;
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QPoint at = bar.ButtonRect(kCmdOpenInBrowser).center();
    QHelpEvent help(QEvent::ToolTip, at, bar.mapToGlobal(at));
    QApplication::sendEvent(&bar, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Open in Browser (Ctrl+B)"));
    QToolTip::hideText();
  }

  void hoverShowsThePrompt() {
    CChromeToolBar bar;
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy prompts(&bar, &CChromeToolBar::promptChanged);
    QTest::mouseMove(&bar, bar.ButtonRect(kCmdRefresh).center());
    QTRY_VERIFY(!prompts.isEmpty());
    QCOMPARE(prompts.last().at(0).toString(),
             QStringLiteral("Reload the screener and its latest data"));
    QTest::mouseMove(&bar, QPoint(bar.width() - 2, bar.height() / 2));
    QTRY_VERIFY(prompts.last().at(0).toString().isEmpty());
  }
};

VELQUIST_GUI_TEST_MAIN(ChromeToolBarTest)
#include "chrome_toolbar_test.moc"
