// main() for the GUI tests: the application object is made the way the program makes it,
// with the browser engine's switches after "--webEngineArgs", the program's own last.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <string>
#include <vector>

#include "gui/print/report_scheme.h"
#include "web/engine_switches.h"

namespace velquist::test {

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
  words = WithConfinedEngine(std::move(words));
  std::vector<char*> pointers;
  for (std::string& w : words) pointers.push_back(w.data());
  int count = static_cast<int>(pointers.size());
  QApplication application(count, pointers.data());
  TestObject test;
  // QtTest reads only its own words, never the engine's.
  return QTest::qExec(&test, argc, argv);
}

}  // namespace velquist::test

#define VELQUIST_GUI_TEST_MAIN(TestObject)                                    \
  int main(int argc, char** argv) {                                           \
    return velquist::test::RunGuiTest<TestObject>(argc, argv, QStringList()); \
  }
