// Settings, About and the splash in the running program against the demo site: a zoom
// chosen in Settings reaches both tabs at once and is kept for the next start, Dark
// re-themes the window at once, Cancel changes nothing, Help > About opens the dialog, and
// the splash of a start without words goes with the first click, which does nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/app_state.h"
#include "app/files.h"
#include "gui/app/screener_app.h"
#include "gui/ui/about_dialog.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/settings_dialog.h"
#include "gui/ui/splash_window.h"
#include "gui/web/web_host.h"
#include "site/url.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/modal.h"
#include "support/pixels.h"
#include "support/recording_opener.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QByteArray StoredFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void RemoveStoredState() {
  QFile::remove(QString::fromStdString(OptionsFilePath()));
  QFile::remove(QString::fromStdString(ScreensFilePath(DataFolder())));
}

// Runs Settings and answers its dialog with answer, which must close it.
bool RunSettings(CMainFrame& frame, std::function<void(CSettingsDlg&)> answer) {
  WhenModal<CSettingsDlg> dialog(std::move(answer));
  frame.RunCommand(kCmdSettings);
  return dialog.Ran();
}

}  // namespace

class E2eSettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { RemoveStoredState(); }

  void settingsAndAboutAreAlwaysEnabled() {
    ProgramRun run;
    QVERIFY(run.Start());
    QVERIFY(run.Frame().IsCommandEnabled(kCmdSettings));
    QVERIFY(run.Frame().IsCommandEnabled(kCmdAbout));
    QVERIFY(run.Frame().ToolBar().IsButtonEnabled(kCmdSettings));
  }

  void zoomAppliesToBothTabsAtOnceAndSurvivesARestart() {
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QVERIFY(run.WaitForResults());
      CMainFrame& frame = run.Frame();
      QVERIFY(RunSettings(frame, [](CSettingsDlg& dialog) {
        dialog.ZoomList().setCurrentIndex(dialog.ZoomList().findText(QStringLiteral("200%")));
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
      }));
      QCOMPARE(run.App().Options().Zoom, 2.0);
      QCOMPARE(frame.Host(ScreenerKind::Stocks).View()->zoomFactor(), 2.0);
      // The other tab has no browser yet; it has the zoom and shows it once made.
      QCOMPARE(frame.Host(ScreenerKind::Etfs).Zoom(), 2.0);
      QCOMPARE(frame.ZoomText(), QStringLiteral("Zoom 200%"));
      frame.SelectTab(1);
      QVERIFY(run.WaitForResults());
      QCOMPARE(frame.Host(ScreenerKind::Etfs).View()->zoomFactor(), 2.0);
      // Saved at once, before the window closes.
      QVERIFY(StoredFile(OptionsFilePath()).contains("\"Zoom\"=dword:000000c8"));
    }
    ProgramRun again;
    QVERIFY(again.Start());
    QCOMPARE(again.App().Options().Zoom, 2.0);
    QVERIFY(again.WaitForResults());
    QCOMPARE(again.Active().View()->zoomFactor(), 2.0);
    QCOMPARE(again.Frame().ZoomText(), QStringLiteral("Zoom 200%"));
  }

  void darkReThemesAtOnceAndIsSaved() {
    ProgramRun run;
    QVERIFY(run.Start());
    CMainFrame& frame = run.Frame();
    QVERIFY(!frame.IsDark());
    QVERIFY(RunSettings(frame, [](CSettingsDlg& dialog) {
      dialog.ColorModeList().setCurrentIndex(2);
      QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    }));
    QVERIFY(frame.IsDark());
    QCOMPARE(run.App().Options().ColorMode, ColorMode::Dark);
    const QColor back = PixelAt(frame.ToolBar(), QPoint(frame.ToolBar().width() - 3, 3));
    QVERIFY2(Near(back, QColor(32, 32, 32)), qPrintable(back.name()));
    QVERIFY(StoredFile(OptionsFilePath()).contains("\"ColorMode\"=\"dark\""));
    // The dialog itself now opens dark, and Light brings the window back.
    QVERIFY(RunSettings(frame, [](CSettingsDlg& dialog) {
      QCOMPARE(dialog.palette().color(QPalette::Window), QColor(32, 32, 32));
      dialog.ColorModeList().setCurrentIndex(1);
      QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    }));
    QVERIFY(!frame.IsDark());
  }

  void cancelAfterChangingEveryControlChangesNothing() {
    ProgramRun run;
    QVERIFY(run.Start());
    QVERIFY(run.WaitForResults());
    CMainFrame& frame = run.Frame();
    const AppOptions before = run.App().Options();
    const QByteArray optionsFile = StoredFile(OptionsFilePath());
    const QByteArray screensFile = StoredFile(ScreensFilePath(DataFolder()));
    QVERIFY(RunSettings(frame, [](CSettingsDlg& dialog) {
      QTest::mouseClick(&dialog.ShowSplashBox(), Qt::LeftButton);
      QTest::mouseClick(&dialog.RestoreLastBox(), Qt::LeftButton);
      dialog.ZoomList().setCurrentIndex(0);
      dialog.ColorModeList().setCurrentIndex(2);
      QTest::mouseClick(&dialog.CancelButton(), Qt::LeftButton);
    }));
    const AppOptions& after = run.App().Options();
    QCOMPARE(after.ShowSplash, before.ShowSplash);
    QCOMPARE(after.RestoreLast, before.RestoreLast);
    QCOMPARE(after.Zoom, before.Zoom);
    QCOMPARE(after.ColorMode, before.ColorMode);
    QVERIFY(!frame.IsDark());
    QCOMPARE(frame.ActiveHost().View()->zoomFactor(), 1.0);
    QCOMPARE(StoredFile(OptionsFilePath()), optionsFile);
    QCOMPARE(StoredFile(ScreensFilePath(DataFolder())), screensFile);
  }

  void startUpOptionsAreSavedForTheNextStart() {
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QVERIFY(RunSettings(run.Frame(), [](CSettingsDlg& dialog) {
        QVERIFY(dialog.ShowSplashBox().isChecked());
        QVERIFY(dialog.RestoreLastBox().isChecked());
        QTest::mouseClick(&dialog.ShowSplashBox(), Qt::LeftButton);
        QTest::mouseClick(&dialog.RestoreLastBox(), Qt::LeftButton);
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
      }));
    }
    ProgramRun again;
    QVERIFY(again.Start({}));
    QVERIFY(!again.App().Options().ShowSplash);
    QVERIFY(!again.App().Options().RestoreLast);
    // The option is off: no splash even without words on the command line.
    QVERIFY(!CSplashWnd::Current());
  }

  void aboutOpensFromTheHelpMenuCommandAndItsLinkOpensTheSite() {
    ProgramRun run;
    QVERIFY(run.Start());
    RecordingOpener opener;
    WhenModal<CAboutDlg> about([&](CAboutDlg& dialog) {
      QTest::mouseClick(&dialog.LinkLabel(), Qt::LeftButton, {},
                        dialog.LinkLabel().rect().center());
      QVERIFY(dialog.isVisible());
      QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    });
    run.Frame().RunCommand(kCmdAbout);
    QVERIFY(about.Ran());
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened.front().toString().toStdString(),
             AddReferralTag(std::string(SiteOrigin) + "/"));
  }

  void splashShowsOnlyWithoutWordsAndTheFirstClickOnlyClosesIt() {
    {
      ProgramRun withWords;
      QVERIFY(withWords.Start({QStringLiteral("x")}));
      QVERIFY(!withWords.App().ShowSplashAtStart());
      QVERIFY(!CSplashWnd::Current());
    }
    ProgramRun run;
    QVERIFY(run.Start({}));
    QVERIFY(run.App().ShowSplashAtStart());
    CSplashWnd* splash = CSplashWnd::Current();
    QVERIFY(splash);
    QCOMPARE(splash->parentWidget(), &run.Frame());
    QVERIFY(QTest::qWaitForWindowExposed(&run.Frame()));
    // Shown afresh, so that its two seconds cannot run out on a slow machine before the click.
    CSplashWnd::HideSplash();
    QVERIFY(CSplashWnd::ShowOver(run.Frame()));
    // A click on the Settings button while the splash shows: the splash goes, no dialog.
    CChromeToolBar& toolBar = run.Frame().ToolBar();
    const QPoint button = toolBar.ButtonRect(kCmdSettings).center();
    // The button runs its command on release, at once: a dialog opened by this click would
    // be up, and answered, before the click returns.
    {
      WhenModal<CSettingsDlg> early([](CSettingsDlg& dialog) { dialog.reject(); });
      QTest::mouseClick(&toolBar, Qt::LeftButton, {}, button);
      QVERIFY(!CSplashWnd::Current());
      QVERIFY(!early.Ran());
      QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
    // The next click runs the command.
    WhenModal<CSettingsDlg> settings([](CSettingsDlg& dialog) { dialog.reject(); });
    QTest::mouseClick(&toolBar, Qt::LeftButton, {}, button);
    QVERIFY(settings.Ran());
  }
};

VELQUIST_E2E_TEST_MAIN(E2eSettingsTest)
#include "e2e_settings_test.moc"
