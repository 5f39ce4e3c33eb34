// The command line the application object is made with: the user's words, and switches
// for the browser engine added after the application object exists, which is how the
// start-up gives the pages their colour scheme once the options are loaded.
#include "gui/app/program_command_line.h"

#include <QTest>
#include <string>
#include <vector>

#include "support/gui_test_main.h"

using namespace velquist;
using namespace velquist::test;

namespace {

QStringList Live(ProgramCommandLine& commandLine) {
  QStringList words;
  for (int i = 0; i < commandLine.Argc(); ++i)
    words << QString::fromLocal8Bit(commandLine.Argv()[i]);
  // The vector ends with a null, as an argument vector does.
  if (commandLine.Argv()[commandLine.Argc()] != nullptr) words << QStringLiteral("<no null>");
  return words;
}

ProgramCommandLine Make(std::vector<std::string> words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  return ProgramCommandLine(static_cast<int>(pointers.size()), pointers.data());
}

}  // namespace

class ProgramCommandLineTest : public QObject {
  Q_OBJECT
 private slots:
  void userWordsStopAtTheEngineSwitches() {
    QCOMPARE(Make({"velquist"}).UserWords(), QStringList());
    QCOMPARE(Make({}).UserWords(), QStringList());
    QCOMPARE(Make({"velquist", "--webEngineArgs", "--x=1"}).UserWords(), QStringList());
    QCOMPARE(Make({"velquist", "a b", "--webEngineArgs", "--x=1"}).UserWords(),
             QStringList{QStringLiteral("a b")});
    QCOMPARE(Make({"velquist", "--second"}).UserWords(), QStringList{QStringLiteral("--second")});
  }

  void switchesGoAfterTheMarker() {
    ProgramCommandLine none = Make({"velquist", "x"});
    QVERIFY(none.AddEngineSwitches({QStringLiteral("--a=1")}));
    QCOMPARE(Live(none), (QStringList{"velquist", "x", "--webEngineArgs", "--a=1"}));
    // A marker already there is not repeated, in whatever letter case it came.
    QVERIFY(none.AddEngineSwitches({QStringLiteral("--b=2"), QStringLiteral("--c")}));
    QCOMPARE(Live(none),
             (QStringList{"velquist", "x", "--webEngineArgs", "--a=1", "--b=2", "--c"}));
    ProgramCommandLine given = Make({"velquist", "--WEBENGINEARGS", "--d"});
    QVERIFY(given.AddEngineSwitches({QStringLiteral("--e")}));
    QCOMPARE(Live(given), (QStringList{"velquist", "--WEBENGINEARGS", "--d", "--e"}));
    // The user's words are those the program was started with.
    QCOMPARE(none.UserWords(), QStringList{QStringLiteral("x")});
    QVERIFY(none.AddEngineSwitches({}));
    QCOMPARE(none.Argc(), 6);
  }

  void aFullVectorTakesNothing() {
    ProgramCommandLine line = Make({"velquist"});
    QStringList many;
    for (int i = 0; i < 40; ++i) many << QStringLiteral("--s%1").arg(i);
    QVERIFY(!line.AddEngineSwitches(many));
    QCOMPARE(Live(line), QStringList{QStringLiteral("velquist")});
    QVERIFY(line.AddEngineSwitches({QStringLiteral("--fits")}));
    QCOMPARE(Live(line), (QStringList{"velquist", "--webEngineArgs", "--fits"}));
  }

  // What the browser engine reads when it starts: the application's arguments, which
  // show switches added after the application object was made.
  void theApplicationSeesSwitchesAddedLater() {
    ProgramCommandLine* line = TestCommandLine();
    QVERIFY(line);
    const QStringList before = QCoreApplication::arguments();
    QVERIFY(!before.contains(QStringLiteral("--later=1")));
    QVERIFY(line->AddEngineSwitches({QStringLiteral("--later=1")}));
    const QStringList after = QCoreApplication::arguments();
    // The engine's confinement switches may already have put the marker on the line.
    const bool hadMarker = before.contains(QStringLiteral("--webEngineArgs"));
    QCOMPARE(after.size(), before.size() + (hadMarker ? 1 : 2));
    QCOMPARE(after.last(), QStringLiteral("--later=1"));
    QCOMPARE(after.indexOf(QStringLiteral("--webEngineArgs")) < after.size() - 1, true);
  }
};

VELQUIST_GUI_TEST_MAIN(ProgramCommandLineTest)
#include "program_command_line_test.moc"
