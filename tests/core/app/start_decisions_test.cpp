#include "app/start_decisions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquist {
namespace {

using Words = std::vector<std::string>;

struct WordsCase {
  Words commandLine;
  Words userWords;
};

TEST(StartDecisions, UserWordsEndAtTheEngineSwitches) {
  const WordsCase cases[] = {
      {{}, {}},
      {{"velquist"}, {}},
      {{"velquist", "report.json"}, {"report.json"}},
      {{"velquist", ""}, {""}},  // an empty word is still text the user gave
      {{"velquist", "--webEngineArgs", "--host-resolver-rules=MAP a b"}, {}},
      {{"velquist", "a", "b", "--webEngineArgs", "--c"}, {"a", "b"}},
      {{"velquist", "--WEBENGINEARGS", "--c"}, {}},  // the engine takes any letter case
      {{"velquist", "--webEngineArgsX", "--c"}, {"--webEngineArgsX", "--c"}},
      {{"velquist", "x", "--webEngineArgs"}, {"x"}},
      {{"--webEngineArgs", "--a"}, {"--a"}},  // the first word is the program's name
  };
  for (const WordsCase& c : cases) {
    EXPECT_EQ(UserWords(c.commandLine), c.userWords) << c.commandLine.size();
  }
}

struct SplashCase {
  bool option;
  Words commandLine;
  bool shown;
};

TEST(StartDecisions, SplashNeedsTheOptionAndNoWordOfTheUsers) {
  const SplashCase cases[] = {
      {true, {"velquist"}, true},
      {false, {"velquist"}, false},
      {true, {"velquist", "x"}, false},
      {true, {"velquist", "--webEngineArgs", "--ignore-certificate-errors-spki-list=abc"}, true},
      {false, {"velquist", "--webEngineArgs", "--a"}, false},
      {true, {"velquist", "-", "--webEngineArgs", "--a"}, false},
  };
  for (const SplashCase& c : cases) {
    EXPECT_EQ(ShowSplashAtStart(c.option, UserWords(c.commandLine)), c.shown)
        << c.commandLine.size();
  }
}

}  // namespace
}  // namespace velquist
