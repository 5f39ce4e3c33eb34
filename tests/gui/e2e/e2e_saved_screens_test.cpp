// Saved screens in the running program against the demo site: Save Screen with its name
// rules, question and limit, Open Saved Screen showing a screen in its tab, Import and
// Export Screens, and a saved screen that shows the same rows after a restart.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/app_state.h"
#include "app/files.h"
#include "data/screens.h"
#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/manage_screens_dlg.h"
#include "gui/ui/save_screen_dlg.h"
#include "gui/ui/screen_list_view.h"
#include "gui/web/web_host.h"
#include "site/url.h"
#include "support/e2e.h"
#include "support/modal.h"
#include "support/recording_prompter.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

constexpr ScreenerKind S = ScreenerKind::Stocks;
constexpr ScreenerKind E = ScreenerKind::Etfs;

std::string ScreensFile() { return ScreensFilePath(DataFolder()); }

std::string FileBytes(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, bytes) ? bytes : std::string("<unreadable>");
}

ScreenStore StoredScreens() {
  ScreensFileOptions options;
  ScreenStore store;
  ParseScreensFile(FileBytes(ScreensFile()), options, store);
  return store;
}

QString Temp(const QString& name) { return QDir::tempPath() + QLatin1Char('/') + name; }

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// The page's results as the site's hook gives them, as JSON text.
// A question asked just as a load starts may never be answered: inside a wait, each look
// is bounded on its own (lookMs) so that one lost answer does not use up the whole wait.
constexpr int LookMs = 3000;

QString Results(QWebEnginePage* page, int lookMs = 30000) {
  return EvalJs(page, QStringLiteral("JSON.stringify(window.VXScreener.getResults())"), lookMs)
      .toString();
}

}  // namespace

class E2eSavedScreensTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QFile::remove(QString::fromStdString(ScreensFile()));
    m_run = std::make_unique<ProgramRun>();
    QVERIFY(m_run->Start());
    QVERIFY(m_run->WaitForResults());
  }
  void cleanupTestCase() { m_run.reset(); }

  void init() { m_run->App().Screens().clear(); }

  void commandsAreEnabledByTheirRules() {
    CMainFrame& frame = m_run->Frame();
    QVERIFY(frame.IsCommandEnabled(kCmdSaveScreen));
    QVERIFY(frame.IsCommandEnabled(kCmdOpenSavedScreen));
    QVERIFY(frame.IsCommandEnabled(kCmdManageScreens));
    QVERIFY(frame.IsCommandEnabled(kCmdImportScreens));
    QVERIFY(!frame.IsCommandEnabled(kCmdExportScreens));
    m_run->App().Screens().push_back({"x", S, "/screener.html", ""});
    QVERIFY(frame.IsCommandEnabled(kCmdExportScreens));
  }

  void saveNormalisesTheNameAndWritesTheFile() {
    RecordingPrompter prompter;
    ShowScreen(S, "/screener.html", "dy=1.5..&sort=-dy");
    QString proposed, hint;
    SaveAs(QStringLiteral("  Big   caps "), &proposed, &hint);
    QCOMPARE(proposed, QStringLiteral("My screen"));
    QVERIFY(hint.contains(QStringLiteral("of the stock screener")));
    const ScreenStore expected{{"Big caps", S, "/screener.html", "dy=1.5..&sort=-dy"}};
    QCOMPARE(m_run->App().Screens(), expected);
    QCOMPARE(StoredScreens(), expected);
    QCOMPARE(m_run->Frame().StatusText(), QString::fromUtf8("Saved \u201CBig caps\u201D"));
    QVERIFY(prompter.texts.isEmpty());
  }

  void presetPageProposesItsLabelAndCancelKeepsAll() {
    ShowScreen(S, "/screener/value-stocks.html", "");
    const std::string before = FileBytes(ScreensFile());
    QString proposed;
    WhenModal<CSaveScreenDlg> cancel([&](CSaveScreenDlg& dialog) {
      proposed = dialog.NameEdit()->text();
      QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    m_run->Frame().RunCommand(kCmdSaveScreen);
    QVERIFY(cancel.Ran());
    QCOMPARE(proposed, QStringLiteral("Value stocks"));
    QVERIFY(m_run->App().Screens().empty());
    QCOMPARE(FileBytes(ScreensFile()), before);
  }

  void sameNameOnTheOtherScreenerThenTheReplaceQuestion() {
    RecordingPrompter prompter;
    ShowScreen(S, "/screener.html", "dy=1.5..");
    SaveAs(QStringLiteral("Big caps"));
    ShowScreen(E, "/etf-screener.html", "sort=-aum");
    QString hint;
    SaveAs(QStringLiteral("Big caps"), nullptr, &hint);
    QVERIFY(hint.contains(QStringLiteral("of the ETF screener")));
    QVERIFY(prompter.texts.isEmpty());  // no question for the other screener
    QCOMPARE(m_run->App().Screens().size(), std::size_t(2));

    // No: neither the store nor the file changes, and the dialog does not come back.
    ShowScreen(E, "/etf-screener.html", "page=2");
    const ScreenStore store = m_run->App().Screens();
    const std::string file = FileBytes(ScreensFile());
    prompter.answer = false;
    SaveAs(QStringLiteral("Big caps"));
    QCOMPARE(prompter.texts,
             QStringList{QString::fromUtf8(
                 "A screen named \u201CBig caps\u201D already exists. Replace it?")});
    QCOMPARE(prompter.icons.front(), PromptIcon::Question);
    QCOMPARE(m_run->App().Screens(), store);
    QCOMPARE(FileBytes(ScreensFile()), file);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    // Yes: replaced in its place.
    prompter.answer = true;
    SaveAs(QStringLiteral("Big caps"));
    QCOMPARE(m_run->App().Screens().size(), std::size_t(2));
    QCOMPARE(m_run->App().Screens()[1],
             (SavedScreen{"Big caps", E, "/etf-screener.html", "page=2"}));
    QCOMPARE(StoredScreens(), m_run->App().Screens());
  }

  // A new screen beyond 500 would be dropped at the next start: it is refused, and
  // replacing one stays possible.
  void aFullStoreRefusesNewNamesOnly() {
    RecordingPrompter prompter;
    prompter.answer = true;
    ScreenStore& store = m_run->App().Screens();
    for (int i = 0; i < 500; ++i)
      store.push_back({"n" + std::to_string(i), S, "/screener.html", ""});
    ShowScreen(S, "/screener.html", "sort=-cap");
    SaveAs(QStringLiteral("One more"));
    QCOMPARE(prompter.texts.size(), 1);
    QCOMPARE(prompter.icons.front(), PromptIcon::Information);
    QVERIFY(
        prompter.texts.front().startsWith(QString::fromUtf8("\u201COne more\u201D was not saved")));
    QVERIFY(prompter.texts.front().contains(QStringLiteral("at most 500")));
    QCOMPARE(store.size(), std::size_t(500));
    QCOMPARE(FindScreen(store, S, "One more"), -1);

    SaveAs(QStringLiteral("n7"));
    QCOMPARE(prompter.texts.size(), 2);  // the replace question
    QCOMPARE(store.size(), std::size_t(500));
    QCOMPARE(store[7].hash, std::string("sort=-cap"));
    QCOMPARE(StoredScreens().size(), std::size_t(500));
  }

  void openShowsTheScreenInItsTab() {
    ScreenStore& store = m_run->App().Screens();
    store = {{"Stock one", S, "/screener.html", "sort=-dy"},
             {"Cheap ETFs", E, "/screener/etf-low-cost.html", "page=2"}};
    m_run->Frame().SelectTab(0);
    WhenModal<CManageScreensDlg> open([&](CManageScreensDlg& dialog) {
      CScreenListView& list = *dialog.List();
      QCOMPARE(list.topLevelItem(0)->text(0), QStringLiteral("Stock one"));
      list.setCurrentItem(list.topLevelItem(1));
      QTest::mouseClick(dialog.OpenButton(), Qt::LeftButton);
    });
    m_run->Frame().RunCommand(kCmdOpenSavedScreen);
    QVERIFY(open.Ran());
    QCOMPARE(m_run->Frame().ActiveTab(), E);
    const std::string url = BuildScreenerUrl("/screener/etf-low-cost.html", "page=2");
    QVERIFY(WaitUntil([&] { return m_run->Active().CurrentUrl() == url; }, 30000));
  }

  void exportThenImportGivesTheSameScreens() {
    RecordingPrompter prompter;
    ScreenStore& store = m_run->App().Screens();
    const ScreenStore saved{{"Value", S, "/screener/value-stocks.html", ""},
                            {"Bonds", E, "/screener/etf-bond.html", "q=us%20treasury"},
                            {"Value", E, "/etf-screener.html", "sort=-aum"}};
    store = saved;
    const QString path = Temp(QStringLiteral("exported.json"));
    QFile::remove(path);
    prompter.fileAnswers = {FileAnswer{path, 0}};
    m_run->Frame().RunCommand(kCmdExportScreens);
    QCOMPARE(prompter.fileRequests.size(), 1);
    const FileRequest& request = prompter.fileRequests.front();
    QVERIFY(request.save);
    QCOMPARE(request.fileName, QStringLiteral("Velquist screens.json"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("json"));
    QCOMPARE(request.filters, QStringList{QStringLiteral("Saved screens (*.json)")});
    QVERIFY(prompter.texts.isEmpty());  // nothing is said on success
    QCOMPARE(FileBytes(path.toStdString()), ScreensFileText(saved));

    // Into an empty store: the same screens in the same order.
    store.clear();
    prompter.fileAnswers = {FileAnswer{path, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(prompter.fileRequests.back().save, false);
    QCOMPARE(
        prompter.fileRequests.back().filters,
        (QStringList{QStringLiteral("Saved screens (*.json)"), QStringLiteral("All files (*)")}));
    QCOMPARE(prompter.texts, QStringList{QStringLiteral("Imported 3 screens.")});
    QCOMPARE(store, saved);
    QCOMPARE(StoredScreens(), saved);

    // Again: all present, so all come in under " (2)" names.
    prompter.fileAnswers = {FileAnswer{path, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(prompter.texts.back(), QStringLiteral("Imported 3 screens."));
    QCOMPARE(store.size(), std::size_t(6));
    QCOMPARE(store[3].name, std::string("Value (2)"));
    QCOMPARE(store[4].name, std::string("Bonds (2)"));
    QCOMPARE(store[5].name, std::string("Value (2)"));
    QCOMPARE(store[5].kind, E);

    // Cancelled: nothing at all.
    const int shown = int(prompter.texts.size());
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(int(prompter.texts.size()), shown);
  }

  void importReportsZeroAndWhatDidNotFit() {
    RecordingPrompter prompter;
    const QString empty = Temp(QStringLiteral("empty.json"));
    WriteFile(empty, R"({"version": 1, "screens": []})");
    prompter.fileAnswers = {FileAnswer{empty, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(prompter.texts, QStringList{QStringLiteral("Imported 0 screens.")});
    QCOMPARE(prompter.icons.back(), PromptIcon::Information);

    ScreenStore& store = m_run->App().Screens();
    for (int i = 0; i < 499; ++i)
      store.push_back({"n" + std::to_string(i), S, "/screener.html", ""});
    const QString two = Temp(QStringLiteral("two.json"));
    WriteFile(two, QByteArray::fromStdString(ScreensFileText(
                       {{"a", S, "/screener.html", ""}, {"b", S, "/screener.html", ""}})));
    prompter.fileAnswers = {FileAnswer{two, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QVERIFY(prompter.texts.back().startsWith(
        QStringLiteral("Imported 1 screen.\n\n1 screen was left out: Velquist keeps at most 500")));
    QCOMPARE(store.size(), std::size_t(500));
  }

  void aCorruptImportFileChangesNothing() {
    RecordingPrompter prompter;
    ScreenStore& store = m_run->App().Screens();
    store = {{"Keep", S, "/screener.html", ""}};
    QVERIFY(m_run->App().SaveAppState(nullptr));
    const std::string file = FileBytes(ScreensFile());
    const QString corrupt = Temp(QStringLiteral("corrupt.json"));
    WriteFile(corrupt, "{\"screens\": [{\"name\": \"x\",");
    prompter.fileAnswers = {FileAnswer{corrupt, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(prompter.texts.size(), 1);
    QVERIFY(prompter.texts.front().startsWith(
        QStringLiteral("This file does not contain saved screens.\n\n")));
    QVERIFY(prompter.texts.front().size() > 44);  // with the parser's reason
    QCOMPARE(prompter.icons.front(), PromptIcon::Exclamation);

    WriteFile(corrupt, R"({"version": 1})");
    prompter.fileAnswers = {FileAnswer{corrupt, 0}};
    m_run->Frame().RunCommand(kCmdImportScreens);
    QCOMPARE(prompter.texts.back(),
             QStringLiteral("This file does not contain saved screens.\n\nno \"screens\" list"));
    QCOMPARE(store, (ScreenStore{{"Keep", S, "/screener.html", ""}}));
    QCOMPARE(FileBytes(ScreensFile()), file);
  }

  void exportToAnUnwritablePlaceSaysSo() {
    RecordingPrompter prompter;
    m_run->App().Screens() = {{"Keep", S, "/screener.html", ""}};
    const QString blocker = Temp(QStringLiteral("not-a-folder"));
    WriteFile(blocker, "x");
    // Below a regular file nothing can be created, whoever runs the test.
    prompter.fileAnswers = {FileAnswer{blocker + QStringLiteral("/out.json"), 0}};
    m_run->Frame().RunCommand(kCmdExportScreens);
    QCOMPARE(prompter.texts, QStringList{QStringLiteral("The file could not be written.")});
    QCOMPARE(prompter.icons.front(), PromptIcon::Error);
  }

  // Last: it restarts the program.
  void aSavedScreenShowsTheSameRowsAfterARestart() {
    ShowScreen(S, "/screener.html",
               "dy=2..&sector=technology,healthcare&cols=s,name,dy,ch1y&sort=-dy");
    QVERIFY(WaitUntil([&] { return Results(m_run->ActivePage(), LookMs).contains("\"rows\""); }));
    const QString before = Results(m_run->ActivePage());
    QVERIFY(before.contains(QStringLiteral("\"total\"")));
    SaveAs(QStringLiteral("Tech dividends"));
    // Leave the screen, so that only the saved screen can bring it back.
    m_run->Frame().RunCommand(kCmdResetFilters);
    QVERIFY(WaitUntil(
        [&] { return m_run->Active().CurrentUrl() == BuildScreenerUrl("/screener.html", ""); }));
    // The default view shows other rows, so equal results below come from the saved screen.
    QVERIFY(WaitUntil([&] {
      const QString rows = Results(m_run->ActivePage(), LookMs);
      return rows.contains(QStringLiteral("\"rows\"")) && rows != before;
    }));
    m_run.reset();

    m_run = std::make_unique<ProgramRun>();
    QVERIFY(m_run->Start());
    QVERIFY(m_run->WaitForResults());
    QCOMPARE(m_run->App().Screens().size(), std::size_t(1));
    WhenModal<CManageScreensDlg> open([&](CManageScreensDlg& dialog) {
      CScreenListView& list = *dialog.List();
      QCOMPARE(list.topLevelItemCount(), 1);
      QCOMPARE(list.topLevelItem(0)->text(0), QStringLiteral("Tech dividends"));
      QTest::keyClick(&list, Qt::Key_Return);
    });
    m_run->Frame().RunCommand(kCmdOpenSavedScreen);
    QVERIFY(open.Ran());
    const std::string url = BuildScreenerUrl(
        "/screener.html", "dy=2..&sector=technology,healthcare&cols=s,name,dy,ch1y&sort=-dy");
    QVERIFY(WaitUntil([&] { return m_run->Active().CurrentUrl() == url; }, 30000));
    QVERIFY(WaitUntil([&] { return Results(m_run->ActivePage(), LookMs) == before; }, 30000));
  }

 private:
  // Shows a screen in a tab and waits until the tab reports it.
  void ShowScreen(ScreenerKind kind, const std::string& path, const std::string& hash) {
    m_run->Frame().SelectTab(static_cast<int>(kind));
    const std::string url = BuildScreenerUrl(path, hash);
    m_run->Active().Navigate(url);
    QVERIFY(WaitUntil([&] { return m_run->Active().CurrentUrl() == url; }, 30000));
  }

  // Save Screen with the name typed into the dialog; what it proposed and its hint.
  void SaveAs(const QString& name, QString* proposed = nullptr, QString* hint = nullptr) {
    WhenModal<CSaveScreenDlg> save([&](CSaveScreenDlg& dialog) {
      if (proposed) *proposed = dialog.NameEdit()->text();
      if (hint) *hint = dialog.Hint()->text();
      dialog.NameEdit()->selectAll();
      QTest::keyClicks(dialog.NameEdit(), name);
      QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    });
    m_run->Frame().RunCommand(kCmdSaveScreen);
    QVERIFY(save.Ran());
  }

  std::unique_ptr<ProgramRun> m_run;
};

VELQUIST_E2E_TEST_MAIN(E2eSavedScreensTest)
#include "e2e_saved_screens_test.moc"
