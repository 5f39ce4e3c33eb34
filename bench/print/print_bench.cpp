// Print preview benchmark: from the print command to the first page of the preview on
// screen, for reports of 1,000 and 10,000 stocks of the demo site, with the time split
// into building the report, making the window, loading the report, making the PDF and
// showing the first page; and the peak memory of the program and of the browser engine's
// processes while the preview is made and shown.
//
// A second table takes the PDF apart, step by step on the loaded report: the engine's
// print of the report, beside its print of a bare table of the same texts (no style
// sheet, no classes, no links) as the yardstick of what the engine alone costs; then the
// program's own steps: counting the pages, drawing the margin texts and laying them under
// the pages. Engine CPU is the processor time its processes spent, which the machine's
// load disturbs less than the wall time.
//
// Usage: print_bench [rows ...]   (default 1000 10000); runs under a display (xvfb-run).
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPdfView>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <cstdio>
#include <map>

#include "gui/app/screener_app.h"
#include "gui/print/margin_pages.h"
#include "gui/print/pdf_pages.h"
#include "gui/print/print_command.h"
#include "gui/print/print_preview.h"
#include "gui/print/print_window.h"
#include "gui/print/report_pdf.h"
#include "gui/print/report_scheme.h"
#include "gui/text/qt_text.h"
#include "gui/ui/main_frame.h"
#include "print/page_margins.h"
#include "results/format.h"
#include "results/results_reader.h"
#include "support/e2e.h"
#include "support/recording_prompter.h"

using namespace velquist;
using namespace velquist::test;

namespace {

// A /proc/<pid>/status value in kB (VmRSS, VmHWM), 0 when it cannot be read.
long StatusKb(const QString& pid, const char* key) {
  QFile file(QStringLiteral("/proc/%1/status").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.startsWith(key))
      return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLong();
  }
  return 0;
}

// The browser engine's helper processes: every process descended from this one (the
// zygote starts the renderers, so they are grandchildren).
QStringList EngineProcesses() {
  std::multimap<QString, QString> children;  // parent pid -> pid
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    if (pid.toLong() == 0) continue;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1) children.emplace(QString::fromLatin1(fields[1]), pid);
  }
  QStringList found;
  QStringList next = {QString::number(QCoreApplication::applicationPid())};
  while (!next.isEmpty()) {
    const QString parent = next.takeFirst();
    for (auto [it, end] = children.equal_range(parent); it != end; ++it) {
      found << it->second;
      next << it->second;
    }
  }
  return found;
}

// Processor time in ms that the engine's processes have used so far.
long EngineCpuMs() {
  long ticks = 0;
  for (const QString& pid : EngineProcesses()) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12) ticks += fields[11].toLong() + fields[12].toLong();
  }
  return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

// Samples resident memory while a run goes on: this process and the sum over the engine's
// processes; the highest sums seen are the peaks.
class MemorySampler : public QObject {
 public:
  MemorySampler() {
    connect(&m_timer, &QTimer::timeout, this, [this] { Sample(); });
    m_timer.start(25);
  }
  void Sample() {
    m_program = std::max(m_program, StatusKb(QStringLiteral("self"), "VmRSS:"));
    long engine = 0;
    for (const QString& pid : EngineProcesses()) engine += StatusKb(pid, "VmRSS:");
    m_engine = std::max(m_engine, engine);
  }
  long m_program = 0;
  long m_engine = 0;

 private:
  QTimer m_timer;
};

// True once the preview's first page is painted: the middle of the view's first page
// area is no longer the plain background.
bool FirstPageShown(CPrintPreview& preview) {
  QPdfView* view = preview.findChild<QPdfView*>();
  if (!view || !preview.HasDocument()) return false;
  const QImage image = view->viewport()->grab().toImage();
  const QColor back = view->viewport()->palette().color(QPalette::Dark);
  int painted = 0;
  for (int y = 40; y < std::min(image.height(), 400); y += 7) {
    for (int x = image.width() / 4; x < image.width() * 3 / 4; x += 11) {
      const QColor c = image.pixelColor(x, y);
      if (c != back && c != Qt::white) ++painted;
    }
  }
  return painted > 20;  // text and rules, not only the white sheet
}

double Ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The same texts as the report's table, without style sheet, classes or links.
QByteArray BareTable(const ResultSet& set) {
  std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body><table>";
  html += "<thead><tr>";
  for (const ResultColumn& column : set.columns) html += "<th>" + column.label + "</th>";
  html += "</tr></thead><tbody>\n";
  for (const ResultRow& row : set.rows) {
    html += "<tr>";
    for (std::size_t c = 0; c < row.size() && c < set.columns.size(); ++c) {
      html += "<td>" + FormatPrintValue(row[c], set.columns[c]) + "</td>";
    }
    html += "</tr>\n";
  }
  html += "</tbody></table></body></html>\n";
  return QByteArray(html.data(), static_cast<qsizetype>(html.size()));
}

struct Printed {
  QByteArray pdf;
  double ms = 0;
  long cpuMs = 0;
};

Printed PrintPage(QWebEnginePage& page, const QPageLayout& layout) {
  Printed printed;
  bool done = false;
  const long cpu = EngineCpuMs();
  QElapsedTimer timer;
  timer.start();
  page.printToPdf(
      [&](const QByteArray& pdf) {
        printed.pdf = pdf;
        done = true;
      },
      layout);
  WaitUntil([&] { return done; }, 600000);
  printed.ms = Ms(timer);
  printed.cpuMs = EngineCpuMs() - cpu;
  return printed;
}

// The steps of the PDF one by one, on the report loaded in the window's view.
bool PrintStages(CPrintWnd& window, const ResultSet& set) {
  const QPageLayout layout = ReportPageLayout(IsLandscapeReport(set));
  const Printed report = PrintPage(*window.View().page(), layout);

  // The bare table from memory too, in a page of its own on a profile of its own.
  QWebEngineProfile profile;
  ReportSchemeHandler handler(BareTable(set), nullptr);
  profile.installUrlSchemeHandler(PrintReportAddress().scheme().toLatin1(), &handler);
  Printed bare;
  {
    QWebEnginePage page(&profile);
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.load(PrintReportAddress());
    if (!WaitUntil([&] { return !loaded.isEmpty(); }, 600000)) return false;
    bare = PrintPage(page, layout);
  }

  QElapsedTimer timer;
  timer.start();
  const int pages = PdfPageCount(View(report.pdf));
  const double countMs = Ms(timer);
  timer.restart();
  const QByteArray margins = DrawMarginPages(ReportMarginTexts(set, ""), pages, layout);
  const double drawMs = Ms(timer);
  timer.restart();
  std::string out;
  const bool laid = UnderlayPages(View(report.pdf), View(margins), out);
  const double underMs = Ms(timer);
  if (pages < 1 || margins.isEmpty() || !laid) return false;
  std::printf("%7zu %6d %8.0fms %7ldms %8.0fms %7ldms %6d %6.0fms %6.0fms %6.0fms\n",
              set.rows.size(), pages, report.ms, report.cpuMs, bare.ms, bare.cpuMs,
              PdfPageCount(View(bare.pdf)), countMs, drawMs, underMs);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QList<int> sizes;
  for (int i = 1; i < argc; ++i) sizes << QString::fromLocal8Bit(argv[i]).toInt();
  if (sizes.isEmpty()) sizes = {1000, 10000};
  int largest = 0;
  for (int rows : sizes) largest = std::max(largest, rows);
  Site().SetUniverse(std::max(largest, 300), 150, 0);
  if (!Site().Start()) {
    std::fprintf(stderr, "demo-site did not start\n");
    return 1;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterReportScheme();
  std::vector<std::string> words = {argv[0], "--webEngineArgs"};
  for (const QString& s : Site().EngineSwitches()) words.push_back(s.toStdString());
  std::vector<char*> pointers;
  for (std::string& w : words) pointers.push_back(w.data());
  int count = static_cast<int>(pointers.size());
  QApplication application(count, pointers.data());

  // Reports above 1,000 rows ask before printing: the benchmark says yes.
  RecordingPrompter prompter;
  prompter.answer = true;
  ProgramRun run;
  if (!run.Start() || !run.WaitForResults(120000)) {
    std::fprintf(stderr, "the screener did not show its results\n");
    return 1;
  }
  CMainFrame& frame = run.Frame();
  frame.resize(1280, 860);
  const QVariant json = EvalJs(
      run.ActivePage(), QStringLiteral("JSON.stringify(window.VXScreener.getResults())"), 60000);
  ResultSet all;
  if (!ReadResults(ToUtf8(json.toString()), all)) return 1;
  std::printf("page results: %zu rows x %zu columns\n", all.rows.size(), all.columns.size());
  // report: building the report text alone; window: the print command up to its window
  // made and shown (building included); load: from there to the report loaded; pdf: the
  // engine's print and the page texts laid under the pages; shown: until the first page is
  // painted; total: the print command to the first page shown. Memory: peak resident MB of
  // this process and of the engine's processes together, with the part added during the
  // run in brackets.
  std::printf("%7s %6s %8s %8s %8s %8s %8s %8s %16s %16s\n", "rows", "pages", "report", "window",
              "load", "pdf", "shown", "total", "program MB", "engine MB");
  std::vector<ResultSet> sets;
  for (int rows : sizes) {
    ResultSet set = all;
    if (static_cast<std::size_t>(rows) < set.rows.size()) set.rows.resize(rows);
    MemorySampler memory;
    memory.Sample();
    const long programBefore = memory.m_program;
    const long engineBefore = memory.m_engine;
    QElapsedTimer timer;
    timer.start();
    PrintReport report;
    if (!MakePrintReport(set, "", PrintedTimeNow(), report)) {
      std::fprintf(stderr, "no memory for the report of %d rows\n", rows);
      return 1;
    }
    const double built = Ms(timer);
    frame.Print().CloseWindow();
    timer.restart();
    frame.Print().Run(set);
    const double windowMs = Ms(timer);
    CPrintWnd* window = frame.Print().Window();
    if (!window) {
      std::fprintf(stderr, "no print window for %d rows\n", rows);
      return 1;
    }
    QSignalSpy loaded(window, &CPrintWnd::reportLoaded);
    QSignalSpy shown(window, &CPrintWnd::previewShown);
    double loadMs = 0;
    if (!WaitUntil(
            [&] {
              if (!loaded.isEmpty() && loadMs == 0) loadMs = Ms(timer);
              return !shown.isEmpty();
            },
            600000)) {
      std::fprintf(stderr, "no preview for %d rows\n", rows);
      return 1;
    }
    const double pdfMs = Ms(timer);
    if (!WaitUntil([&] { return FirstPageShown(window->Preview()); }, 60000)) {
      std::fprintf(stderr, "the first page of %d rows was not painted\n", rows);
      return 1;
    }
    const double shownMs = Ms(timer);
    memory.Sample();
    std::printf(
        "%7zu %6d %6.0fms %6.0fms %6.0fms %6.0fms %6.0fms %6.0fms %7.0f (+%5.0f) %7.0f (+%5.0f)\n",
        set.rows.size(), window->Preview().PageCount(), built, windowMs, loadMs - windowMs,
        pdfMs - loadMs, shownMs - pdfMs, shownMs, memory.m_program / 1024.0,
        (memory.m_program - programBefore) / 1024.0, memory.m_engine / 1024.0,
        (memory.m_engine - engineBefore) / 1024.0);
    std::fflush(stdout);
    sets.push_back(std::move(set));
  }
  // report and bare: the engine's print of the report and of the bare table, wall time and
  // its processes' CPU; then the program's steps on the report's PDF.
  std::printf("\n%7s %6s %10s %9s %10s %9s %6s %8s %8s %8s\n", "rows", "pages", "report", "cpu",
              "bare", "cpu", "pages", "count", "margins", "underlay");
  for (const ResultSet& set : sets) {
    frame.Print().CloseWindow();
    frame.Print().Run(set);
    CPrintWnd* window = frame.Print().Window();
    QSignalSpy shown(window, &CPrintWnd::previewShown);
    if (!WaitUntil([&] { return !shown.isEmpty(); }, 600000) || !PrintStages(*window, set)) {
      std::fprintf(stderr, "the steps of %zu rows could not be measured\n", set.rows.size());
      return 1;
    }
  }
  run.Close();
  Site().Stop();
  return 0;
}
