// Export end to end against the demo site: Ctrl+E in the running program, the page's
// results, the Save As answer, the file on disk read back by openpyxl and Python's csv
// module against getResults() in the page; the format decision through the real dialog;
// failed writes; and every answer of the page that is not a list of rows.
#include <sched.h>
#include <sys/mount.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>

#include "gui/app/screener_app.h"
#include "gui/print/print_command.h"
#include "gui/results/results_request.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/save_file_dialog.h"
#include "gui/web/web_host.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_opener.h"
#include "support/recording_prompter.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

bool g_privateMounts = false;

// Mounts made by this test stay inside its own process tree and end with it.
bool EnterPrivateMountNamespace() {
  return unshare(CLONE_NEWNS) == 0 &&
         mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool MountReadOnly(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder);
  if (mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0) return false;
  if (mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0) {
    return true;
  }
  umount(path.constData());
  return false;
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString Grouped(qsizetype n) {
  QString digits = QString::number(n);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  return digits;
}

const char* const kWriteFailed =
    "The file could not be written.\n\nIf it is open in Excel, close it there and try again.";

}  // namespace

class E2eExportTest : public QObject {
  Q_OBJECT
 private:
  CMainFrame& Frame() { return m_run.Frame(); }
  CResultsRequest& Results() { return Frame().Results(); }

  // The Export command; true once the reply has been handled to its end.
  bool ExportNow() {
    QSignalSpy handled(&Results(), &CResultsRequest::replyHandled);
    Frame().RunCommand(kCmdExportResults);
    return handled.wait(30000);
  }

  // What the page's hook returns now, as JSON text saved in a file of its own.
  QString SavePageResults(const QString& name, QWebEnginePage* page) {
    const QString json =
        EvalJs(page, "JSON.stringify(window.VXScreener.getResults())", 30000).toString();
    const QString path = m_dir.filePath(name);
    return WriteBytes(path, json.toUtf8()) ? path : QString();
  }

  int PageRowCount() {
    return EvalJs(m_run.ActivePage(), "window.VXScreener.getResults().rows.length").toInt();
  }

  // Reads the file back with Python's readers and compares it with the page's results.
  void CheckAgainstPage(const QString& file, const QString& form, QWebEnginePage* page = nullptr) {
    const QString results = SavePageResults(QFileInfo(file).fileName() + ".page.json",
                                            page ? page : m_run.ActivePage());
    QVERIFY(!results.isEmpty());
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral(VELQUIST_PYTHON3),
                {QStringLiteral(VELQUIST_SOURCE_DIR "/tests/gui/e2e/export_check.py"), results,
                 file, form, QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size()))});
    QVERIFY(check.waitForFinished(120000));
    const QString output = QString::fromUtf8(check.readAll()).trimmed();
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0,
             qPrintable(output));
    qInfo("%s", qPrintable(output));
  }

  // Exports with the answer given (type -1: the dialog set by TypeInDialog answers),
  // expecting the file written at written (path when empty) and the question asked.
  void ExportTo(const QString& path, int type, const QString& form, QString written = {},
                int questionsBefore = 0) {
    if (written.isEmpty()) written = path;
    m_prompter.texts.clear();
    if (type >= 0) m_prompter.fileAnswers = {{path, type}};
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.texts.size(), 1 + questionsBefore);
    QVERIFY2(m_prompter.texts.last().endsWith(QStringLiteral("\u201D.\n\nOpen it now?")),
             qPrintable(m_prompter.texts.last()));
    QVERIFY(QFileInfo::exists(written));
    QVERIFY(!QFileInfo::exists(written + ".tmp"));
    CheckAgainstPage(written, form);
  }

  // The next Save As question is answered by the real dialog, with typed in folder and
  // the type entry selected.
  void TypeInDialog(const QString& folder, const QString& typed, int type) {
    m_prompter.onFile = [folder, typed, type](QWidget* parent, const FileRequest& request,
                                              FileAnswer& answer) {
      CSaveFileDialog dialog(parent, request);
      dialog.setDirectory(folder);
      dialog.selectNameFilter(request.filters[type]);
      dialog.selectFile(typed);
      dialog.open();
      dialog.accept();
      if (dialog.isVisible()) dialog.reject();
      return dialog.Answer(answer);
    };
  }

  void ExpectWriteFailure(const QString& path, int type) {
    m_prompter.texts.clear();
    m_prompter.icons.clear();
    m_prompter.fileAnswers = {{path, type}};
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.texts, QStringList{QString::fromUtf8(kWriteFailed)});
    QCOMPARE(m_prompter.icons[0], PromptIcon::Exclamation);
    QVERIFY(!QFileInfo::exists(path + ".tmp"));
    QCOMPARE(Frame().StatusText(), QStringLiteral("Ready"));  // the normal text, as before
  }

  void Navigate(const std::string& fragmentUrl) {
    const std::string before = m_run.Active().CurrentUrl();
    m_run.Active().Navigate(fragmentUrl);
    QVERIFY(WaitUntil([&] { return m_run.Active().CurrentUrl() == fragmentUrl; }, 30000));
    QVERIFY(m_run.WaitForResults());
  }

  // The page's hook counts its calls and, with delayMs, answers only after that long.
  void WrapHook(QWebEnginePage* page, int delayMs) {
    QVERIFY(
        EvalJs(page, QStringLiteral("(function () { var q = window.VXScreener, g = q.getResults;"
                                    " window.__calls = 0; q.getResults = function () {"
                                    " window.__calls++; var end = Date.now() + %1;"
                                    " while (Date.now() < end) {} return g.apply(q, arguments); };"
                                    " window.__unwrap = function () { q.getResults = g; };"
                                    " return true; })()")
                         .arg(delayMs))
            .toBool());
  }
  int HookCalls(QWebEnginePage* page) { return EvalJs(page, "window.__calls").toInt(); }

  // Ctrl+E for an answer of the page that is not a list of rows: the message shown.
  void ExpectMessage(const QString& text, PromptIcon icon) {
    m_prompter.texts.clear();
    m_prompter.icons.clear();
    const qsizetype questions = m_prompter.fileRequests.size();
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.texts, QStringList{text});
    QCOMPARE(m_prompter.icons[0], icon);
    QCOMPARE(m_prompter.fileRequests.size(), questions);
    QCOMPARE(Results().Pending(), ResultsRequest::None);
  }

  void Reload() {
    EvalJs(m_run.ActivePage(), "window.__stale = true");
    Frame().RunCommand(kCmdRefresh);
    QVERIFY(WaitUntil(
        [&] { return EvalJs(m_run.ActivePage(), "window.__stale === true").toBool() == false; },
        30000));
  }

  RecordingPrompter m_prompter;
  RecordingOpener m_opener;
  ProgramRun m_run;
  QTemporaryDir m_dir;

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Frame()));
  }
  void cleanupTestCase() { m_run.Close(); }
  void cleanup() {
    m_prompter.texts.clear();
    m_prompter.icons.clear();
    m_prompter.onFile = nullptr;
    m_prompter.fileAnswers.clear();
    m_prompter.answer = false;
    Site().Control("/reset");
  }

  // The ETF tab is first shown while the site is down: it never had a screener page, so
  // Export is refused with the beep alone.
  void exportWithoutAScreenerPageOnlyBeeps() {
    Site().Stop();
    Frame().SelectTab(1);
    const bool offline = WaitUntil([&] { return m_run.Active().IsOffline(); }, 30000);
    const bool noScreen = m_run.Active().CurrentUrl().empty();
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    const int beeps = m_prompter.beeps;
    QVERIFY(Site().Start());
    Frame().RunCommand(kCmdRefresh);
    const bool back = m_run.WaitForResults();
    Frame().SelectTab(0);
    QVERIFY(offline);
    QVERIFY(noScreen);
    QCOMPARE(beeps, 1);
    QCOMPARE(Results().Pending(), ResultsRequest::None);
    QVERIFY(m_prompter.texts.isEmpty());
    QVERIFY(m_prompter.fileRequests.isEmpty());
    QVERIFY(back);
    QVERIFY(m_run.WaitForResults());
    m_prompter.beeps = 0;
  }

  void ctrlETwiceQuicklyRunsTheScriptOnce() {
    QWebEnginePage* page = m_run.ActivePage();
    WrapHook(page, 0);
    QSignalSpy handled(&Results(), &CResultsRequest::replyHandled);
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(Results().Pending(), ResultsRequest::Export);
    QCOMPARE(Frame().StatusText(), QStringLiteral("Preparing the export\u2026"));
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(handled.wait(30000));
    QCOMPARE(HookCalls(page), 1);
    QCOMPARE(handled.count(), 1);
    QCOMPARE(m_prompter.fileRequests.size(), 1);  // cancelled by the empty answer
    QCOMPARE(m_prompter.beeps, 0);
    QVERIFY(m_prompter.texts.isEmpty());
    QCOMPARE(Frame().StatusText(), QStringLiteral("Ready"));
    // A slow page: the second press lands while the first is surely pending.
    EvalJs(page, "window.__unwrap(); true");
    WrapHook(page, 1500);
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(handled.wait(30000));
    QCOMPARE(HookCalls(page), 1);
    QCOMPARE(m_prompter.fileRequests.size(), 2);
    QCOMPARE(m_prompter.beeps, 0);
    EvalJs(page, "window.__unwrap(); true");
  }

  void hookReturningNullSaysTheScreenerIsLoading() {
    Site().Control("/set?null_results_ms=600000");
    Reload();
    QVERIFY(m_run.WaitForResults());
    ExpectMessage(QStringLiteral("The screener is still loading. Please try again in a moment."),
                  PromptIcon::Information);
  }

  void pageWithoutTheHookAsksForARefresh() {
    Site().Control("/set?hook=off");
    Reload();
    QVERIFY(m_run.WaitForResults());
    QVERIFY(!EvalJs(m_run.ActivePage(), "'VXScreener' in window").toBool());
    ExpectMessage(QStringLiteral("Export needs the latest version of the screener page.\n\nClick "
                                 "Refresh (F5) and try again."),
                  PromptIcon::Information);
  }

  // The offline page stands in for a page that failed (503, or no site at all); the tab
  // keeps its screen, and the page it shows has no hook.
  void offlinePageAsksForARefresh() {
    const QString refresh = QStringLiteral(
        "Export needs the latest version of the screener page.\n\nClick Refresh (F5) and try "
        "again.");
    Site().Control("/set?pages=503");
    Frame().RunCommand(kCmdRefresh);
    QVERIFY(WaitUntil([&] { return m_run.Active().IsOffline(); }, 30000));
    ExpectMessage(refresh, PromptIcon::Information);
    Site().Control("/reset");
    Site().Stop();
    Frame().RunCommand(kCmdRefresh);
    QVERIFY(WaitUntil([&] { return m_run.Active().IsOffline(); }, 30000));
    ExpectMessage(refresh, PromptIcon::Information);
    QVERIFY(Site().Start());
    Frame().RunCommand(kCmdRefresh);
    QVERIFY(WaitUntil([&] { return !m_run.Active().IsOffline(); }, 30000));
    QVERIFY(m_run.WaitForResults());
    QCOMPARE(m_prompter.beeps, 0);
  }

  void defaultStockScreenToEachFormat() {
    const int rows = PageRowCount();
    QVERIFY(rows > 0);
    m_prompter.answer = true;  // open it
    ExportTo(m_dir.filePath("stocks.xlsx"), 0, "xlsx");
    const FileRequest& question = m_prompter.fileRequests.last();
    QVERIFY(question.save);
    QCOMPARE(question.title, "Export " + Grouped(rows) + " stocks");
    QCOMPARE(question.fileName, QStringLiteral("Stock screener 2025-06-13"));
    QCOMPARE(question.filter, 0);
    QCOMPARE(question.filters,
             QStringList({"Excel workbook (*.xlsx)", "CSV for Excel, UTF-8 with BOM (*.csv)",
                          "Plain CSV, UTF-8 without BOM (*.csv)"}));
    const QString count = Grouped(rows) + " stocks";
    QCOMPARE(m_prompter.texts[0],
             "Exported " + count + " to \u201Cstocks.xlsx\u201D.\n\nOpen it now?");
    QCOMPARE(m_prompter.icons[0], PromptIcon::Information);
    QCOMPARE(Frame().StatusText(), "Exported " + count + " to stocks.xlsx");
    QCOMPARE(m_opener.opened.size(), 1);
    QCOMPARE(m_opener.opened[0], QUrl::fromLocalFile(m_dir.filePath("stocks.xlsx")));

    m_prompter.answer = false;
    ExportTo(m_dir.filePath("stocks-excel.csv"), 1, "excelcsv");
    ExportTo(m_dir.filePath("stocks-plain.csv"), 2, "plaincsv");
    QCOMPARE(m_opener.opened.size(), 1);  // No opens nothing
    // The last format is offered first next time.
    m_prompter.fileAnswers.clear();
    m_prompter.texts.clear();
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.fileRequests.last().filter, 2);
    QCOMPARE(m_prompter.texts.size(), 0);  // cancelled: nothing said
  }

  void filteredStockScreen() {
    Navigate(
        SiteUrl("/screener.html#dy=2..&sector=technology,healthcare&cols=s,name,sector,"
                "dy,ch1y,rating,ma,ipo,de,quality,pe&sort=-dy"));
    const int rows = PageRowCount();
    QVERIFY(rows > 0);
    QVERIFY(rows < 6000);
    ExportTo(m_dir.filePath("filtered.xlsx"), 0, "xlsx");
    ExportTo(m_dir.filePath("filtered.csv"), 1, "excelcsv");
    ExportTo(m_dir.filePath("filtered-plain.csv"), 2, "plaincsv");
  }

  void etfScreens() {
    Frame().SelectTab(1);
    QVERIFY(m_run.WaitForResults());
    ExportTo(m_dir.filePath("etfs.xlsx"), 0, "xlsx");
    QCOMPARE(m_prompter.fileRequests.last().fileName, QStringLiteral("ETF screener 2025-06-13"));
    QVERIFY(m_prompter.fileRequests.last().title.endsWith(" ETFs"));
    ExportTo(m_dir.filePath("etfs.csv"), 1, "excelcsv");
    Navigate(SiteUrl("/etf-screener.html#er=..0.2&cols=s,name,er,dy,lev,ma,inception&sort=er"));
    ExportTo(m_dir.filePath("etfs-filtered.xlsx"), 0, "xlsx");
    ExportTo(m_dir.filePath("etfs-filtered.csv"), 2, "plaincsv");
    Frame().SelectTab(0);
    QVERIFY(m_run.WaitForResults());
  }

  // The format decision of the Save As dialog's answer, made on the real dialog: the typed
  // name, the selected type, the question before replacing the file that will be written.
  void formatDecisionThroughTheDialog() {
    QDir(m_dir.path()).mkdir("table");
    const QString folder = m_dir.filePath("table");
    const struct {
      const char* typed;
      int type;
      const char* written;
      const char* form;
    } cases[] = {
        {"report.CSV", 0, "report.CSV", "excelcsv"},
        {"report", 0, "report.xlsx", "xlsx"},
        {"report.txt", 2, "report.txt.csv", "plaincsv"},
    };
    for (const auto& c : cases) {
      TypeInDialog(folder, c.typed, c.type);
      ExportTo(folder + "/" + c.typed, -1, c.form, folder + "/" + c.written);
    }
    QVERIFY(!QFileInfo::exists(folder + "/report.txt"));
    QVERIFY(!QFileInfo::exists(folder + "/report"));

    // report.xlsx exists now: typed with the plain CSV entry it is replaced by a workbook,
    // after the question; No keeps the dialog open and the file as it was.
    const QByteArray workbook = ReadBytes(folder + "/report.xlsx");
    TypeInDialog(folder, "report.xlsx", 2);
    m_prompter.answer = false;
    m_prompter.texts.clear();
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.texts,
             QStringList{"\u201Creport.xlsx\u201D already exists.\nDo you want to replace it?"});
    QCOMPARE(ReadBytes(folder + "/report.xlsx"), workbook);
    QCOMPARE(m_prompter.fileRequests.last().filter, 2);  // plain CSV was last
    m_prompter.answer = true;
    TypeInDialog(folder, "report.xlsx", 2);
    ExportTo(folder + "/report.xlsx", -1, "xlsx", folder + "/report.xlsx", 1);
    QCOMPARE(m_prompter.fileRequests.last().filter, 2);
    QCOMPARE(m_opener.opened.last(), QUrl::fromLocalFile(folder + "/report.xlsx"));
    // The next dialog offers the workbook, the format last written.
    m_prompter.fileAnswers.clear();
    m_prompter.onFile = nullptr;
    QVERIFY(ExportNow());
    QCOMPARE(m_prompter.fileRequests.last().filter, 0);
  }

  // Targets that cannot be written: the message, and an existing file stays as it was, with
  // no temporary file left beside it. The dialog refuses such a target by itself; the
  // write is checked with the answer given directly.
  void unwritableTargets() {
    const QByteArray old("old bytes, not a workbook\n");
    const QString locked = m_dir.filePath("locked.xlsx");
    QVERIFY(WriteBytes(locked, old));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ExpectWriteFailure(locked, 0);
    QCOMPARE(ReadBytes(locked), old);

    QVERIFY(WriteBytes(m_dir.filePath("plainfile"), old));
    ExpectWriteFailure(m_dir.filePath("plainfile/report.csv"), 1);

    // The dialog: the message, and it stays open until cancelled.
    m_prompter.texts.clear();
    bool stayedOpen = false;
    m_prompter.onFile = [&](QWidget* parent, const FileRequest& request, FileAnswer& answer) {
      CSaveFileDialog dialog(parent, request);
      dialog.setDirectory(m_dir.path());
      dialog.selectNameFilter(request.filters[0]);
      dialog.selectFile("locked");
      dialog.open();
      dialog.accept();
      stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
      dialog.reject();
      return dialog.Answer(answer);
    };
    QVERIFY(ExportNow());
    QVERIFY(stayedOpen);
    QCOMPARE(m_prompter.texts,
             QStringList{"\u201Clocked.xlsx\u201D cannot be written: the file or its folder is "
                         "read-only.\nChoose another name or folder."});
    m_prompter.onFile = nullptr;

    if (!g_privateMounts) QSKIP("no mount namespace of its own here: no read-only folder");
    const QString folder = m_dir.filePath("readonly");
    QVERIFY(QDir(m_dir.path()).mkdir("readonly"));
    QVERIFY(WriteBytes(folder + "/old.csv", old));
    QVERIFY(MountReadOnly(folder));
    ExpectWriteFailure(folder + "/old.csv", 1);
    ExpectWriteFailure(folder + "/new.xlsx", 0);
    QCOMPARE(ReadBytes(folder + "/old.csv"), old);
    QVERIFY(!QFileInfo::exists(folder + "/new.xlsx"));
    QVERIFY(umount(QFile::encodeName(folder).constData()) == 0);
  }

  // The reply of a page that answers slowly arrives after the user switched tabs: it is
  // handled as any reply, with the rows of the tab that was asked.
  void replyAfterTheTabChanged() {
    QWebEnginePage* stocks = m_run.ActivePage();
    WrapHook(stocks, 2000);
    QSignalSpy handled(&Results(), &CResultsRequest::replyHandled);
    m_prompter.texts.clear();
    m_prompter.fileAnswers = {{m_dir.filePath("late.csv"), 2}};
    QTest::keyClick(&Frame(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(Results().Pending(), ResultsRequest::Export);
    Frame().SelectTab(1);
    QCOMPARE(Results().Pending(), ResultsRequest::Export);
    QVERIFY(handled.wait(30000));
    QCOMPARE(Frame().ActiveTab(), ScreenerKind::Etfs);
    QVERIFY(m_prompter.fileRequests.last().title.endsWith(" stocks"));
    QCOMPARE(m_prompter.fileRequests.last().fileName, QStringLiteral("Stock screener 2025-06-13"));
    EvalJs(stocks, "window.__unwrap(); true");
    CheckAgainstPage(m_dir.filePath("late.csv"), "plaincsv", stocks);
    Frame().SelectTab(0);
  }

  // Ctrl+P takes the same road and hands the rows to the print command, which opens its
  // window; on a page without the hook the message speaks of printing.
  void printTakesTheSameRoad() {
    QSignalSpy handled(&Results(), &CResultsRequest::replyHandled);
    QTest::keyClick(&Frame(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(Results().Pending(), ResultsRequest::Print);
    QCOMPARE(Frame().StatusText(), QStringLiteral("Preparing the printout\u2026"));
    QVERIFY(handled.wait(30000));
    QVERIFY(Frame().Print().Window() != nullptr);
    QVERIFY(m_prompter.texts.isEmpty());  // 300 rows: no question
    Frame().Print().CloseWindow();
    QTRY_VERIFY(Frame().Print().Window() == nullptr);

    Site().Control("/set?hook=off");
    Reload();
    QVERIFY(m_run.WaitForResults());
    QVERIFY(QTest::qWaitForWindowActive(&Frame()));
    QTest::keyClick(&Frame(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(handled.wait(30000));
    QCOMPARE(m_prompter.texts,
             QStringList{"Printing needs the latest version of the screener page.\n\nClick Refresh "
                         "(F5) and try again."});
    Site().Control("/reset");
    Reload();
    QVERIFY(m_run.WaitForResults());
  }

 private:
  std::string SiteUrl(const char* pathAndFragment) {
    return std::string(SiteOrigin) + pathAndFragment;
  }
};

int main(int argc, char** argv) {
  g_privateMounts = EnterPrivateMountNamespace();
  return RunE2eTest<E2eExportTest>(argc, argv);
}

#include "e2e_export_test.moc"
