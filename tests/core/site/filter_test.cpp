#include "site/filter.h"

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
const std::string Domain(SiteDomain);
// The site's host with its last letter swapped for a look-alike Cyrillic one.
const std::string LookAlikeHost = Host.substr(0, Host.size() - 1) + "\xD0\xB5";

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

constexpr RequestClass Doc = RequestClass::Document;
constexpr RequestClass Fetch = RequestClass::DataFetch;
constexpr RequestClass Asset = RequestClass::Asset;

struct RequestCase {
  std::string uri;
  // Expected answer for Document, DataFetch and Asset requests with GET.
  bool doc, fetch, asset;
};

TEST(IsRequestAllowedTest, GetRequestsTable) {
  const RequestCase cases[] = {
      // Screener pages load as documents only.
      {Origin + "/screener.html", true, false, false},
      {Origin + "/etf-screener.html#f=1", true, false, false},
      {Origin + "/screener/etf-low-cost.html?src=vqs", true, false, false},
      {"https://" + Host + ":443/screener.html", true, false, false},
      {"HTTPS://" + Host + "/screener.html", true, false, false},
      {Origin + "/Screener.html", false, false, false},
      {Origin + "/", false, false, false},
      // The three data files, for scripts only, cache-busting query or not.
      {Origin + "/data/search.json", false, true, false},
      {Origin + "/data/search.json?v=123", false, true, false},
      {Origin + "/data/screener/screener.json", false, true, false},
      {Origin + "/screener/data/etf-screener.json", false, true, false},
      {Origin + "/data/other.json", false, false, false},
      {Origin + "/data/screener/other.json", false, false, false},
      {Origin + "/data/screener.html", false, false, false},
      {Origin + "/data/search.JSON", false, false, false},
      {Origin + "/Data/search.json", false, false, false},
      {Origin + "/screener/data/other.json", false, false, false},
      // Symbol pages are fetched for the row menu, never loaded as documents.
      {Origin + "/stocks/aapl.html", false, true, false},
      {Origin + "/etfs/spy.html", false, true, false},
      {Origin + "/stocks/brk.b.html", false, true, false},
      {Origin + "/dividends/aapl.html", false, false, false},
      // Static assets.
      {Origin + "/css/site.css", false, false, true},
      {Origin + "/css/site.min.css?v=2", false, false, true},
      {Origin + "/js/app.js", false, false, true},
      {Origin + "/screener/grid.js", false, false, true},
      {Origin + "/favicon.ico", false, false, true},
      {Origin + "/images/logo.png", false, false, true},
      {Origin + "/images/Logo.PNG", false, false, true},
      {Origin + "/images/icons/a.svg", false, false, true},
      {Origin + "/images/a.jpeg", false, false, true},
      {Origin + "/images/a.webp", false, false, true},
      {Origin + "/images/a.gif", false, false, true},
      {Origin + "/images/a.jpg", false, false, true},
      {Origin + "/images/a.ico", false, false, true},
      {Origin + "/images/a.bmp", false, false, false},
      {Origin + "/images/", false, false, false},
      {Origin + "/Images/a.png", false, false, false},
      {Origin + "/img/a.png", false, false, false},
      {Origin + "/css/Site.css", false, false, false},
      {Origin + "/css/a/b.css", false, false, false},
      {Origin + "/js/app.mjs", false, false, false},
      {Origin + "/favicon.ico/x", false, false, false},
      {Origin + "/FAVICON.ICO", false, false, false},
      // Fonts are never loaded, from the site or elsewhere.
      {Origin + "/fonts/inter.woff2", false, false, false},
      {Origin + "/css/inter.woff2", false, false, false},
      {Origin + "/images/inter.woff2", false, false, false},
      {"https://fonts.example.com/css/inter.css", false, false, false},
      // Paths that could escape their folder.
      {Origin + "/images/../data/x.png", false, false, false},
      {Origin + "/css/..site.css", false, false, false},
      {Origin + "//screener.html", false, false, false},
      {Origin + "/images//a.png", false, false, false},
      {Origin + "/images\\a.png", false, false, false},
      {Origin + "/images/%2e%2e/a.png", false, false, false},
      {Origin + "/screener%2Ehtml", false, false, false},
      {Origin + "/stocks/aapl%2Ehtml", false, false, false},
      // .php in any case.
      {Origin + "/images/x.php", false, false, false},
      {Origin + "/screener/x.PHP", false, false, false},
      {Origin + "/js/a.Php", false, false, false},
      // Other hosts, ports, schemes, user information.
      {"http://" + Host + "/screener.html", false, false, false},
      {"https://" + Domain + "/screener.html", false, false, false},
      {"https://" + Host + ":8443/screener.html", false, false, false},
      {"https://cdn." + Domain + "/js/app.js", false, false, false},
      {"https://analytics.example/js/a.js", false, false, false},
      {"https://user@" + Host + "/screener.html", false, false, false},
      {"https://" + Host + "@evil.example/screener.html", false, false, false},
      {"https://evil.example/screener.html?" + Host, false, false, false},
      {"https://" + Host + ".evil.example/screener.html", false, false, false},
      {"https://" + Host + "\\.evil.example/screener.html", false, false, false},
      {"https://" + LookAlikeHost + "/screener.html", false, false, false},
      {"https://xn--" + Host + "/screener.html", false, false, false},
      {"https://" + Host + "./screener.html", false, false, false},
      {"https://" + Host + "%2F/screener.html", false, false, false},
      {"wss://" + Host + "/screener.html", false, false, false},
      {"ftp://" + Host + "/screener.html", false, false, false},
      {"file:///etc/passwd", false, false, false},
      {"javascript:alert(1)", false, false, false},
      {"about:srcdoc", false, false, false},
      {"about:blank?x", false, false, false},
      {"", false, false, false},
      {"screener.html", false, false, false},
      // Local content the page may always use.
      {"data:image/png;base64,AAAA", true, true, true},
      {"blob:" + Origin + "/0b1c", true, true, true},
      {"about:blank", true, true, true},
      {"about:blank#x", true, true, true},
  };
  for (const RequestCase& c : cases) {
    EXPECT_EQ(IsRequestAllowed("GET", c.uri, Doc), c.doc) << "document " << c.uri;
    EXPECT_EQ(IsRequestAllowed("GET", c.uri, Fetch), c.fetch) << "fetch " << c.uri;
    EXPECT_EQ(IsRequestAllowed("GET", c.uri, Asset), c.asset) << "asset " << c.uri;
  }
}

// Shared and service workers are refused whatever their script's address.
TEST(IsRequestAllowedTest, WorkerScriptsAreAlwaysRefused) {
  for (const std::string& uri :
       {Origin + "/js/app.js", Origin + "/screener/app.js", Origin + "/screener.html",
        Origin + "/data/search.json", std::string("blob:") + Origin + "/0b1c",
        std::string("data:text/javascript,1"), std::string("about:blank")}) {
    EXPECT_FALSE(IsRequestAllowed("GET", uri, RequestClass::Worker)) << uri;
  }
  EXPECT_TRUE(IsRequestAllowed("GET", Origin + "/js/app.js", Asset));
}

TEST(IsRequestAllowedTest, OnlyGetIsAllowed) {
  const std::string screener = Origin + "/screener.html";
  ASSERT_TRUE(IsRequestAllowed("GET", screener, Doc));
  for (const char* method :
       {"POST", "HEAD", "OPTIONS", "PUT", "DELETE", "get", "Get", "GET ", ""}) {
    EXPECT_FALSE(IsRequestAllowed(method, screener, Doc)) << method;
    EXPECT_FALSE(IsRequestAllowed(method, Origin + "/data/search.json", Fetch)) << method;
    EXPECT_FALSE(IsRequestAllowed(method, "data:text/plain,x", Asset)) << method;
  }
}

TEST(IsRequestAllowedTest, OverlongUrlIsJudgedByItsParts) {
  const std::string longQuery(100000, 'q');
  EXPECT_TRUE(IsRequestAllowed("GET", Origin + "/data/search.json?" + longQuery, Fetch));
  EXPECT_FALSE(IsRequestAllowed("GET", Origin + "/" + longQuery + ".php", Asset));
}

// A browser strips TAB, CR and LF before it resolves dots, so a control byte anywhere must
// make the whole URL unusable, for every class of request and for navigations.
TEST(FilterTest, ControlBytesAnywhereAreRefused) {
  struct Case {
    std::string uri;
    RequestClass cls;  // the class the same URL without the byte would pass as
  };
  const Case cases[] = {
      {Origin + "/images/.\t./data/x.png", Asset},
      {Origin + "/images/.\n./data/x.png", Asset},
      {Origin + "/images/.\r./data/x.png", Asset},
      {Origin + "/images/a\x01.png", Asset},
      {Origin + "/images/a\x1F.png", Asset},
      {Origin + "/images/a\x7F.png", Asset},
      {Origin + "/screener.html\t", Doc},
      {Origin + "/screener.html#a\nb", Doc},
      {Origin + "/data/search.json?v=\r", Fetch},
      {"https://" + Host + "\t/screener.html", Doc},
      {"ht\ttps://" + Host + "/screener.html", Doc},
      {"\n" + Origin + "/screener.html", Doc},
      {Origin + "/js/app.js" + std::string(1, '\0'), Asset},
      {"data:text/plain,a\tb", Asset},
      {"about:blank\n", Doc},
  };
  for (const Case& c : cases) {
    for (RequestClass cls : {Doc, Fetch, Asset}) {
      EXPECT_FALSE(IsRequestAllowed("GET", c.uri, cls)) << c.uri;
    }
    EXPECT_EQ(ClassifyNavigation(c.uri).action, NavigationAction::Block) << c.uri;
    EXPECT_EQ(ExternalOpenUrl(c.uri), "") << c.uri;
    // The same URL without its control bytes is allowed: the refusal is the byte's.
    std::string clean;
    for (char ch : c.uri) {
      if (static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F) clean += ch;
    }
    if (clean.find("./") == std::string::npos) {
      EXPECT_TRUE(IsRequestAllowed("GET", clean, c.cls)) << clean;
    }
  }
  // Bytes of 0x80 and above (UTF-8) are no control bytes.
  EXPECT_TRUE(IsRequestAllowed("GET", Origin + "/screener.html#n=\xC3\xA9", Doc));
  EXPECT_TRUE(IsRequestAllowed("GET", Origin + "/screener.html#a b", Doc));
}

TEST(FilterPathsTest, DataFilesAndAssets) {
  EXPECT_TRUE(IsDataFilePath("/data/screener/screener.json"));
  EXPECT_TRUE(IsDataFilePath("/screener/data/etf-screener.json"));
  EXPECT_TRUE(IsDataFilePath("/data/search.json"));
  EXPECT_FALSE(IsDataFilePath("/data/search.json/"));
  EXPECT_FALSE(IsDataFilePath("data/search.json"));
  EXPECT_FALSE(IsDataFilePath(""));
  EXPECT_TRUE(IsStaticAssetPath("/images/a.png"));
  EXPECT_TRUE(IsStaticAssetPath("/images/.png"));
  EXPECT_FALSE(IsStaticAssetPath("/css/.css"));
  EXPECT_FALSE(IsStaticAssetPath("/css/-a.css"));
  EXPECT_FALSE(IsStaticAssetPath("/screener/a.html"));
}

TEST(FilterTest, RefusalResponse) {
  EXPECT_EQ(RefusalStatus, 403);
  EXPECT_EQ(RefusalReason, "Forbidden");
  EXPECT_EQ(RefusalHeaders, "Content-Type: text/plain\r\nCache-Control: no-store");
}

struct NavigationCase {
  std::string url;
  NavigationAction action;
  std::string externalUrl;
};

TEST(ClassifyNavigationTest, Table) {
  using A = NavigationAction;
  const NavigationCase cases[] = {
      {Origin + "/screener.html", A::StayInside, ""},
      {Origin + "/screener.html#f=1", A::StayInside, ""},
      {Origin + "/screener/etf-low-cost.html?x=1", A::StayInside, ""},
      {"HTTPS://" + Host + ":443/etf-screener.html", A::StayInside, ""},
      {"about:blank", A::StayInside, ""},
      {"data:text/html,hi", A::StayInside, ""},
      {Origin + "/stocks/aapl.html", A::OpenExternal, Origin + "/stocks/aapl.html?src=vqs"},
      {Origin + "/stocks/aapl.html#news", A::OpenExternal,
       Origin + "/stocks/aapl.html?src=vqs#news"},
      {Origin + "/", A::OpenExternal, Origin + "/?src=vqs"},
      {"http://" + Host + "/screener.html", A::OpenExternal,
       "http://" + Host + "/screener.html?src=vqs"},
      {"https://" + Domain + "/screener.html", A::OpenExternal,
       "https://" + Domain + "/screener.html?src=vqs"},
      {"https://" + Host + ":8443/screener.html", A::OpenExternal,
       "https://" + Host + ":8443/screener.html"},
      {"https://other.example/p?q=1", A::OpenExternal, "https://other.example/p?q=1"},
      {"https://evil.example/screener.html#" + Host, A::OpenExternal,
       "https://evil.example/screener.html#" + Host},
      {"https://" + LookAlikeHost + "/stocks/a.html", A::OpenExternal,
       "https://" + LookAlikeHost + "/stocks/a.html"},
      {"https://" + Host + "./screener.html", A::OpenExternal,
       "https://" + Host + "./screener.html"},
      {"mailto:help@" + Domain, A::OpenExternal, "mailto:help@" + Domain},
      {"MAILTO:help@" + Domain + "?subject=a#b", A::OpenExternal,
       "MAILTO:help@" + Domain + "?subject=a#b"},
      {"javascript:alert(1)", A::Block, ""},
      {"JavaScript:alert(1)", A::Block, ""},
      {"java\tscript:alert(1)", A::Block, ""},
      {"file:///etc/passwd", A::Block, ""},
      {"blob:" + Origin + "/abc", A::Block, ""},
      {"ftp://" + Host + "/x", A::Block, ""},
      {"about:config", A::Block, ""},
      {"https://user@" + Host + "/screener.html", A::Block, ""},
      {"https:" + Host + "/screener.html", A::Block, ""},
      {"", A::Block, ""},
      {"/screener.html", A::Block, ""},
  };
  for (const NavigationCase& c : cases) {
    const NavigationDecision decision = ClassifyNavigation(c.url);
    EXPECT_EQ(decision.action, c.action) << c.url;
    EXPECT_EQ(decision.url, c.externalUrl) << c.url;
  }
}

TEST(ExternalOpenUrlTest, Table) {
  struct Case {
    std::string url, expected;
  };
  const Case cases[] = {
      {Origin + "/screener.html#f=1", Origin + "/screener.html?src=vqs#f=1"},
      {Origin + "/stocks/aapl.html", Origin + "/stocks/aapl.html?src=vqs"},
      {"https://other.example/", "https://other.example/"},
      {"mailto:a@b.example", "mailto:a@b.example"},
      // Upper-case scheme: the screener page stays inside but is not "https://" as written.
      {"HTTPS://" + Host + "/screener.html", ""},
      {"about:blank", ""},
      {"data:text/html,x", ""},
      {"javascript:alert(1)", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExternalOpenUrl(c.url), c.expected) << c.url;
  }
}

// URLs glued together from pieces that hostile pages use to confuse URL parsers: a
// scheme, an authority, some path pieces and a query or fragment tail, each drawn from
// its own list. The seed is fixed, so every run checks the same inputs.
std::vector<std::string> GluedUrls(std::size_t count) {
  const std::vector<std::string> schemes = {
      "https://", "HTTPS://", "http://", "https:",      "data:",
      "blob:",    "about:",   "mailto:", "javascript:", ""};
  const std::vector<std::string> authorities = {Host,
                                                Host,
                                                Upper(Host),
                                                Domain,
                                                Host + ":443",
                                                Host + ":8443",
                                                "u@" + Host,
                                                Host + "@evil.example",
                                                "evil.example",
                                                Host + ".",
                                                Host + "\\",
                                                "blank",
                                                ""};
  const std::vector<std::string> pathPieces = {"/screener.html",
                                               "/etf-screener.html",
                                               "/screener/",
                                               "etf-x.html",
                                               "/stocks/a.html",
                                               "/data/search.json",
                                               "/images/a.PNG",
                                               "/css/a.css",
                                               ".php",
                                               "..",
                                               "%2e",
                                               "\\",
                                               "//",
                                               "/",
                                               "\xC3\xA9",
                                               " ",
                                               std::string(1, '\0'),
                                               "\t",
                                               "@",
                                               ":"};
  const std::vector<std::string> tails = {"",     "",  "?x=1", "?src=vqs", "?",    "&",
                                          "#f=1", "#", "#a?b", "#src=vqs", "?a#b", "?x=1&#g"};
  std::mt19937 rng(20261208);
  const auto pick = [&rng](const std::vector<std::string>& list) -> const std::string& {
    return list[rng() % list.size()];
  };
  std::vector<std::string> urls;
  for (std::size_t i = 0; i < count; ++i) {
    std::string url = pick(schemes) + pick(authorities);
    for (std::uint32_t k = rng() % 4; k > 0; --k) url += pick(pathPieces);
    url += pick(tails);
    urls.push_back(std::move(url));
  }
  return urls;
}

TEST(FilterInvariantTest, GluedUrlsNeverSlipPastTheRules) {
  std::size_t allowed = 0, external = 0;
  for (const std::string& url : GluedUrls(20000)) {
    UrlParts parts;
    const bool parsed = ParseUrl(url, parts);
    for (RequestClass cls : {Doc, Fetch, Asset}) {
      EXPECT_FALSE(IsRequestAllowed("POST", url, cls)) << url;
      if (!IsRequestAllowed("GET", url, cls) || parts.scheme != "https") continue;
      ++allowed;
      // Whatever reaches the network is the site itself, on a plain path.
      EXPECT_EQ(parts.host, Host) << url;
      for (const char* bad : {"..", "//", "\\", "%"}) {
        EXPECT_EQ(parts.path.find(bad), std::string::npos) << url;
      }
      if (cls == Doc) {
        EXPECT_EQ(ClassifyNavigation(url).action, NavigationAction::StayInside) << url;
      }
    }
    const NavigationDecision decision = ClassifyNavigation(url);
    if (decision.action != NavigationAction::OpenExternal) {
      EXPECT_TRUE(decision.url.empty()) << url;
      continue;
    }
    // What goes to the default browser names the same place, tagged at most once.
    ++external;
    UrlParts opened;
    ASSERT_TRUE(parsed) << url;
    ASSERT_TRUE(ParseUrl(decision.url, opened)) << url;
    EXPECT_EQ(opened.scheme, parts.scheme) << url;
    EXPECT_EQ(opened.host, parts.host) << url;
    EXPECT_EQ(opened.path, parts.path) << url;
    EXPECT_EQ(opened.fragment, parts.fragment) << url;
    EXPECT_EQ(AddReferralTag(decision.url), decision.url) << url;
  }
  // The pieces do make allowed requests and external links, so the checks above ran.
  EXPECT_GT(allowed, 20u);
  EXPECT_GT(external, 100u);
}

TEST(FilterInvariantTest, ScreenerUrlsSurviveARoundTrip) {
  std::size_t screenerUrls = 0;
  for (const std::string& url : GluedUrls(20000)) {
    std::string path, fragment;
    if (!SplitScreenerUrl(url, path, fragment)) continue;
    ++screenerUrls;
    std::string againPath, againFragment;
    ASSERT_TRUE(SplitScreenerUrl(BuildScreenerUrl(path, fragment), againPath, againFragment))
        << url;
    EXPECT_EQ(againPath, path) << url;
    EXPECT_EQ(againFragment, fragment) << url;
  }
  // The pieces do make screener URLs now and then, so the loop above checked something.
  EXPECT_GT(screenerUrls, 20u);
}

}  // namespace
}  // namespace velquist
