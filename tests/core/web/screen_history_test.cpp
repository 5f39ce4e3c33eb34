#include "web/screen_history.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace velquist {
namespace {

const std::string A = "https://s.example/screener.html";
const std::string B = "https://s.example/etf-screener.html";

std::string Page(int n) { return "https://s.example/p" + std::to_string(n) + ".html"; }

TEST(ScreenHistoryTest, StartsEmpty) {
  ScreenHistory history;
  EXPECT_EQ(history.Index(), -1);
  EXPECT_TRUE(history.Entries().empty());
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
  std::string url = "untouched";
  EXPECT_FALSE(history.GoBack(0, url));
  EXPECT_FALSE(history.GoForward(0, url));
  EXPECT_EQ(url, "untouched");
}

TEST(ScreenHistoryTest, IgnoresEmptyAndRepeatedUrls) {
  ScreenHistory history;
  history.Push("", 0);
  EXPECT_EQ(history.Index(), -1);
  history.Push(A, 0);
  history.Push(A, 5000);
  history.Push("", 9000);
  ASSERT_EQ(history.Entries().size(), 1u);
  EXPECT_EQ(history.Index(), 0);
}

TEST(ScreenHistoryTest, QuickFragmentChangesMergeIntoOneEntry) {
  ScreenHistory history;
  history.Push(A, 10000);
  // A long series, each change under a second after the previous one.
  TickMs now = 10000;
  for (int i = 1; i <= 30; ++i) {
    now += 999;
    history.Push(A + "#f=" + std::to_string(i), now);
  }
  ASSERT_EQ(history.Entries().size(), 1u);
  EXPECT_EQ(history.Entries()[0], A + "#f=30");
  // A pause of exactly one second starts a new entry.
  history.Push(A + "#g", now + 1000);
  ASSERT_EQ(history.Entries().size(), 2u);
  EXPECT_EQ(history.Index(), 1);
}

TEST(ScreenHistoryTest, SlowChangesAndPageChangesAddEntries) {
  ScreenHistory history;
  history.Push(A + "#1", 0);
  history.Push(A + "#2", 1500);
  history.Push(A + "#3", 3000);
  history.Push(B, 3100);  // another page, however soon
  history.Push(B + "#x", 3200);
  ASSERT_EQ(history.Entries().size(), 4u);
  EXPECT_EQ(history.Entries()[3], B + "#x");
  // Same page means equal up to the "#", so a query change is another page.
  history.Push(B + "?q=1#x", 3300);
  EXPECT_EQ(history.Entries().size(), 5u);
}

TEST(ScreenHistoryTest, ClockGoingBackwardsStillMerges) {
  ScreenHistory history;
  history.Push(A, 5000);
  history.Push(A + "#x", 4000);
  ASSERT_EQ(history.Entries().size(), 1u);
  EXPECT_EQ(history.Entries()[0], A + "#x");
}

TEST(ScreenHistoryTest, BackThenFragmentRewriteKeepsForwardEntries) {
  ScreenHistory history;
  history.Push(A + "#1", 0);
  history.Push(B, 5000);
  history.Push(A + "#3", 10000);
  std::string url;
  ASSERT_TRUE(history.GoBack(20000, url));
  EXPECT_EQ(url, B);
  // The reloaded page rewrites its fragment inside the 1.5 s window.
  history.Push(B + "#restored", 21499);
  ASSERT_EQ(history.Entries().size(), 3u);
  EXPECT_EQ(history.Index(), 1);
  EXPECT_EQ(history.Entries()[1], B + "#restored");
  EXPECT_TRUE(history.CanGoForward());
  ASSERT_TRUE(history.GoForward(22000, url));
  EXPECT_EQ(url, A + "#3");
  EXPECT_FALSE(history.CanGoForward());
}

TEST(ScreenHistoryTest, ForwardThenFragmentRewriteKeepsLaterEntries) {
  ScreenHistory history;
  history.Push(A, 0);
  history.Push(B, 5000);
  history.Push(Page(1), 10000);
  std::string url;
  ASSERT_TRUE(history.GoBack(20000, url));
  ASSERT_TRUE(history.GoBack(20000, url));
  // Well after the Back window, Forward opens its own window for the reloaded page.
  ASSERT_TRUE(history.GoForward(30000, url));
  EXPECT_EQ(url, B);
  history.Push(B + "#restored", 31499);
  ASSERT_EQ(history.Entries().size(), 3u);
  EXPECT_EQ(history.Index(), 1);
  EXPECT_EQ(history.Entries()[1], B + "#restored");
  EXPECT_EQ(history.Entries()[2], Page(1));
}

TEST(ScreenHistoryTest, NavigationAfterBackTruncatesForwardEntries) {
  ScreenHistory history;
  history.Push(A, 0);
  history.Push(B, 5000);
  history.Push(Page(1), 10000);
  std::string url;
  ASSERT_TRUE(history.GoBack(20000, url));
  ASSERT_TRUE(history.GoBack(20100, url));
  EXPECT_EQ(url, A);
  history.Push(Page(2), 20200);  // another page within the window
  ASSERT_EQ(history.Entries().size(), 2u);
  EXPECT_EQ(history.Entries()[1], Page(2));
  EXPECT_FALSE(history.CanGoForward());
}

TEST(ScreenHistoryTest, SameFragmentChangeAfterStepWindowTruncates) {
  ScreenHistory history;
  history.Push(A, 0);
  history.Push(B, 5000);
  std::string url;
  ASSERT_TRUE(history.GoBack(20000, url));
  // Not at the end, and the step window is over: a new entry replaces the forward one.
  history.Push(A + "#late", 21500);
  ASSERT_EQ(history.Entries().size(), 2u);
  EXPECT_EQ(history.Entries()[1], A + "#late");
  EXPECT_EQ(history.Index(), 1);
}

TEST(ScreenHistoryTest, MergeDoesNotApplyInTheMiddleOfTheList) {
  ScreenHistory history;
  history.Push(A, 0);
  history.Push(B, 5000);
  std::string url;
  ASSERT_TRUE(history.GoBack(6000, url));
  // Inside the step window the current entry is replaced ...
  history.Push(A + "#1", 6100);
  EXPECT_EQ(history.Entries().size(), 2u);
  // ... but once it is over, a quick change in the middle of the list truncates.
  history.Push(A + "#2", 7600);
  ASSERT_EQ(history.Entries().size(), 2u);
  EXPECT_EQ(history.Entries()[0], A + "#1");
  EXPECT_EQ(history.Entries()[1], A + "#2");
}

TEST(ScreenHistoryTest, KeepsAtMostOneHundredEntries) {
  ScreenHistory history;
  for (int i = 1; i <= 101; ++i) history.Push(Page(i), i * 10);
  ASSERT_EQ(history.Entries().size(), ScreenHistory::MaxEntries);
  EXPECT_EQ(history.Entries().front(), Page(2));
  EXPECT_EQ(history.Entries().back(), Page(101));
  EXPECT_EQ(history.Index(), 99);
  EXPECT_TRUE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
}

TEST(ScreenHistoryTest, BackAndForwardWalkTheList) {
  ScreenHistory history;
  for (int i = 0; i < 3; ++i) history.Push(Page(i), i * 5000);
  std::string url;
  ASSERT_TRUE(history.GoBack(20000, url));
  ASSERT_TRUE(history.GoBack(20000, url));
  EXPECT_EQ(url, Page(0));
  EXPECT_FALSE(history.CanGoBack());
  url = "untouched";
  EXPECT_FALSE(history.GoBack(20000, url));
  EXPECT_EQ(url, "untouched");
  ASSERT_TRUE(history.GoForward(20000, url));
  EXPECT_EQ(url, Page(1));
  // Reports of the entry the step led to change nothing.
  history.Push(Page(1), 20100);
  EXPECT_EQ(history.Entries().size(), 3u);
  EXPECT_EQ(history.Index(), 1);
}

TEST(ScreenHistoryTest, ExtremeTicksDoNotOverflow) {
  ScreenHistory history;
  const TickMs big = std::numeric_limits<TickMs>::max() - 10;
  history.Push(A, big);
  history.Push(B, big + 1);
  std::string url;
  ASSERT_TRUE(history.GoBack(big + 2, url));
  history.Push(A + "#x", big + 3);
  EXPECT_EQ(history.Entries().size(), 2u);
  EXPECT_EQ(history.Entries()[0], A + "#x");
}

TEST(IsSamePageTest, ComparesUpToTheFragment) {
  EXPECT_TRUE(IsSamePage(A, A + "#x"));
  EXPECT_TRUE(IsSamePage(A + "#a", A + "#b"));
  EXPECT_FALSE(IsSamePage(A, B));
  EXPECT_FALSE(IsSamePage(A, A + "?x"));
  EXPECT_TRUE(IsSamePage("", "#x"));
}

}  // namespace
}  // namespace velquist
