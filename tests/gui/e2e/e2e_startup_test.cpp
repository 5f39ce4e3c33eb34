// Start-up and shutdown of the real program against the demo site: the active tab's start
// page, the other tab made on its first selection, the last screens reopened (or not),
// one instance per user, options kept across runs, and a corrupt screens file set aside.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/files.h"
#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_prompter.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

QString CurrentUrl(CWebHost& host) { return QString::fromStdString(host.CurrentUrl()); }

// The tab the user sees: the host on top where the pages are shown.
bool IsOnTop(CWebHost& host) {
  QWidget* top = host.parentWidget()->childAt(host.geometry().center());
  return top == &host || host.isAncestorOf(top);
}

void RemoveStoredState() {
  QFile::remove(QString::fromStdString(OptionsFilePath()));
  QFile::remove(QString::fromStdString(DataFolder() + "/screens.json"));
  QFile::remove(QString::fromStdString(DataFolder() + "/screens.json.bad"));
}

}  // namespace

class E2eStartupTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { RemoveStoredState(); }

  void opensActiveTabAndMakesTheOtherOnFirstSelection() {
    ProgramRun run;
    QVERIFY(run.Start());
    QCOMPARE(run.Frame().ActiveTab(), ScreenerKind::Stocks);
    QVERIFY(run.WaitForResults());
    QCOMPARE(CurrentUrl(run.Active()).section('#', 0, 0), Origin() + "/screener.html");
    CWebHost& stocks = run.Frame().Host(ScreenerKind::Stocks);
    CWebHost& etfs = run.Frame().Host(ScreenerKind::Etfs);
    QVERIFY(IsOnTop(stocks));
    QVERIFY(!etfs.IsCreated());
    QVERIFY(etfs.View() == nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Ready"), 20000);

    const QByteArray shot = qgetenv("VELQUIST_SCREENSHOT");
    if (!shot.isEmpty()) {
      // Only for the picture: the view's last composed frame may lag the page a little.
      QTest::qWait(1500);
      QVERIFY(run.Frame().grab().save(QString::fromLocal8Bit(shot)));
    }

    run.Frame().SelectTab(1);
    QVERIFY(etfs.IsCreated());
    QVERIFY(run.WaitForResults());
    QCOMPARE(CurrentUrl(etfs).section('#', 0, 0), Origin() + "/etf-screener.html");
    QVERIFY(IsOnTop(etfs));
    QVERIFY(!IsOnTop(stocks));

    // Back again: the page under the other tab was never hidden from the engine (hiding
    // and showing a page costs it memory it keeps).
    run.Frame().SelectTab(0);
    QVERIFY(IsOnTop(stocks));
    QVERIFY(!IsOnTop(etfs));
    QVERIFY(stocks.View()->page()->isVisible());
    QVERIFY(etfs.View()->page()->isVisible());
  }

  void restoreLastReopensTheLastScreens() {
    const QString screen = Origin() + "/screener/dividend-stocks.html";
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QVERIFY(run.WaitForResults());
      run.Active().Navigate(screen.toStdString());
      QTRY_COMPARE_WITH_TIMEOUT(CurrentUrl(run.Active()).section('#', 0, 0), screen, 20000);
      QCOMPARE(QString::fromStdString(run.App().Options().LastStocks).section('#', 0, 0),
               QStringLiteral("/screener/dividend-stocks.html"));
      run.Close();
    }
    ProgramRun again;
    QVERIFY(again.Start());
    QVERIFY(again.WaitForResults());
    QCOMPARE(CurrentUrl(again.Active()).section('#', 0, 0), screen);
  }

  void restoreLastOffOpensTheDefaultPages() {
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QVERIFY(run.WaitForResults());
      run.Active().Navigate(Origin().toStdString() + "/screener/value-stocks.html");
      QTRY_VERIFY_WITH_TIMEOUT(CurrentUrl(run.Active()).contains("value-stocks"), 20000);
      run.App().Options().RestoreLast = false;
      run.Close();
    }
    std::string file;
    QVERIFY(ReadWholeFile(OptionsFilePath(), file));
    QVERIFY(file.find("value-stocks") != std::string::npos);
    ProgramRun again;
    QVERIFY(again.Start());
    QVERIFY(!again.App().Options().RestoreLast);
    QVERIFY(again.WaitForResults());
    QCOMPARE(CurrentUrl(again.Active()).section('#', 0, 0), Origin() + "/screener.html");
  }

  void optionsSurviveARestart() {
    {
      ProgramRun run;
      QVERIFY(run.Start());
      run.Frame().SetZoom(1.25);
      run.Frame().SelectTab(1);
      run.App().Options().ShowSplash = false;
      run.Close();
    }
    std::string file;
    QVERIFY(ReadWholeFile(OptionsFilePath(), file));
    QVERIFY(file.find("\"Zoom\"=dword:0000007d") != std::string::npos);
    QVERIFY(file.find("\"ActiveTab\"=\"etfs\"") != std::string::npos);
    ProgramRun again;
    QVERIFY(again.Start());
    QCOMPARE(again.App().Options().Zoom, 1.25);
    QCOMPARE(again.App().Options().ShowSplash, false);
    QCOMPARE(again.Frame().ActiveTab(), ScreenerKind::Etfs);
    QCOMPARE(again.Frame().ZoomText(), QStringLiteral("Zoom 125%"));
  }

  // The start page is loading from the moment its host is made, before the engine reports
  // the navigation's start; the other tab's start page likewise on its first selection.
  void saysLoadingFromTheFirstFrameUntilThePageHasLoaded() {
    ProgramRun run;
    QVERIFY(run.Start());
    QCOMPARE(run.Frame().StatusText(), QStringLiteral("Loading\u2026"));
    QVERIFY(run.WaitForResults());
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Ready"), 20000);
    run.Frame().SelectTab(1);
    QCOMPARE(run.Frame().StatusText(), QStringLiteral("Loading\u2026"));
    QVERIFY(run.WaitForResults());
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame().StatusText(), QStringLiteral("Ready"), 20000);
  }

  // The site's cookies and local storage are kept on disk from one run to the next.
  void siteCookiesAndStorageSurviveARestart() {
    const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch());
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QVERIFY(run.WaitForResults());
      EvalJs(run.ActivePage(), QStringLiteral("document.cookie = 'vqkept=%1; max-age=86400; "
                                              "path=/; secure'; localStorage.setItem('vqkept', "
                                              "'%1'); true")
                                   .arg(stamp));
      QVERIFY(
          EvalJs(run.ActivePage(), QStringLiteral("document.cookie")).toString().contains(stamp));
      run.Close();
    }
    // On disk, not only in the engine's memory of this process. The engine writes its cookie
    // database on a background thread some time after the profile is gone, so wait for it.
    const std::string cookiesPath = WebViewDataFolder() + "/Cookies";
    QVERIFY(WaitUntil(
        [&] {
          std::string cookies;
          return ReadWholeFile(cookiesPath, cookies) &&
                 cookies.find(stamp.toStdString()) != std::string::npos;
        },
        60000));
    ProgramRun again;
    QVERIFY(again.Start());
    QVERIFY(again.WaitForResults());
    QVERIFY(EvalJs(again.ActivePage(), QStringLiteral("document.cookie"))
                .toString()
                .contains(QStringLiteral("vqkept=") + stamp));
    QCOMPARE(
        EvalJs(again.ActivePage(), QStringLiteral("localStorage.getItem('vqkept')")).toString(),
        stamp);
  }

  void corruptScreensFileIsSetAsideWithTheParserError() {
    const std::string path = DataFolder() + "/screens.json";
    QVERIFY(WriteFileAtomic(path + ".bad", "older bad file"));
    QVERIFY(WriteFileAtomic(path, "{\"screens\": [1, 2,"));
    RecordingPrompter prompter;
    ProgramRun run;
    QVERIFY(run.Start());
    QCOMPARE(prompter.texts.size(), 1);
    QCOMPARE(prompter.icons.front(), PromptIcon::Warning);
    const QString text = prompter.texts.front();
    QVERIFY2(text.startsWith(QStringLiteral("The saved screens could not be read and were set "
                                            "aside as screens.json.bad.\n\n")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("offset")), qPrintable(text));
    std::string bad;
    QVERIFY(ReadWholeFile(path + ".bad", bad));
    QCOMPARE(bad, std::string("{\"screens\": [1, 2,"));
    QVERIFY(!QFile::exists(QString::fromStdString(path)));
    QVERIFY(run.App().Screens().empty());
  }

  void closeTellsWhenTheScreensCannotBeWrittenAndStillSavesTheOptions() {
    // A folder where the screens file belongs: the file can neither be read nor replaced.
    const std::string path = DataFolder() + "/screens.json";
    QVERIFY(QDir().mkpath(QString::fromStdString(path)));
    QVERIFY(WriteFileAtomic(path + "/keep", "x"));
    RecordingPrompter prompter;
    {
      ProgramRun run;
      QVERIFY(run.Start());
      QCOMPARE(prompter.texts.size(), 0);
      run.Frame().SetZoom(1.5);
      QVERIFY(run.Frame().close());
      QVERIFY(!run.Frame().isVisible());
    }
    QCOMPARE(prompter.texts.size(), 1);
    QCOMPARE(prompter.icons.front(), PromptIcon::Error);
    const QString text = prompter.texts.front();
    const QString start = QStringLiteral("The saved screens could not be written to\n") +
                          QString::fromStdString(path) + QStringLiteral("\n\nError ");
    QVERIFY2(text.startsWith(start), qPrintable(text));
    QVERIFY2(text.endsWith(QLatin1Char('.')), qPrintable(text));
    bool numeric = false;
    QVERIFY(text.mid(start.size()).chopped(1).toInt(&numeric) > 0 && numeric);
    // The options went to their store before the screens failed.
    std::string file;
    QVERIFY(ReadWholeFile(OptionsFilePath(), file));
    QVERIFY(file.find("\"Zoom\"=dword:00000096") != std::string::npos);
    QVERIFY(QDir(QString::fromStdString(path)).removeRecursively());
  }

  void secondInstanceRaisesTheFirstAndExits() {
    ProgramRun run;
    QVERIFY(run.Start());
    QSignalSpy raised(&run.App(), &CScreenerApp::mainWindowRaised);
    run.Frame().setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    QProcess second;
    second.start(QStringLiteral(VELQUIST_PROGRAM), {QStringLiteral("--second")});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(raised.count(), 1);
    QVERIFY(!run.Frame().windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(run.Frame().windowState().testFlag(Qt::WindowMaximized));
  }
};

VELQUIST_E2E_TEST_MAIN(E2eStartupTest)
#include "e2e_startup_test.moc"
