#include "web/page_message.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "site/url.h"
#include "site_constants.h"

namespace velquist {
namespace {

const std::string Host(SiteHost);
const std::string Origin(SiteOrigin);
const std::string Screener = Origin + "/screener.html#f=1";

using Action = WebMessageAction;

WebMessageResult Interpret(const std::string& json, const std::string& source = Screener,
                           bool offline = false) {
  return InterpretWebMessage(source, json, ScreenerKind::Stocks, offline);
}

std::string Tab(const std::string& label, const std::string& path) {
  return R"({"l":")" + label + R"(","h":")" + path + R"("})";
}

TEST(IsTrustedMessageSourceTest, OnlyScreenerPagesOfTheSite) {
  EXPECT_TRUE(IsTrustedMessageSource(Screener));
  EXPECT_TRUE(IsTrustedMessageSource(Origin + "/screener/etf-low-cost.html?x=1"));
  EXPECT_TRUE(IsTrustedMessageSource("https://" + Host + ":443/etf-screener.html"));
  const std::string untrusted[] = {
      Origin + "/stocks/aapl.html",
      Origin + "/",
      "http://" + Host + "/screener.html",
      "https://" + Host + ":8443/screener.html",
      "https://" + std::string(SiteDomain) + "/screener.html",
      "https://evil.example/screener.html",
      "https://evil.example/screener.html#" + Host,
      "https://x@" + Host + "/screener.html",
      "about:blank",
      "data:text/html,x",
      "",
  };
  for (const std::string& source : untrusted) {
    EXPECT_FALSE(IsTrustedMessageSource(source)) << source;
  }
}

TEST(InterpretWebMessageTest, MalformedMessagesAreDropped) {
  const std::string bad[] = {
      "",
      "{",
      "not json",
      R"({"t":"url","href":")" + Screener + R"(")",
      R"({"t":"url"} trailing)",
      R"(["url"])",
      R"("url")",
      "null",
      "42",
      R"({"t":1})",
      R"({"t":null,"href":"x"})",
      R"({"t":"URL","href":")" + Screener + R"("})",
      R"({"t":"navigate","href":")" + Screener + R"("})",
      R"({})",
  };
  for (const std::string& json : bad) {
    const WebMessageResult result = Interpret(json, Screener, true);
    EXPECT_EQ(result.action, Action::Ignore) << json;
    EXPECT_TRUE(result.url.empty()) << json;
  }
}

TEST(InterpretWebMessageTest, UrlReports) {
  const WebMessageResult result = Interpret(R"({"t":"url","href":")" + Screener + R"("})");
  EXPECT_EQ(result.action, Action::ReportUrl);
  EXPECT_EQ(result.url, Screener);
  // A missing or non-string href reads as empty; the tracker ignores it.
  EXPECT_EQ(Interpret(R"({"t":"url","href":5})").url, "");
  // From a document that is no screener page: ignored.
  EXPECT_EQ(
      Interpret(R"({"t":"url","href":")" + Screener + R"("})", Origin + "/stocks/a.html").action,
      Action::Ignore);
  EXPECT_EQ(Interpret(R"({"t":"url","href":")" + Screener + R"("})", "about:blank").action,
            Action::Ignore);
}

TEST(InterpretWebMessageTest, RetryOnlyWhileOffline) {
  EXPECT_EQ(Interpret(R"({"t":"retry"})", "about:blank", true).action, Action::Retry);
  EXPECT_EQ(Interpret(R"({"t":"retry"})", "data:text/html,x", true).action, Action::Retry);
  EXPECT_EQ(Interpret(R"({"t":"retry"})", Screener, false).action, Action::Ignore);
  EXPECT_EQ(Interpret(R"({"t":"retry"})", "about:blank", false).action, Action::Ignore);
}

TEST(InterpretWebMessageTest, HoverShowsWhatAClickOpens) {
  struct Case {
    std::string href;
    Action action;
    std::string url;
  };
  const std::string longUrl = "https://other.example/" + std::string(2048, 'a');
  const std::string limitUrl = "https://other.example/" + std::string(2047 - 22, 'a');
  const Case cases[] = {
      {"", Action::Hover, ""},
      {Origin + "/stocks/aapl.html", Action::Hover, Origin + "/stocks/aapl.html?src=vqs"},
      {Origin + "/screener/etf-x.html", Action::Hover, Origin + "/screener/etf-x.html"},
      {"https://other.example/a", Action::Hover, "https://other.example/a"},
      {"http://" + std::string(SiteDomain) + "/", Action::Hover,
       "http://" + std::string(SiteDomain) + "/?src=vqs"},
      {limitUrl, Action::Hover, limitUrl},
      {longUrl, Action::Ignore, ""},
      {"mailto:a@b.example", Action::Ignore, ""},
      {"javascript:alert(1)", Action::Ignore, ""},
      {"https://u@" + Host + "/", Action::Ignore, ""},
      {"no url", Action::Ignore, ""},
  };
  ASSERT_EQ(limitUrl.size(), 2047u);
  for (const Case& c : cases) {
    const WebMessageResult result = Interpret(R"({"t":"hover","href":")" + c.href + R"("})");
    EXPECT_EQ(result.action, c.action) << c.href;
    EXPECT_EQ(result.url, c.url) << c.href;
  }
  EXPECT_EQ(Interpret(R"({"t":"hover","href":"https://a.example/"})", "https://a.example/").action,
            Action::Ignore);
  EXPECT_EQ(Interpret(R"({"t":"hover"})").action, Action::Hover);
}

TEST(InterpretWebMessageTest, RowMenuRequest) {
  const std::string json = R"({"t":"ctx","kind":"etfs","sym":" A&B\n","path":"/etfs/spy.html",)"
                           R"("tabs":[)" +
                           Tab("Overview", "/etfs/spy.html") + "," +
                           Tab("  Holdings\\nlist ", "/holdings/spy.html") + "," +
                           Tab("Bad path", "/x/y/z.html") + "," + Tab("   ", "/news/spy.html") +
                           "," + Tab("Dividends", "/div2/spy.html") + R"(],"ok":true})";
  const WebMessageResult result = InterpretWebMessage(Screener, json, ScreenerKind::Etfs, false);
  ASSERT_EQ(result.action, Action::RowMenu);
  const RowMenuRequest& request = result.rowMenu;
  EXPECT_EQ(request.hostKind, ScreenerKind::Etfs);
  EXPECT_TRUE(request.isEtf);
  EXPECT_EQ(request.symbol, "A&B");
  EXPECT_EQ(request.path, "/etfs/spy.html");
  ASSERT_EQ(request.tabs.size(), 2u);
  EXPECT_EQ(request.tabs[0].label, "Overview");
  EXPECT_EQ(request.tabs[0].path, "/etfs/spy.html");
  EXPECT_EQ(request.tabs[1].label, "Holdings list");
  EXPECT_EQ(request.tabs[1].path, "/holdings/spy.html");
  EXPECT_TRUE(request.UseItems);
}

TEST(InterpretWebMessageTest, RowMenuLimits) {
  std::string tabs;
  for (int i = 0; i < 50; ++i) {
    if (i) tabs += ",";
    tabs += Tab("Tab " + std::to_string(i) + " " + std::string(60, 'x'), "/news/a.html");
  }
  const std::string json = R"({"t":"ctx","kind":"stocks","sym":"ABCDEFGHIJKLMNOPQRSTUVWXYZ",)"
                           R"("path":"/stocks/a.html","tabs":[)" +
                           tabs + R"(],"ok":true})";
  const WebMessageResult result = Interpret(json);
  ASSERT_EQ(result.action, Action::RowMenu);
  EXPECT_FALSE(result.rowMenu.isEtf);
  EXPECT_EQ(result.rowMenu.symbol, "ABCDEFGHIJKLMNOP");
  ASSERT_EQ(result.rowMenu.tabs.size(), MaxRowTabs);
  EXPECT_EQ(result.rowMenu.tabs[39].label, ("Tab 39 " + std::string(60, 'x')).substr(0, 40));
}

TEST(InterpretWebMessageTest, SkippedTabsDoNotCountTowardsTheLimit) {
  std::string tabs;
  for (int i = 0; i < 45; ++i) {
    if (i) tabs += ",";
    // Before every third entry, two unusable ones: no section page, and a blank label.
    if (i % 3 == 1) {
      tabs += Tab("Deep", "/news/a/b.html") + "," + Tab(" \\t ", "/news/a.html") + ",";
    }
    tabs += Tab("T" + std::to_string(i), "/news/a.html");
  }
  const std::string json = R"({"t":"ctx","kind":"stocks","sym":"A","path":"/stocks/a.html",)"
                           R"("tabs":[)" +
                           tabs + R"(],"ok":true})";
  const WebMessageResult result = Interpret(json);
  ASSERT_EQ(result.action, Action::RowMenu);
  ASSERT_EQ(result.rowMenu.tabs.size(), MaxRowTabs);
  EXPECT_EQ(result.rowMenu.tabs.front().label, "T0");
  EXPECT_EQ(result.rowMenu.tabs.back().label, "T39");
}

TEST(InterpretWebMessageTest, RowMenuUseItemsNeedsOkAndTabs) {
  const std::string base = R"({"t":"ctx","kind":"stocks","sym":"A","path":"/stocks/a.html",)";
  const std::string oneTab = R"("tabs":[)" + Tab("News", "/news/a.html") + "]";
  struct Case {
    std::string rest;
    bool useItems;
    std::size_t tabs;
  };
  const Case cases[] = {
      {oneTab + R"(,"ok":true})", true, 1},
      {oneTab + R"(,"ok":false})", false, 1},
      {oneTab + R"(,"ok":"true"})", false, 1},
      {oneTab + R"(,"ok":1})", false, 1},
      {oneTab + "}", false, 1},
      {R"("tabs":[],"ok":true})", false, 0},
      {R"("tabs":{"l":"News","h":"/news/a.html"},"ok":true})", false, 0},
      {R"("tabs":["x",null,5,[]],"ok":true})", false, 0},
      {R"("ok":true})", false, 0},
  };
  for (const Case& c : cases) {
    const WebMessageResult result = Interpret(base + c.rest);
    ASSERT_EQ(result.action, Action::RowMenu) << c.rest;
    EXPECT_EQ(result.rowMenu.UseItems, c.useItems) << c.rest;
    EXPECT_EQ(result.rowMenu.tabs.size(), c.tabs) << c.rest;
  }
}

TEST(InterpretWebMessageTest, RowMenuNeedsASymbolPageAndATrustedSender) {
  const std::string paths[] = {"",
                               "/bonds/a.html",
                               "/stocks/A.html",
                               "/stocks/a/b.html",
                               "https://evil.example/stocks/a.html",
                               "/stocks/../a.html"};
  for (const std::string& path : paths) {
    const std::string json =
        R"({"t":"ctx","kind":"stocks","sym":"A","path":")" + path + R"(","tabs":[],"ok":false})";
    EXPECT_EQ(Interpret(json).action, Action::Ignore) << path;
  }
  const std::string good =
      R"({"t":"ctx","kind":"stocks","sym":"A","path":"/stocks/a.html","tabs":[],"ok":false})";
  EXPECT_EQ(Interpret(good).action, Action::RowMenu);
  EXPECT_EQ(Interpret(good, Origin + "/stocks/a.html").action, Action::Ignore);
  EXPECT_EQ(Interpret(good, "https://evil.example/screener.html").action, Action::Ignore);
  // "kind" other than "etfs" means a stock row.
  const std::string odd =
      R"({"t":"ctx","kind":"ETFS","sym":"A","path":"/etfs/a.html","tabs":[],"ok":false})";
  const WebMessageResult result = Interpret(odd);
  ASSERT_EQ(result.action, Action::RowMenu);
  EXPECT_FALSE(result.rowMenu.isEtf);
  EXPECT_FALSE(result.rowMenu.UseItems);
}

// Messages glued together from members a hostile page might send, from trusted and
// untrusted documents. Whatever comes out must meet the rules the menu and status line
// rely on. The seed is fixed, so every run checks the same messages.
TEST(InterpretWebMessageTest, GluedMessagesKeepTheirPromises) {
  const std::vector<std::string> types = {"url", "hover", "ctx", "retry", "URL", "", "x"};
  const std::vector<std::string> texts = {"",
                                          Screener,
                                          Origin + "/stocks/a.html",
                                          "/stocks/a.html",
                                          "/etfs/b.c.html",
                                          "/news/a.html",
                                          "/x/y/z.html",
                                          "javascript:alert(1)",
                                          "mailto:a@b.example",
                                          " \\n\\t ",
                                          "A&B",
                                          "\\u0000\\u001f",
                                          "\xC3\xA9\xFF",
                                          std::string(3000, 'w'),
                                          "https://other.example/" + std::string(2030, 'p')};
  const std::vector<std::string> sources = {Screener, Origin + "/stocks/a.html", "about:blank",
                                            "https://evil.example/screener.html"};
  std::mt19937 rng(77);
  const auto pick = [&rng](const std::vector<std::string>& list) -> const std::string& {
    return list[rng() % list.size()];
  };
  const auto quoted = [&](const std::string& text) { return "\"" + text + "\""; };
  std::size_t hovers = 0, rowMenus = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string tabs;
    for (std::uint32_t k = rng() % 50; k > 0; --k) {
      tabs += (tabs.empty() ? "" : ",") + std::string(R"({"l":)") + quoted(pick(texts)) +
              R"(,"h":)" + quoted(pick(texts)) + "}";
    }
    const std::string json =
        R"({"t":)" + quoted(pick(types)) + R"(,"href":)" + quoted(pick(texts)) +
        R"(,"kind":"etfs","sym":)" + quoted(pick(texts)) + R"(,"path":)" + quoted(pick(texts)) +
        R"(,"tabs":[)" + tabs + R"(],"ok":)" + (rng() % 2 ? "true" : "1") + "}";
    const std::string& source = pick(sources);
    const WebMessageResult result = InterpretWebMessage(source, json, ScreenerKind::Etfs, true);
    if (!IsTrustedMessageSource(source)) {
      EXPECT_TRUE(result.action == Action::Ignore || result.action == Action::Retry) << json;
    }
    if (result.action == Action::Hover && !result.url.empty()) {
      ++hovers;
      UrlParts parts;
      ASSERT_TRUE(ParseUrl(result.url, parts)) << json;
      EXPECT_TRUE(parts.scheme == "http" || parts.scheme == "https") << json;
      EXPECT_LT(result.url.size(), MaxHoverUrlBytes + 8) << json;
    }
    if (result.action != Action::RowMenu) continue;
    ++rowMenus;
    const RowMenuRequest& request = result.rowMenu;
    EXPECT_TRUE(IsQuotePagePath(request.path)) << json;
    EXPECT_LE(request.symbol.size(), 4 * MaxRowSymbolUnits) << json;
    EXPECT_LE(request.tabs.size(), MaxRowTabs) << json;
    EXPECT_EQ(request.UseItems, json.ends_with(R"("ok":true})") && !request.tabs.empty());
    for (const RowMenuTab& tab : request.tabs) {
      EXPECT_TRUE(IsSectionPagePath(tab.path)) << json;
      EXPECT_FALSE(tab.label.empty()) << json;
      EXPECT_LE(tab.label.size(), 4 * MaxRowTabLabelUnits) << json;
      for (char c : tab.label + request.symbol) {
        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << json;
      }
    }
  }
  // The glued messages do reach the hover and row-menu rules, so the checks above ran.
  EXPECT_GT(hovers, 20u);
  EXPECT_GT(rowMenus, 20u);
}

}  // namespace
}  // namespace velquist
