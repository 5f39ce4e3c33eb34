#include "site/url.h"

#include <gtest/gtest.h>

#include <string>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Host(SiteHost);
const std::string Origin(SiteOrigin);
const std::string Domain(SiteDomain);

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

struct ParseCase {
  std::string url;
  bool ok;
  UrlParts parts;
};

TEST(ParseUrlTest, SplitsAndNormalisesTable) {
  const ParseCase cases[] = {
      {Origin + "/screener.html", true, {"https", Host, "/screener.html", "", ""}},
      {"HTTPS://" + Upper(Host) + "/screener.html",
       true,
       {"https", Host, "/screener.html", "", ""}},
      {Origin + "/Screener.html", true, {"https", Host, "/Screener.html", "", ""}},
      {Origin, true, {"https", Host, "/", "", ""}},
      {Origin + "?a=1#b?c", true, {"https", Host, "/", "a=1", "b?c"}},
      {Origin + "/p#x?y=1", true, {"https", Host, "/p", "", "x?y=1"}},
      {Origin + "/a?q=/x/y", true, {"https", Host, "/a", "q=/x/y", ""}},
      {"https://" + Host + ":443/screener.html#f=1",
       true,
       {"https", Host, "/screener.html", "", "f=1"}},
      {"https://" + Host + ":8443/screener.html",
       true,
       {"https", Host + ":8443", "/screener.html", "", ""}},
      {"https://" + Host + ":80/", true, {"https", Host + ":80", "/", "", ""}},
      {"http://" + Host + ":80/", true, {"http", Host, "/", "", ""}},
      {"http://" + Host + ":443/", true, {"http", Host + ":443", "/", "", ""}},
      {"https://" + Host + ":/x", true, {"https", Host, "/x", "", ""}},
      {"https://" + Host + ":abc/x", true, {"https", Host + ":abc", "/x", "", ""}},
      {"about:blank", true, {"about", "", "blank", "", ""}},
      {"ABOUT:blank#top", true, {"about", "", "blank", "", "top"}},
      {"mailto:a@b.example?subject=x", true, {"mailto", "", "a@b.example?subject=x", "", ""}},
      {"data:text/html,<b>x</b>", true, {"data", "", "text/html,<b>x</b>", "", ""}},
      {"javascript:alert(1)", true, {"javascript", "", "alert(1)", "", ""}},
      {"view-source:x", true, {"view-source", "", "x", "", ""}},
      {Origin + "/a%2e%2e/b\\c", true, {"https", Host, "/a%2e%2e/b\\c", "", ""}},
      {"", false, {}},
      {":nothing", false, {}},
      {"no-colon-at-all", false, {}},
      {"https:" + Host + "/screener.html", false, {}},
      {"https:/" + Host + "/", false, {}},
      {"https://user@" + Host + "/", false, {}},
      {"https://user:pw@" + Host + "/", false, {}},
      {"https://" + Host + "@evil.example/", false, {}},
      {"https://", false, {}},
      {"https:///screener.html", false, {}},
      {"https://:443/", false, {}},
      {"h2://x", false, {}},
      {"ht tp://x", false, {}},
      {"java\nscript:alert(1)", false, {}},
      {"https\\://x", false, {}},
  };
  for (const ParseCase& c : cases) {
    UrlParts parts;
    EXPECT_EQ(ParseUrl(c.url, parts), c.ok) << c.url;
    if (!c.ok) continue;
    EXPECT_EQ(parts.scheme, c.parts.scheme) << c.url;
    EXPECT_EQ(parts.host, c.parts.host) << c.url;
    EXPECT_EQ(parts.path, c.parts.path) << c.url;
    EXPECT_EQ(parts.query, c.parts.query) << c.url;
    EXPECT_EQ(parts.fragment, c.parts.fragment) << c.url;
  }
}

TEST(ParseUrlTest, ResetsOutputOnFailure) {
  UrlParts parts{"https", "h", "/p", "q", "f"};
  EXPECT_FALSE(ParseUrl("https://a@b/", parts));
  EXPECT_TRUE(parts.scheme.empty());
  EXPECT_TRUE(parts.host.empty());
  EXPECT_TRUE(parts.path.empty());
  EXPECT_TRUE(parts.query.empty());
  EXPECT_TRUE(parts.fragment.empty());
}

TEST(ParseUrlTest, HostWithBackslashIsNotTheSite) {
  // Browsers read "\" as "/" here; the parser keeps it in the host, which then is not
  // the site, so such a URL can never pass as a site URL.
  UrlParts parts;
  EXPECT_FALSE(ParseUrl("https://" + Host + "\\@evil.example/", parts));
  ASSERT_TRUE(ParseUrl("https://" + Host + "\\.evil.example/screener.html", parts));
  EXPECT_NE(parts.host, Host);
  ASSERT_TRUE(ParseUrl("https://evil.example\\" + Host + "/screener.html", parts));
  EXPECT_NE(parts.host, Host);
}

TEST(ParseUrlTest, OverlongUrlParses) {
  const std::string url = Origin + "/screener.html#" + std::string(1 << 20, 'a');
  UrlParts parts;
  ASSERT_TRUE(ParseUrl(url, parts));
  EXPECT_EQ(parts.fragment.size(), std::size_t{1} << 20);
}

TEST(IsValidSlugTest, Table) {
  struct Case {
    std::string text;
    bool allowDot;
    bool valid;
  };
  const Case cases[] = {
      {"etf-low-cost", false, true},
      {"brk.b", true, true},
      {"brk.b", false, false},
      {"a", false, true},
      {"0", false, true},
      {"a-", false, true},
      {"a.", true, true},
      {"", false, false},
      {"", true, false},
      {"-x", false, false},
      {".x", true, false},
      {"a..b", true, false},
      {"a--b", false, true},
      {"ABC", false, false},
      {"aBc", true, false},
      {"a_b", true, false},
      {"a/b", true, false},
      {"a b", true, false},
      {"caf\xC3\xA9", true, false},
      {std::string(64, 'a'), false, true},
      {std::string(65, 'a'), false, false},
      {std::string(65, 'a'), true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidSlug(c.text, c.allowDot), c.valid) << c.text << " dot=" << c.allowDot;
  }
}

TEST(MatchPagePathTest, ReturnsSlug) {
  std::string_view slug = "unchanged";
  EXPECT_TRUE(MatchPagePath("/stocks/aapl.html", "stocks", ".html", &slug));
  EXPECT_EQ(slug, "aapl");
  EXPECT_TRUE(MatchPagePath("/stocks/.html", "stocks", ".html", &slug));
  EXPECT_EQ(slug, "");
  EXPECT_FALSE(MatchPagePath("/stocks/a/b.html", "stocks", ".html", &slug));
  EXPECT_FALSE(MatchPagePath("/stocksx/a.html", "stocks", ".html", &slug));
  EXPECT_FALSE(MatchPagePath("stocks/a.html", "stocks", ".html", &slug));
  EXPECT_FALSE(MatchPagePath("/stocks/a.htm", "stocks", ".html", &slug));
  EXPECT_FALSE(MatchPagePath("/stocks.html", "stocks", ".html", &slug));
  EXPECT_FALSE(MatchPagePath("/s/", "s", "/", nullptr));
  EXPECT_TRUE(MatchPagePath("/s//", "s", "/", nullptr));
}

struct PathCase {
  std::string path;
  bool screener, etf, quote, section;
};

TEST(PathPredicatesTest, Table) {
  const PathCase cases[] = {
      {"/screener.html", true, false, false, false},
      {"/etf-screener.html", true, true, false, false},
      {"/screener/dividend-stocks.html", true, false, false, true},
      {"/screener/etf-low-cost.html", true, true, false, true},
      {"/screener/etf.html", true, false, false, true},
      {"/screener/etf-.html", true, true, false, true},
      {"/screener/a.b.html", false, false, false, true},
      {"/screener/x/y.html", false, false, false, false},
      {"/screener/.html", false, false, false, false},
      {"/screener/Big.html", false, false, false, false},
      {"/Screener.html", false, false, false, false},
      {"/screener.html/", false, false, false, false},
      {"/screener.HTML", false, false, false, false},
      {"/stocks/aapl.html", false, false, true, true},
      {"/stocks/brk.b.html", false, false, true, true},
      {"/etfs/spy.html", false, false, true, true},
      {"/stocks/AAPL.html", false, false, false, false},
      {"/stocks/a..b.html", false, false, false, false},
      {"/stocks/.html", false, false, false, false},
      {"/stocks/aapl/x.html", false, false, false, false},
      {"/bonds/x.html", false, false, false, true},
      {"/dividends/aapl.html", false, false, false, true},
      {"/short-interest/aapl.html", false, false, false, true},
      {"/s3/aapl.html", false, false, false, false},
      {"/-x/aapl.html", false, false, false, false},
      {"//aapl.html", false, false, false, false},
      {"/a.html", false, false, false, false},
      {"/x/", false, false, false, false},
      {"", false, false, false, false},
      {"stocks/aapl.html", false, false, false, false},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(IsScreenerPath(c.path), c.screener) << c.path;
    EXPECT_EQ(IsEtfScreenerPath(c.path), c.etf) << c.path;
    EXPECT_EQ(IsQuotePagePath(c.path), c.quote) << c.path;
    EXPECT_EQ(IsSectionPagePath(c.path), c.section) << c.path;
  }
}

TEST(SplitScreenerUrlTest, AcceptsOnlySiteScreenerPages) {
  std::string path = "old", fragment = "old";
  ASSERT_TRUE(SplitScreenerUrl("https://" + Host + ":443/screener.html#f=1", path, fragment));
  EXPECT_EQ(path, "/screener.html");
  EXPECT_EQ(fragment, "f=1");
  ASSERT_TRUE(SplitScreenerUrl(Origin + "/etf-screener.html?src=vqs", path, fragment));
  EXPECT_EQ(path, "/etf-screener.html");
  EXPECT_EQ(fragment, "");
  ASSERT_TRUE(
      SplitScreenerUrl("HTTPS://" + Upper(Host) + "/screener/etf-x.html#a", path, fragment));
  EXPECT_EQ(path, "/screener/etf-x.html");
  EXPECT_EQ(fragment, "a");

  path = "kept";
  fragment = "kept";
  const std::string rejected[] = {
      "https://" + Host + ":8443/screener.html",
      "http://" + Host + "/screener.html",
      "https://" + Domain + "/screener.html",
      Origin + "/stocks/aapl.html",
      Origin + "/Screener.html",
      "https://x@" + Host + "/screener.html",
      "https://evil.example/screener.html#" + Host,
      "not a url",
  };
  for (const std::string& url : rejected) {
    EXPECT_FALSE(SplitScreenerUrl(url, path, fragment)) << url;
  }
  EXPECT_EQ(path, "kept");
  EXPECT_EQ(fragment, "kept");
}

TEST(IsSiteScreenerUrlTest, HttpsScreenerPagesOfTheSiteOnly) {
  struct Case {
    std::string url;
    bool site;
  };
  const Case cases[] = {
      {Origin + "/screener.html", true},
      {"HTTPS://" + Upper(Host) + ":443/screener/etf-x.html?q#f", true},
      {Origin + "/stocks/aapl.html", false},
      {"http://" + Host + "/screener.html", false},
      {"https://" + Host + ":8443/screener.html", false},
      {"https://" + Domain + "/screener.html", false},
      {"https://" + Host + ".evil.example/screener.html", false},
      {"about:blank", false},
  };
  for (const Case& c : cases) {
    UrlParts parts;
    ASSERT_TRUE(ParseUrl(c.url, parts)) << c.url;
    EXPECT_EQ(IsSiteScreenerUrl(parts), c.site) << c.url;
  }
}

TEST(BuildScreenerUrlTest, FallsBackToStocksScreener) {
  EXPECT_EQ(BuildScreenerUrl("/etf-screener.html", ""), Origin + "/etf-screener.html");
  EXPECT_EQ(BuildScreenerUrl("/screener/etf-x.html", "f=1"), Origin + "/screener/etf-x.html#f=1");
  EXPECT_EQ(BuildScreenerUrl("/stocks/aapl.html", "x"), Origin + "/screener.html#x");
  EXPECT_EQ(BuildScreenerUrl("", ""), Origin + "/screener.html");
}

TEST(SiteUrlForPathTest, Table) {
  EXPECT_EQ(SiteUrlForPath("/graphwick.html"), Origin + "/graphwick.html");
  EXPECT_EQ(SiteUrlForPath("/"), Origin + "/");
  EXPECT_EQ(SiteUrlForPath(""), Origin + "/");
  EXPECT_EQ(SiteUrlForPath("evil.example/x"), Origin + "/");
}

TEST(AddReferralTagTest, Table) {
  struct Case {
    std::string url, expected;
  };
  const Case cases[] = {
      {Origin + "/screener.html#x", Origin + "/screener.html?src=vqs#x"},
      {Origin + "/screener.html", Origin + "/screener.html?src=vqs"},
      {Origin, Origin + "?src=vqs"},
      {Origin + "/p.html?x=1", Origin + "/p.html?x=1&src=vqs"},
      {Origin + "/p.html?x=1#f?g", Origin + "/p.html?x=1&src=vqs#f?g"},
      {Origin + "/p.html?x=1&", Origin + "/p.html?x=1&src=vqs"},
      {Origin + "/p.html?", Origin + "/p.html?src=vqs"},
      {Origin + "/p.html?a=1&src=vqs&b=2", Origin + "/p.html?a=1&src=vqs&b=2"},
      {Origin + "/p.html?src=vqs", Origin + "/p.html?src=vqs"},
      {Origin + "/p.html?src=vqs2", Origin + "/p.html?src=vqs2&src=vqs"},
      {Origin + "/p.html?src=other", Origin + "/p.html?src=other&src=vqs"},
      {Origin + "/p.html?xsrc=vqs", Origin + "/p.html?xsrc=vqs&src=vqs"},
      {Origin + "/p.html#src=vqs", Origin + "/p.html?src=vqs#src=vqs"},
      {"http://" + Domain + "/", "http://" + Domain + "/?src=vqs"},
      {"HTTPS://" + Upper(Host) + "/", "HTTPS://" + Upper(Host) + "/?src=vqs"},
      {"https://" + Host + ":443/x", "https://" + Host + ":443/x?src=vqs"},
      {"https://" + Host + ":8443/x", "https://" + Host + ":8443/x"},
      {"https://other.example/p", "https://other.example/p"},
      {"https://x." + Host + "/p", "https://x." + Host + "/p"},
      {"https://u@" + Host + "/p", "https://u@" + Host + "/p"},
      {"mailto:a@" + Domain, "mailto:a@" + Domain},
      {"not a url", "not a url"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddReferralTag(c.url), c.expected) << c.url;
  }
}

}  // namespace
}  // namespace velquist
