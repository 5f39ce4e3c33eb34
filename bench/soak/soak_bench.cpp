// Soak run of the whole program against the demo site: rounds of navigation (a page load
// every fifth round, a same-page URL change otherwise), a switch to the other tab and
// back, Back and Forward, and a results request answered by the page and read by the
// results reader. The program's resident memory is sampled after every round: it swings by
// some 15 % between the C library's heap trims every half minute, so one sample says little,
// and the run compares the mean of the first 100 rounds after the warm-up with the mean of
// the last 100; it fails when that grew by 5 % or more. Lines every 100 rounds show the
// curve, for the program's own process and for the whole process tree (the browser engine's
// helper processes included). Rounds: SOAK_ROUNDS (default 2000), warm-up: SOAK_WARMUP
// (default 200). The run is one test function, so its CTest entry lifts QtTest's five-minute
// limit per function. SOAK_STEPS, a comma list of load, push, tab, history and results, runs
// only those kinds of step (a page load stands in for every URL change without push, and
// the other way round), to tell which of them the memory follows.
#include <malloc.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWebEnginePage>
#include <cstdlib>
#include <string>

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "results/results_reply.h"
#include "site_constants.h"
#include "support/e2e.h"
#include "ui/chrome_commands.h"

using namespace velquist;
using namespace velquist::test;

namespace {

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

// VmRSS of one process in KiB, 0 when it is gone.
long ResidentKib(const QString& pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return 0;
}

QString ParentOf(const QString& pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray text = stat.readAll();
  // The name in parentheses may hold spaces; the fields after it are plain.
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  return fields.size() > 1 ? QString::fromLatin1(fields[1]) : QString();
}

// This process and every process below it.
long TreeResidentKib() {
  const QString self = QString::number(QCoreApplication::applicationPid());
  long total = ResidentKib(self);
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    if (pid.toLong() <= 0 || pid == self) continue;
    for (QString up = ParentOf(pid); !up.isEmpty() && up != QStringLiteral("1");
         up = ParentOf(up)) {
      if (up == self) {
        total += ResidentKib(pid);
        break;
      }
    }
  }
  return total;
}

// The C library's view of this process's heap: what is in use, what it holds free, and
// the large blocks it maps on their own. Free memory that grows while use stays flat is
// fragmentation, not a leak.
QString HeapText() {
  const struct mallinfo2 heap = mallinfo2();
  return QStringLiteral("heap in use %1 KiB, free in the heap %2 KiB, mapped blocks %3 KiB")
      .arg(heap.uordblks / 1024)
      .arg(heap.fordblks / 1024)
      .arg(heap.hblkhd / 1024);
}

// The shared memory the browser engine maps into this process (its files live in /dev/shm
// and are deleted at once): how many mappings and how much of them is resident.
QString SharedMemoryText() {
  QFile smaps(QStringLiteral("/proc/self/smaps"));
  if (!smaps.open(QIODevice::ReadOnly)) return QStringLiteral("shared memory unknown");
  long maps = 0, residentKib = 0;
  bool inShared = false;
  for (const QByteArray& line : smaps.readAll().split('\n')) {
    // A mapping starts with a line of its address range; its fields follow as "Name: value".
    const QByteArray first = line.left(line.indexOf(' '));
    if (!first.endsWith(':')) {
      inShared = line.contains(" /dev/shm/");
      if (inShared) ++maps;
    } else if (inShared && first == "Rss:") {
      residentKib += line.mid(4).trimmed().split(' ').first().toLong();
    }
  }
  return QStringLiteral("shared memory %1 maps, %2 KiB resident").arg(maps).arg(residentKib);
}

QString Origin() { return QString::fromUtf8(SiteOrigin.data(), qsizetype(SiteOrigin.size())); }

const char* const Pages[] = {"/screener.html", "/screener/value-stocks.html",
                             "/screener/dividend-stocks.html"};

}  // namespace

class SoakBench : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_run.Start());
    QVERIFY(m_run.WaitForResults());
  }
  void cleanupTestCase() { m_run.Close(); }

  void soak() {
    const int rounds = EnvInt("SOAK_ROUNDS", 2000);
    const int warmup = EnvInt("SOAK_WARMUP", 200);
    const int window = 100;
    QVERIFY2(rounds >= warmup + 2 * window, "too few rounds for two windows after the warm-up");
    const QString self = QString::number(QCoreApplication::applicationPid());
    double firstWindow = 0, lastWindow = 0;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < rounds; ++round) {
      RunRound(round);
      if (QTest::currentTestFailed()) return;
      const long own = ResidentKib(self);
      if (round >= warmup && round < warmup + window) firstWindow += double(own) / window;
      if (round >= rounds - window) lastWindow += double(own) / window;
      if ((round + 1) % 100 == 0) Report(round + 1, clock, own, TreeResidentKib());
    }
    const double growth = 100.0 * (lastWindow - firstWindow) / firstWindow;
    qInfo(
        "mean resident memory of the program in rounds %d to %d: %.0f KiB, in the last %d "
        "rounds: %.0f KiB; growth %+.1f %%",
        warmup + 1, warmup + window, firstWindow, window, lastWindow, growth);
    QVERIFY2(growth < 5.0, "the program's resident memory grew by 5 % or more");
  }

 private:
  static void Report(int rounds, const QElapsedTimer& clock, long own, long tree) {
    qInfo("after %d rounds (%.0f s): program %ld KiB, with helpers %ld KiB; %s; %s", rounds,
          clock.elapsed() / 1000.0, own, tree, qPrintable(HeapText()),
          qPrintable(SharedMemoryText()));
  }

  void RunRound(int round) {
    CMainFrame& frame = m_run.Frame();
    CWebHost& host = m_run.Active();
    const QString page = QString::fromLatin1(Pages[round % 3]);
    const QString marker = QStringLiteral("r=%1").arg(round);
    const bool load = Runs("load") && (round % 5 == 0 || !Runs("push"));
    if (load) {
      host.Navigate((Origin() + page + QStringLiteral("#") + marker).toStdString());
    } else if (Runs("push")) {
      EvalJs(m_run.ActivePage(),
             QStringLiteral("history.pushState(null, '', '%1#%2'); true").arg(page, marker));
    }
    if (load || Runs("push")) {
      QTRY_VERIFY_WITH_TIMEOUT(
          QString::fromStdString(host.CurrentUrl()).contains(page + QStringLiteral("#")), 30000);
      QVERIFY(m_run.WaitForResults());
    }

    // The other tab and back.
    if (Runs("tab")) {
      const int kind = static_cast<int>(host.Kind());
      frame.SelectTab(1 - kind);
      QTRY_VERIFY_WITH_TIMEOUT(!m_run.Active().CurrentUrl().empty(), 30000);
      frame.SelectTab(kind);
      QCOMPARE(&m_run.Active(), &host);
    }

    // Back and Forward through the program's own history.
    if (Runs("history") && host.CanGoBack()) {
      const std::string before = host.CurrentUrl();
      frame.RunCommand(kCmdBack);
      QTRY_VERIFY_WITH_TIMEOUT(host.CurrentUrl() != before, 30000);
      // As a user would, look at the older screen before going forward again.
      QVERIFY(m_run.WaitForResults());
      frame.RunCommand(kCmdForward);
      QTRY_VERIFY_WITH_TIMEOUT(
          QString::fromStdString(host.CurrentUrl()).contains(page + QStringLiteral("#")), 30000);
      QVERIFY(m_run.WaitForResults());
    }

    // The results the Export and Print commands ask the page for.
    if (!Runs("results")) return;
    const QString script =
        QStringLiteral("JSON.stringify(%1)")
            .arg(QString::fromUtf8(ResultsScript.data(), qsizetype(ResultsScript.size())));
    const QVariant answer = EvalJs(m_run.ActivePage(), script);
    ResultSet set;
    const ResultsReply reply =
        ReadResultsReply(ResultsRequest::Export, false, answer.toString().toStdString(), set);
    QVERIFY2(reply.ready, reply.message.c_str());
    QVERIFY(!set.rows.empty());
  }

  bool Runs(const char* step) const {
    return m_steps.isEmpty() || m_steps.contains(QLatin1String(step));
  }

  ProgramRun m_run;
  const QStringList m_steps = qEnvironmentVariable("SOAK_STEPS").split(',', Qt::SkipEmptyParts);
};

VELQUIST_E2E_TEST_MAIN(SoakBench)
#include "soak_bench.moc"
