#include "site/screen_state.h"

#include <gtest/gtest.h>

#include <string>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Origin(SiteOrigin);

TEST(ScreenStateTest, DefaultPathsAndKinds) {
  EXPECT_EQ(DefaultScreenerPath(ScreenerKind::Stocks), "/screener.html");
  EXPECT_EQ(DefaultScreenerPath(ScreenerKind::Etfs), "/etf-screener.html");
  EXPECT_EQ(ScreenerKindOfPath("/etf-screener.html"), ScreenerKind::Etfs);
  EXPECT_EQ(ScreenerKindOfPath("/screener/etf-low-cost.html"), ScreenerKind::Etfs);
  EXPECT_EQ(ScreenerKindOfPath("/screener/etf.html"), ScreenerKind::Stocks);
  EXPECT_EQ(ScreenerKindOfPath("/screener.html"), ScreenerKind::Stocks);
}

TEST(ScreenStateTest, FragmentRules) {
  EXPECT_TRUE(IsValidScreenFragment(""));
  EXPECT_TRUE(IsValidScreenFragment("f=cap:large|pe:u20&s=-mcap&p=2"));
  EXPECT_TRUE(IsValidScreenFragment("n=caf\xC3\xA9"));
  EXPECT_TRUE(IsValidScreenFragment("%3Cb%3E"));
  EXPECT_TRUE(IsValidScreenFragment(std::string(4096, 'a')));
  EXPECT_FALSE(IsValidScreenFragment(std::string(4097, 'a')));
  for (char bad : std::string("\"#<>\\\x7F")) {
    EXPECT_FALSE(IsValidScreenFragment(std::string("a") + bad + "b")) << int(bad);
  }
  for (int byte = 0; byte < 0x20; ++byte) {
    EXPECT_FALSE(IsValidScreenFragment(std::string("a") + static_cast<char>(byte))) << byte;
  }
}

TEST(ScreenStateTest, JoinAndSplit) {
  EXPECT_EQ(JoinScreenState("/screener.html", ""), "/screener.html");
  EXPECT_EQ(JoinScreenState("/screener.html", "f=1"), "/screener.html#f=1");

  std::string path, fragment;
  ASSERT_TRUE(SplitScreenState("/screener/etf-x.html#f=1?x", path, fragment));
  EXPECT_EQ(path, "/screener/etf-x.html");
  EXPECT_EQ(fragment, "f=1?x");
  ASSERT_TRUE(SplitScreenState("/etf-screener.html", path, fragment));
  EXPECT_EQ(path, "/etf-screener.html");
  EXPECT_EQ(fragment, "");
  ASSERT_TRUE(SplitScreenState("/screener.html#", path, fragment));
  EXPECT_EQ(fragment, "");

  path = "kept";
  fragment = "kept";
  const std::string invalid[] = {
      "",
      "#f=1",
      "/stocks/aapl.html#f=1",
      "screener.html",
      Origin + "/screener.html",
      "/screener.html#a#b",
      "/screener.html#a<b",
      "/screener.html#a\nb",
      "/screener.html#" + std::string(4097, 'x'),
  };
  for (const std::string& state : invalid) {
    EXPECT_FALSE(SplitScreenState(state, path, fragment)) << state;
  }
  EXPECT_EQ(path, "kept");
  EXPECT_EQ(fragment, "kept");
}

TEST(ScreenStateTest, StateForReportedUrl) {
  std::string state = "kept";
  ASSERT_TRUE(
      ScreenStateForUrl(Origin + "/screener.html?src=vqs#f=1", ScreenerKind::Stocks, state));
  EXPECT_EQ(state, "/screener.html#f=1");
  ASSERT_TRUE(ScreenStateForUrl(Origin + "/screener/etf-x.html", ScreenerKind::Etfs, state));
  EXPECT_EQ(state, "/screener/etf-x.html");
  state = "kept";
  EXPECT_FALSE(ScreenStateForUrl(Origin + "/screener/etf-x.html", ScreenerKind::Stocks, state));
  EXPECT_FALSE(ScreenStateForUrl(Origin + "/screener.html", ScreenerKind::Etfs, state));
  EXPECT_FALSE(ScreenStateForUrl(Origin + "/stocks/aapl.html", ScreenerKind::Stocks, state));
  EXPECT_FALSE(
      ScreenStateForUrl("https://evil.example/screener.html", ScreenerKind::Stocks, state));
  EXPECT_EQ(state, "kept");
}

TEST(ScreenStateTest, ResetFiltersKeepsThePageAndDropsTheFragment) {
  struct Case {
    std::string current;
    ScreenerKind kind;
    std::string expected;
  };
  const Case cases[] = {
      {Origin + "/screener.html#f=cap:large&s=-pe", ScreenerKind::Stocks,
       Origin + "/screener.html"},
      {Origin + "/screener/dividend-stocks.html?src=vqs#p=3", ScreenerKind::Stocks,
       Origin + "/screener/dividend-stocks.html"},
      {Origin + "/screener/etf-low-cost.html#f=1", ScreenerKind::Etfs,
       Origin + "/screener/etf-low-cost.html"},
      // No screener page shown (empty, offline page, another site): the kind's default.
      {"", ScreenerKind::Stocks, Origin + "/screener.html"},
      {"", ScreenerKind::Etfs, Origin + "/etf-screener.html"},
      {"data:text/html,offline", ScreenerKind::Etfs, Origin + "/etf-screener.html"},
      {Origin + "/stocks/aapl.html", ScreenerKind::Stocks, Origin + "/screener.html"},
      {"https://evil.example/screener.html#f=1", ScreenerKind::Stocks, Origin + "/screener.html"},
      {"http" + Origin.substr(5) + "/screener.html#f=1", ScreenerKind::Stocks,
       Origin + "/screener.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResetFiltersUrl(c.current, c.kind), c.expected) << c.current;
  }
}

TEST(ScreenStateTest, StartUrlRestoresOnlyAValidStateOfTheKind) {
  struct Case {
    ScreenerKind kind;
    bool restore;
    std::string last, expected;
  };
  const Case cases[] = {
      {ScreenerKind::Stocks, true, "/screener.html#f=1", Origin + "/screener.html#f=1"},
      {ScreenerKind::Stocks, true, "/screener/dividend.html", Origin + "/screener/dividend.html"},
      {ScreenerKind::Stocks, false, "/screener.html#f=1", Origin + "/screener.html"},
      {ScreenerKind::Stocks, true, "/etf-screener.html#f=1", Origin + "/screener.html"},
      {ScreenerKind::Stocks, true, "", Origin + "/screener.html"},
      {ScreenerKind::Stocks, true, "/screener.html#<script>", Origin + "/screener.html"},
      {ScreenerKind::Etfs, true, "/screener.html#f=1", Origin + "/etf-screener.html"},
      {ScreenerKind::Etfs, true, "/screener/etf-low-cost.html#p=2",
       Origin + "/screener/etf-low-cost.html#p=2"},
      {ScreenerKind::Etfs, false, "/screener/etf-low-cost.html", Origin + "/etf-screener.html"},
      {ScreenerKind::Etfs, true, "https://evil.example/etf-screener.html",
       Origin + "/etf-screener.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StartUrl(c.kind, c.restore, c.last), c.expected) << c.last;
  }
}

}  // namespace
}  // namespace velquist
