// The command line the application object is made with, kept for the whole run. The
// browser engine reads the application's arguments (its switches are the words after
// "--webEngineArgs") only when it starts, with the first browser profile; until then
// switches can still be added here, so that what they carry can come from the options
// loaded during start-up.
#pragma once

#include <QStringList>
#include <list>
#include <string>
#include <vector>

namespace velquist {

class ProgramCommandLine {
 public:
  ProgramCommandLine(int argc, char** argv);
  explicit ProgramCommandLine(std::vector<std::string> words);
  ProgramCommandLine(const ProgramCommandLine&) = delete;
  ProgramCommandLine& operator=(const ProgramCommandLine&) = delete;

  // What the application object is made with: it keeps both and may take out the words
  // that are its own.
  int& Argc() { return m_count; }
  char** Argv() { return m_pointers.data(); }

  // The command line as the program was started with it.
  const std::vector<std::string>& Given() const { return m_given; }
  // The words of the user's (none of the browser engine's switches).
  QStringList UserWords() const;

  // Appends switches for the browser engine, after "--webEngineArgs" (added when
  // missing). They take effect only if the engine has not started yet. False when there is
  // no room left for them (nothing is added then).
  bool AddEngineSwitches(const QStringList& switches);

 private:
  std::vector<std::string> m_given;
  // Stable storage for every word handed out: a list never moves its elements.
  std::list<std::string> m_words;
  // The argument vector: the words, a null, and room for switches added later. It never
  // grows, since the application object keeps a pointer to it.
  std::vector<char*> m_pointers;
  int m_count = 0;
};

}  // namespace velquist
