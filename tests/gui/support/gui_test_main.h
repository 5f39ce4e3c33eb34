// main() for the GUI tests: the application object is made the way the program makes it,
// with the browser engine's switches after "--webEngineArgs", the program's own last.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "gui/app/gl_driver.h"
#include "gui/app/program_command_line.h"
#include "gui/print/report_scheme.h"
#include "web/engine_switches.h"

namespace velquist::test {

// The command line the test's application object was made with.
inline ProgramCommandLine*& TestCommandLine() {
  static ProgramCommandLine* commandLine = nullptr;
  return commandLine;
}

// Runs test with an application whose browser engine gets engineSwitches.
template <typename TestObject>
int RunGuiTest(int argc, char** argv, const QStringList& engineSwitches) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterReportScheme();
  std::vector<std::string> words(argv, argv + argc);
  if (!engineSwitches.isEmpty()) {
    words.emplace_back("--webEngineArgs");
    for (const QString& s : engineSwitches) words.push_back(s.toStdString());
  }
  // The engine runs with the program's own switches, as it does in the program.
  ProgramCommandLine commandLine(WithConfinedEngine(std::move(words)));
  TestCommandLine() = &commandLine;
  QApplication application(commandLine.Argc(), commandLine.Argv());
  KeepGlDriverLoaded();
  TestObject test;
  // QtTest reads only its own words, never the engine's.
  const int status = QTest::qExec(&test, argc, argv);
  TestCommandLine() = nullptr;
  return status;
}

}  // namespace velquist::test

#define VELQUIST_GUI_TEST_MAIN(TestObject)                                    \
  int main(int argc, char** argv) {                                           \
    return velquist::test::RunGuiTest<TestObject>(argc, argv, QStringList()); \
  }
