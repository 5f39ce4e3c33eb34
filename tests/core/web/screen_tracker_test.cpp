#include "web/screen_tracker.h"

#include <gtest/gtest.h>

#include <string>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Origin(SiteOrigin);

TEST(ScreenTrackerTest, SameUrlTwiceIsReportedOnce) {
  ScreenTracker tracker;
  const std::string url = Origin + "/screener.html#f=1";
  EXPECT_TRUE(tracker.Report(url, 0));
  EXPECT_FALSE(tracker.Report(url, 10));  // the page's own message after the browser's
  EXPECT_EQ(tracker.CurrentUrl(), url);
  EXPECT_EQ(tracker.History().Entries().size(), 1u);
}

TEST(ScreenTrackerTest, OnlyScreenerPagesOfTheSiteCount) {
  ScreenTracker tracker;
  const std::string ignored[] = {
      "",
      "about:blank",
      "data:text/html,x",
      Origin + "/stocks/aapl.html",
      "http://" + std::string(SiteHost) + "/screener.html",
      "https://other.example/screener.html",
  };
  for (const std::string& url : ignored) {
    EXPECT_FALSE(tracker.Report(url, 0)) << url;
  }
  EXPECT_TRUE(tracker.CurrentUrl().empty());
  EXPECT_EQ(tracker.History().Index(), -1);
}

TEST(ScreenTrackerTest, NewScreensGoIntoTheHistory) {
  ScreenTracker tracker;
  EXPECT_TRUE(tracker.Report(Origin + "/screener.html", 0));
  EXPECT_TRUE(tracker.Report(Origin + "/screener.html#a", 100));
  EXPECT_TRUE(tracker.Report(Origin + "/etf-screener.html", 200));
  EXPECT_EQ(tracker.CurrentUrl(), Origin + "/etf-screener.html");
  ASSERT_EQ(tracker.History().Entries().size(), 2u);
  EXPECT_EQ(tracker.History().Entries()[0], Origin + "/screener.html#a");
}

}  // namespace
}  // namespace velquist
