#include "web/engine_switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Host(SiteHost);

TEST(EngineSwitchesTest, HostResolverRulesKeepOnlyTheSitesOwnMapping) {
  struct Case {
    std::string given, expected;
  };
  const Case cases[] = {
      // The program on its own: the site resolves as usual, nothing else at all.
      {"", "MAP * ~NOTFOUND, EXCLUDE " + Host},
      // The demo launcher and the tests point the site at this machine; that stays first.
      {"MAP " + Host + " 127.0.0.1:4443", "MAP " + Host + " 127.0.0.1:4443, MAP * ~NOTFOUND"},
      {"  MAP " + Host + " 127.0.0.1:4443 ,MAP cdn.foreign.example 127.0.0.1:9",
       "MAP " + Host + " 127.0.0.1:4443, MAP * ~NOTFOUND"},
      // A foreign name mapped anywhere is not honoured, in whatever order it comes.
      {"MAP cdn.foreign.example 127.0.0.1:9, MAP " + Host + " 127.0.0.1:1",
       "MAP " + Host + " 127.0.0.1:1, MAP * ~NOTFOUND"},
      {"MAP * 127.0.0.1:9", "MAP * ~NOTFOUND, EXCLUDE " + Host},
      {"MAP *." + Host + " 127.0.0.1:9", "MAP * ~NOTFOUND, EXCLUDE " + Host},
      {"MAP " + Host + ".evil.example 127.0.0.1:9", "MAP * ~NOTFOUND, EXCLUDE " + Host},
      {"EXCLUDE cdn.foreign.example", "MAP * ~NOTFOUND, EXCLUDE " + Host},
      {"MAP " + Host, "MAP * ~NOTFOUND, EXCLUDE " + Host},
      {",,, ,", "MAP * ~NOTFOUND, EXCLUDE " + Host},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConfinedHostResolverRules(c.given), c.expected) << c.given;
  }
}

TEST(EngineSwitchesTest, ConfinedCommandLine) {
  const std::vector<std::string>& fixed = ConfinementSwitches();
  ASSERT_FALSE(fixed.empty());
  const std::string rules = "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE " + Host;

  std::vector<std::string> expected = {"velquist", "--webEngineArgs"};
  expected.insert(expected.end(), fixed.begin(), fixed.end());
  expected.push_back(rules);
  EXPECT_EQ(WithConfinedEngine({"velquist"}), expected);

  // Engine switches already there keep their place; the given rules are replaced by the
  // confined ones, at the end, so that the last of each switch is the program's.
  const std::string given = "--host-resolver-rules=MAP " + Host + " 127.0.0.1:1";
  expected = {"velquist", "--test", "--webEngineArgs", "--blink-settings=x"};
  expected.insert(expected.end(), fixed.begin(), fixed.end());
  expected.push_back("--host-resolver-rules=MAP " + Host + " 127.0.0.1:1, MAP * ~NOTFOUND");
  EXPECT_EQ(WithConfinedEngine({"velquist", "--test", "--webEngineArgs", given,
                                "--blink-settings=x", "--host-resolver-rules=MAP a b"}),
            std::vector<std::string>({"velquist", "--test", "--webEngineArgs", "--blink-settings=x",
                                      fixed[0], fixed[1], fixed[2],
                                      "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE " + Host}))
      << "the last rules given count";
  EXPECT_EQ(
      WithConfinedEngine({"velquist", "--test", "--webEngineArgs", given, "--blink-settings=x"}),
      expected);
}

}  // namespace
}  // namespace velquist
