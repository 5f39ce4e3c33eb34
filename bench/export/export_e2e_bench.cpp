// Ctrl+E to the file on disk in the running program, at the demo site's largest screen
// (50,000 stocks, all 64 columns shown), for the workbook and for CSV for Excel; the time
// split into the page's getResults(), its JSON text, the transfer into the program,
// ReadResults, building and writing; the peak resident memory the export adds to the
// program's process; and, as the yardstick, SheetJS writing the same rows to an XLSX
// inside the same page. bench/export/run builds and starts it.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/files.h"
#include "export/csv.h"
#include "export/export_target.h"
#include "export/xlsx.h"
#include "gui/results/results_request.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "results/results_reader.h"
#include "results/results_reply.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "support/recording_prompter.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// The process's resident set now and its peak since the last reset, in MiB.
double StatusMiB(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0.0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field))
      return line.mid(int(strlen(field))).trimmed().split(' ')[0].toDouble() / 1024.0;
  }
  return 0.0;
}

void ResetPeakMemory() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// Stamps the moment the script's answer reaches the window's queue.
class ReplyWatch : public QObject {
 public:
  std::chrono::steady_clock::time_point arrived;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() >= QEvent::User) arrived = std::chrono::steady_clock::now();
    return false;
  }
};

// The program asks "Open it now?" once the file is complete on disk: that is the moment
// the file is written. What follows (the question, freeing the results) is the reply's
// own end, not the export's writing, and is reported apart.
class StampingPrompter : public RecordingPrompter {
 public:
  std::chrono::steady_clock::time_point asked;
  bool Ask(QWidget* parent, PromptIcon icon, const QString& text) override {
    asked = std::chrono::steady_clock::now();
    return RecordingPrompter::Ask(parent, icon, text);
  }
};

struct ExportRun {
  double total = 0, script = 0, program = 0, read = 0, buildAndWrite = 0, peakAdded = 0;
  double afterWritten = 0;
};

class ExportBench : public QObject {
  Q_OBJECT
 private slots:
  void ctrlEAtTheLargestScreen() {
    ProgramRun run;
    QVERIFY(run.Start());
    QVERIFY(run.WaitForResults(600000));
    QWebEnginePage* page = run.ActivePage();
    // Every column of the data file, in the page's fragment.
    EvalJs(page,
           "window.__keys = null; fetch('/data/screener/screener.json').then(r => r.json())"
           ".then(d => { window.__keys = d.columns.map(c => c.key).join(','); }); true");
    QVERIFY(WaitUntil([&] { return !EvalJs(page, "window.__keys").isNull(); }, 600000));
    const QString keys = EvalJs(page, "window.__keys").toString();
    const std::string url = std::string(SiteOrigin) + "/screener.html#cols=" + keys.toStdString();
    run.Active().Navigate(url);
    QVERIFY(WaitUntil([&] { return run.Active().CurrentUrl() == url; }, 600000));
    QVERIFY(run.WaitForResults(600000));
    const QVariantList shape = EvalJs(page,
                                      "(function () { var r = window.VXScreener.getResults();"
                                      " return [r.rows.length, r.columns.length]; })()",
                                      120000)
                                   .toList();
    QCOMPARE(shape.size(), 2);
    std::printf("screen: %d rows x %d page columns\n", shape[0].toInt(), shape[1].toInt());

    PageFigures(page);
    QTemporaryDir dir;
    StampingPrompter prompter;
    for (int type : {0, 1}) {
      std::vector<ExportRun> runs;
      for (int i = 0; i < 3; ++i) {
        const QString path = dir.filePath(type == 0 ? "bench.xlsx" : "bench.csv");
        runs.push_back(CtrlE(run, prompter, path, type));
      }
      auto median = [&](double ExportRun::*field) {
        std::vector<double> v;
        for (const ExportRun& r : runs) v.push_back(r.*field);
        return Median(v);
      };
      std::printf(
          "%s, median of 3: Ctrl+E to the file written %.0f ms; script run until its answer is "
          "in the window's queue %.0f ms; the program's share after that %.0f ms (ReadResults "
          "and the dialog's question %.0f ms, building and writing %.0f ms); peak resident "
          "memory added %.0f MiB; the reply's end after the file is written (freeing the "
          "results) %.0f ms\n",
          type == 0 ? "XLSX" : "CSV for Excel", median(&ExportRun::total),
          median(&ExportRun::script), median(&ExportRun::program), median(&ExportRun::read),
          median(&ExportRun::buildAndWrite), median(&ExportRun::peakAdded),
          median(&ExportRun::afterWritten));
    }
    Components(run, dir);
    // bench/export/run installs SheetJS and names its script here.
    const QString sheetJs = qEnvironmentVariable("VELQUIST_SHEETJS");
    if (!sheetJs.isEmpty()) SheetJs(page, sheetJs);
    run.Close();
  }

 private:
  // In the page alone: getResults() and the JSON text of its value.
  void PageFigures(QWebEnginePage* page) {
    std::vector<double> results, json;
    double bytes = 0;
    for (int i = 0; i < 3; ++i) {
      const QVariantList t =
          EvalJs(page,
                 "(function () { var a = performance.now();"
                 " var r = window.VXScreener.getResults(); var b = performance.now();"
                 " var s = JSON.stringify(r); var c = performance.now();"
                 " return [b - a, c - b, s.length]; })()",
                 120000)
              .toList();
      if (t.size() != 3) continue;
      results.push_back(t[0].toDouble());
      json.push_back(t[1].toDouble());
      bytes = t[2].toDouble();
    }
    std::printf(
        "in the page, median of 3: getResults() %.0f ms; JSON.stringify %.0f ms (%.1f MB of "
        "text)\n",
        Median(results), Median(json), bytes / 1e6);
  }

  ExportRun CtrlE(ProgramRun& run, StampingPrompter& prompter, const QString& path, int type) {
    using Clock = std::chrono::steady_clock;
    ExportRun figures;
    ReplyWatch watch;
    run.Frame().Results().installEventFilter(&watch);
    Clock::time_point asked, written, handledAt;
    prompter.onFile = [&](QWidget*, const FileRequest&, FileAnswer& answer) {
      asked = Clock::now();
      answer = {path, type};
      return true;
    };
    prompter.answer = false;
    prompter.texts.clear();
    prompter.asked = {};
    QSignalSpy handled(&run.Frame().Results(), &CResultsRequest::replyHandled);
    const double before = StatusMiB("VmRSS:");
    ResetPeakMemory();
    const Clock::time_point start = Clock::now();
    run.Frame().RunCommand(kCmdExportResults);
    handled.wait(600000);
    handledAt = Clock::now();
    written = prompter.asked;
    figures.peakAdded = StatusMiB("VmHWM:") - before;
    run.Frame().Results().removeEventFilter(&watch);
    if (prompter.texts.size() != 1 || !prompter.texts[0].endsWith("Open it now?")) {
      std::fprintf(stderr, "export bench: the export did not finish\n");
    }
    figures.total = Ms(written - start);
    figures.script = Ms(watch.arrived - start);
    figures.program = Ms(written - watch.arrived);
    figures.read = Ms(asked - watch.arrived);
    figures.buildAndWrite = Ms(written - asked);
    figures.afterWritten = Ms(handledAt - written);
    return figures;
  }

  // The program's steps on their own, on the same text: the script's answer taken as the
  // program takes it, then ReadResults, building and writing.
  void Components(ProgramRun& run, QTemporaryDir& dir) {
    using Clock = std::chrono::steady_clock;
    bool done = false;
    QString text;
    const Clock::time_point start = Clock::now();
    run.Active().ExecuteScript(std::string(ResultsScript), [&](bool, const QString& json) {
      text = json;
      done = true;
    });
    WaitUntil([&] { return done; }, 600000);
    const Clock::time_point answered = Clock::now();
    const std::string utf8 = text.toStdString();
    const Clock::time_point converted = Clock::now();
    ResultSet set;
    ReadResults(utf8, set);
    const Clock::time_point read = Clock::now();
    const std::string workbook = BuildXlsxWorkbook(set, "2025-06-13T20:00:00Z");
    const Clock::time_point built = Clock::now();
    WriteFileAtomic(dir.filePath("parts.xlsx").toStdString(), workbook);
    const Clock::time_point wroteXlsx = Clock::now();
    const std::string csv = WriteCsv(set, CsvDialect::ExcelCsv);
    const Clock::time_point builtCsv = Clock::now();
    WriteFileAtomic(dir.filePath("parts.csv").toStdString(), csv);
    const Clock::time_point wroteCsv = Clock::now();
    std::printf(
        "steps alone: script run with its answer in the program %.0f ms (%.1f MB of JSON); "
        "UTF-8 text %.0f ms; ReadResults %.0f ms (%zu rows x %zu columns); BuildXlsxWorkbook "
        "%.0f ms (%.1f MB); WriteFileAtomic %.0f ms; WriteCsv %.0f ms (%.1f MB); "
        "WriteFileAtomic %.0f ms\n",
        Ms(answered - start), double(utf8.size()) / 1e6, Ms(converted - answered),
        Ms(read - converted), set.rows.size(), set.columns.size(), Ms(built - read),
        double(workbook.size()) / 1e6, Ms(wroteXlsx - built), Ms(builtCsv - wroteXlsx),
        double(csv.size()) / 1e6, Ms(wroteCsv - builtCsv));
  }

  // SheetJS in the same page: from getResults() to the bytes of an XLSX of the same rows.
  void SheetJs(QWebEnginePage* page, const QString& library) {
    QFile file(library);
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "export bench: cannot read %s\n", qPrintable(library));
      return;
    }
    EvalJs(page, QString::fromUtf8(file.readAll()) + QStringLiteral("\n; true"), 120000);
    const QVariantList t =
        EvalJs(page,
               "(function () { var a = performance.now(); var r = window.VXScreener.getResults();"
               " var b = performance.now();"
               " var rows = [r.columns.map(function (c) { return c.label; })].concat(r.rows);"
               " var sheet = XLSX.utils.aoa_to_sheet(rows); var book = XLSX.utils.book_new();"
               " XLSX.utils.book_append_sheet(book, sheet, 'Stocks'); var c = performance.now();"
               " var out = XLSX.write(book, {type: 'array', bookType: 'xlsx', compression: true});"
               " var d = performance.now(); return [b - a, c - b, d - c, out.byteLength, "
               "XLSX.version]; })()",
               1800000)
            .toList();
    if (t.size() != 5) {
      std::fprintf(stderr, "export bench: SheetJS gave no answer\n");
      return;
    }
    std::printf(
        "SheetJS %s in the page: getResults() %.0f ms; building the sheet %.0f ms; writing the "
        "XLSX %.0f ms (%.1f MB); getResults() to bytes %.0f ms\n",
        qPrintable(t[4].toString()), t[0].toDouble(), t[1].toDouble(), t[2].toDouble(),
        t[3].toDouble() / 1e6, t[0].toDouble() + t[1].toDouble() + t[2].toDouble());
  }
};

}  // namespace

int main(int argc, char** argv) {
  Site().SetUniverse(50000, 10, 64);
  return RunE2eTest<ExportBench>(argc, argv);
}

#include "export_e2e_bench.moc"
