#include "web/offline_page.h"

#include <gtest/gtest.h>

#include <string>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Origin(SiteOrigin);

TEST(FillOfflinePageTest, ReplacesTheFirstPlaceholderEscaped) {
  EXPECT_EQ(FillOfflinePage("<p>{{ERROR}}</p>", "Navigation error 6."),
            "<p>Navigation error 6.</p>");
  EXPECT_EQ(FillOfflinePage("<p>{{ERROR}}</p>", "<b>\"a\" & 'b'</b>"),
            "<p>&lt;b&gt;&quot;a&quot; &amp; 'b'&lt;/b&gt;</p>");
  EXPECT_EQ(FillOfflinePage("{{ERROR}}{{ERROR}}", "x"), "x{{ERROR}}");
  EXPECT_EQ(FillOfflinePage("<p>none</p>", "x"), "<p>none</p>");
  EXPECT_EQ(FillOfflinePage("{{ERROR", "x"), "{{ERROR");
  EXPECT_EQ(FillOfflinePage("{{ERROR}}", ""), "");
  // UTF-8 passes unchanged; the text cannot form a new placeholder.
  EXPECT_EQ(FillOfflinePage("a{{ERROR}}b", "\xE2\x80\x94{{ERROR}}"), "a\xE2\x80\x94{{ERROR}}b");
}

TEST(OfflineTextsTest, StatusTexts) {
  EXPECT_EQ(OfflineStatusText("The connection was interrupted."),
            "Offline \xE2\x80\x94 The connection was interrupted.");
  EXPECT_EQ(LoadingStatusText, "Loading\xE2\x80\xA6");
  EXPECT_EQ(ViewCreationErrorText(0x80070005u),
            "The page view could not be created (error 0x80070005).");
  EXPECT_EQ(ViewCreationErrorText(0xABCDEFu),
            "The page view could not be created (error 0x00ABCDEF).");
  EXPECT_EQ(ViewCreationErrorText(0), "The page view could not be created (error 0x00000000).");
}

TEST(OfflinePageTest, SiteNavigationsAndRetryTarget) {
  EXPECT_TRUE(IsSiteNavigation(Origin + "/screener.html#f=1"));
  EXPECT_TRUE(IsSiteNavigation("HTTPS://" + std::string(SiteHost) + "/etf-screener.html"));
  EXPECT_FALSE(IsSiteNavigation(Origin + "/stocks/aapl.html"));  // opens outside
  EXPECT_FALSE(IsSiteNavigation("about:blank"));
  EXPECT_FALSE(IsSiteNavigation("data:text/html,x"));
  EXPECT_FALSE(IsSiteNavigation("http://" + std::string(SiteHost) + "/screener.html"));
  EXPECT_EQ(RetryUrl("", "start"), "start");
  EXPECT_EQ(RetryUrl("last", "start"), "last");
}

}  // namespace
}  // namespace velquist
