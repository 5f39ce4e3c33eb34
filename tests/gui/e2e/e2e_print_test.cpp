// The print command of the running program against the demo site: the question before a
// long printout, the print window over the main window with the preview it opens by
// itself, and the saved PDF of a report of the site's own rows.
#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include "gui/app/screener_app.h"
#include "gui/print/print_command.h"
#include "gui/print/print_preview.h"
#include "gui/print/report_scheme.h"
#include "gui/text/qt_text.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/main_frame.h"
#include "results/results_reader.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/pdf_tools.h"
#include "support/recording_prompter.h"
#include "ui/chrome_color_mode.h"

using namespace velquist;
using namespace velquist::test;

namespace {

constexpr int PreviewTimeoutMs = 90000;

const QString LongQuestion = QStringLiteral(
    "Print all 1,001 stocks?\n\nThat is a long printout. The print preview shows the number of "
    "pages, and you can print a page range or save a PDF there.");

}  // namespace

class E2ePrintTest : public QObject {
  Q_OBJECT
 private:
  ProgramRun m_run;
  ResultSet m_results;
  QTemporaryDir m_dir;

  // The first rows of the page's own results.
  ResultSet FirstRows(std::size_t rows) const {
    ResultSet set = m_results;
    set.rows.resize(rows);
    return set;
  }

  bool WaitForPreview(CPrintWnd* window) {
    if (!window) return false;
    QSignalSpy shown(window, &CPrintWnd::previewShown);
    return window->Preview().HasDocument() || shown.wait(PreviewTimeoutMs);
  }

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
    const QVariant json = EvalJs(m_run.ActivePage(),
                                 QStringLiteral("JSON.stringify(window.VXScreener.getResults())"));
    std::string error;
    QVERIFY2(ReadResults(ToUtf8(json.toString()), m_results, &error), error.c_str());
    QVERIFY2(m_results.rows.size() > 1001, qPrintable(QString::number(m_results.rows.size())));
  }

  void cleanupTestCase() { m_run.Close(); }

  void aThousandRowsAskNothing() {
    RecordingPrompter prompter;
    CMainFrame& frame = m_run.Frame();
    frame.Print().Run(FirstRows(1000));
    QVERIFY(prompter.texts.isEmpty());
    CPrintWnd* window = frame.Print().Window();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Print \u2014 Stock screener (1,000 stocks)"));
    QCOMPARE(window->geometry(), frame.geometry());
    QCOMPARE(frame.StatusText(), QStringLiteral("Print preview: 1,000 stocks"));
    QVERIFY(WaitForPreview(window));
    QCOMPARE(window->SchemeHandler().Served(), 1);
    QVERIFY(window->Preview().PageCount() > 1);
  }

  void aThousandAndOneRowsAskAndNoEndsIt() {
    CMainFrame& frame = m_run.Frame();
    QPointer<CPrintWnd> before = frame.Print().Window();
    QVERIFY(before);
    RecordingPrompter prompter;
    prompter.answer = false;
    frame.Print().Run(FirstRows(1001));
    QCOMPARE(prompter.texts, QStringList{LongQuestion});
    QCOMPARE(prompter.icons.first(), PromptIcon::Question);
    // Nothing else was done: the window of the last report is still the one shown.
    QCOMPARE(frame.Print().Window(), before.data());
    QCOMPARE(frame.StatusText(), QStringLiteral("Print preview: 1,000 stocks"));
  }

  void yesReplacesTheWindow() {
    CMainFrame& frame = m_run.Frame();
    QPointer<CPrintWnd> before = frame.Print().Window();
    RecordingPrompter prompter;
    prompter.answer = true;
    frame.Print().Run(FirstRows(1001));
    QCOMPARE(prompter.texts, QStringList{LongQuestion});
    QVERIFY(!before);  // destroyed before the next one opened
    QPointer<CPrintWnd> window = frame.Print().Window();
    QVERIFY(window);
    QCOMPARE(frame.StatusText(), QStringLiteral("Print preview: 1,001 stocks"));
    QVERIFY(WaitForPreview(window));
    QCOMPARE(window->SchemeHandler().Served(), 1);
  }

  void savedPdfOfThreeHundredStocks() {
    CMainFrame& frame = m_run.Frame();
    const ResultSet set = FirstRows(300);
    frame.Print().Run(set);
    CPrintWnd* window = frame.Print().Window();
    QVERIFY(WaitForPreview(window));
    RecordingPrompter prompter;
    const QString path = m_dir.filePath(QStringLiteral("stocks.pdf"));
    prompter.fileAnswers.append(FileAnswer{path, 0});
    QVERIFY(window->Preview().SaveAsPdf());
    const int pages = window->Preview().PageCount();
    QCOMPARE(PdfPageCount(path), pages);
    const QString all = PdfText(path);
    for (const ResultRow& row : set.rows) {
      const QString symbol = ToQString(row[0].text);
      QVERIFY2(all.contains(symbol), qPrintable(symbol));
    }
    QVERIFY(all.contains(QStringLiteral("Stock screener")));
    for (int page = 1; page <= pages; ++page) {
      QStringList lines;
      for (const QString& line : PdfText(path, page).split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty()) lines << line.simplified();
      }
      QVERIFY(!lines.isEmpty());
      QVERIFY2(lines.last().endsWith(QStringLiteral("Page %1 of %2").arg(page).arg(pages)),
               qPrintable(lines.last()));
      if (page > 1) {
        QVERIFY2(lines.first().startsWith(QStringLiteral("Stock screener")),
                 qPrintable(lines.first()));
      }
    }
    const QStringList fonts = PdfFonts(path);
    QVERIFY(!fonts.isEmpty());
    // The demo's screener shows more than eight columns: landscape pages.
    const QSizeF size = PdfPageSize(path);
    QCOMPARE(size.width() > size.height(), set.columns.size() > 8);
  }

  // Not a check: writes the print window's screenshots shown in README.md when
  // VELQUIST_SCREENSHOTS names a folder, in the mode VELQUIST_SCREENSHOT_MODE gives.
  void screenshots() {
    const QString folder = qEnvironmentVariable("VELQUIST_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("VELQUIST_SCREENSHOTS is not set");
    const bool dark = qEnvironmentVariable("VELQUIST_SCREENSHOT_MODE") == QStringLiteral("dark");
    CMainFrame& frame = m_run.Frame();
    m_run.App().Options().ColorMode = dark ? ColorMode::Dark : ColorMode::Light;
    frame.ColorModeChanged();
    frame.showNormal();
    frame.resize(1180, 760);
    frame.Print().Run(FirstRows(120));
    CPrintWnd* window = frame.Print().Window();
    QVERIFY(WaitForPreview(window));
    // Small enough to show a whole page with its margin texts.
    window->Preview().ZoomOut();
    window->Preview().ZoomOut();
    window->Preview().GoToPage(2);
    QTest::qWait(1500);
    const QString name = QStringLiteral("print-preview-%1.png")
                             .arg(dark ? QStringLiteral("dark") : QStringLiteral("light"));
    QVERIFY(window->screen()->grabWindow(window->winId()).save(QDir(folder).filePath(name)));
  }

  void closesWithTheMainWindow() {
    CMainFrame& frame = m_run.Frame();
    frame.Print().Run(FirstRows(5));
    QPointer<CPrintWnd> window = frame.Print().Window();
    QVERIFY(window);
    m_run.Close();
    QVERIFY(!window);
  }
};

int main(int argc, char** argv) {
  // Enough stocks for a printout above the long-printout limit.
  Site().SetUniverse(3000, 150, 0);
  return RunE2eTest<E2ePrintTest>(argc, argv);
}
#include "e2e_print_test.moc"
