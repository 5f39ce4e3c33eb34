#include "data/screen_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "site_constants.h"

namespace velquist {
namespace {

constexpr ScreenerKind S = ScreenerKind::Stocks;
constexpr ScreenerKind E = ScreenerKind::Etfs;

SavedScreen Screen(std::string name, ScreenerKind kind, std::string hash = {}) {
  return SavedScreen{std::move(name), kind, kind == E ? "/etf-screener.html" : "/screener.html",
                     std::move(hash)};
}

TEST(DefaultScreenName, PresetLabelAsShownElseMyScreen) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"/screener/value-stocks.html", "Value stocks"},
      {"/screener/etf-crypto.html", "Bitcoin & crypto ETFs"},
      {"/screener.html", "My screen"},
      {"/etf-screener.html", "My screen"},
      {"/screener/not-a-preset.html", "My screen"},
      {"", "My screen"},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultScreenName(c.path), c.name) << c.path;
}

TEST(ScreenForUrl, PathFragmentAndThePathsScreener) {
  const std::string origin(SiteOrigin);
  const struct {
    std::string url;
    ScreenUrlCheck check;
    ScreenerKind kind;
    const char* path;
    const char* hash;
  } cases[] = {
      {origin + "/screener.html#dy=1.5..&sort=-dy", ScreenUrlCheck::Ready, S, "/screener.html",
       "dy=1.5..&sort=-dy"},
      {origin + "/etf-screener.html", ScreenUrlCheck::Ready, E, "/etf-screener.html", ""},
      {origin + "/screener/etf-crypto.html?x=1#page=2", ScreenUrlCheck::Ready, E,
       "/screener/etf-crypto.html", "page=2"},
      {origin + "/screener/value-stocks.html#", ScreenUrlCheck::Ready, S,
       "/screener/value-stocks.html", ""},
      {origin + "/screener.html#q=%3Cb%3E", ScreenUrlCheck::Ready, S, "/screener.html",
       "q=%3Cb%3E"},
      {origin + "/screener.html#q=<b>", ScreenUrlCheck::FragmentTooOdd, S, "", ""},
      {origin + "/screener.html#" + std::string(4097, 'a'), ScreenUrlCheck::FragmentTooOdd, S, "",
       ""},
      {origin + "/stocks/aapl.html", ScreenUrlCheck::NotAScreenerPage, S, "", ""},
      {"http://" + std::string(SiteHost) + "/screener.html", ScreenUrlCheck::NotAScreenerPage, S,
       "", ""},
      {"https://other.example/screener.html", ScreenUrlCheck::NotAScreenerPage, S, "", ""},
      {"", ScreenUrlCheck::NotAScreenerPage, S, "", ""},
  };
  for (const auto& c : cases) {
    SavedScreen screen{"stale", E, "stale", "stale"};
    ASSERT_EQ(ScreenForUrl(c.url, screen), c.check) << c.url;
    if (c.check != ScreenUrlCheck::Ready) continue;
    EXPECT_EQ(screen, (SavedScreen{"", c.kind, c.path, c.hash})) << c.url;
  }
}

TEST(ScreenerWords, NounAndLabel) {
  EXPECT_EQ(ScreenerNoun(S), "stock");
  EXPECT_EQ(ScreenerNoun(E), "ETF");
  EXPECT_EQ(ScreenerLabel(S), "Stocks");
  EXPECT_EQ(ScreenerLabel(E), "ETFs");
}

TEST(DecideSaveScreen, NewNamesStopAtTheLimitReplacingDoesNot) {
  ScreenStore store{Screen("Big caps", S)};
  EXPECT_EQ(DecideSaveScreen(store, Screen("Big caps", S)), SaveScreenAction::Replace);
  EXPECT_EQ(DecideSaveScreen(store, Screen("Big caps", E)), SaveScreenAction::Add);
  EXPECT_EQ(DecideSaveScreen(store, Screen("big caps", S)), SaveScreenAction::Add);

  while (store.size() < MaxSavedScreens - 1) {
    store.push_back(Screen("n" + std::to_string(store.size()), S));
  }
  EXPECT_EQ(DecideSaveScreen(store, Screen("new", E)), SaveScreenAction::Add);
  store.push_back(Screen("last", E));
  ASSERT_EQ(store.size(), MaxSavedScreens);
  EXPECT_EQ(DecideSaveScreen(store, Screen("new", E)), SaveScreenAction::RefuseFull);
  EXPECT_EQ(DecideSaveScreen(store, Screen("last", S)), SaveScreenAction::RefuseFull);
  EXPECT_EQ(DecideSaveScreen(store, Screen("last", E)), SaveScreenAction::Replace);
  EXPECT_EQ(DecideSaveScreen(store, Screen("Big caps", S)), SaveScreenAction::Replace);
  store.push_back(Screen("over", S));  // a store that grew past the limit
  EXPECT_EQ(DecideSaveScreen(store, Screen("other", S)), SaveScreenAction::RefuseFull);
}

TEST(ScreenListOrder, ActiveKindFirstEachGroupInStoreOrder) {
  const ScreenStore store{Screen("a", S), Screen("b", E), Screen("c", S), Screen("d", E),
                          Screen("e", E)};
  EXPECT_EQ(ScreenListOrder(store, S), (std::vector<std::size_t>{0, 2, 1, 3, 4}));
  EXPECT_EQ(ScreenListOrder(store, E), (std::vector<std::size_t>{1, 3, 4, 0, 2}));
  EXPECT_TRUE(ScreenListOrder({}, E).empty());
  const ScreenStore stocksOnly{Screen("a", S), Screen("b", S)};
  EXPECT_EQ(ScreenListOrder(stocksOnly, E), (std::vector<std::size_t>{0, 1}));
}

TEST(SelectionAfterFill, StoreIndexThenPositionThenLast) {
  const std::vector<std::size_t> order{1, 3, 4, 0, 2};
  const struct {
    int position;
    int storeIndex;
    int selected;
  } cases[] = {
      {0, -1, 0},               // the dialog opens
      {0, 0, 3},                // the item showing store index 0
      {4, 2, 4},   {2, 9, 2},   // no item shows 9: the position
      {3, -1, 3},  {5, -1, 4},  // past the end: the last item (a deleted last item)
      {99, -1, 4}, {-1, -1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectionAfterFill(order, c.position, c.storeIndex), c.selected)
        << c.position << " " << c.storeIndex;
  }
  EXPECT_EQ(SelectionAfterFill({}, 0, -1), -1);
  EXPECT_EQ(SelectionAfterFill({}, 0, 0), -1);
}

TEST(ScreenFiltersText, PresetLabelAndDecodedFragment) {
  const struct {
    const char* path;
    const char* hash;
    const char* text;
  } cases[] = {
      {"/screener/value-stocks.html", "", "Value stocks \xC2\xB7 default view"},
      {"/screener/etf-crypto.html", "", "Bitcoin & crypto ETFs \xC2\xB7 default view"},
      {"/screener.html", "", "default view"},
      {"/screener.html", "q=big%20bank&sort=-dy", "q=big bank&sort=-dy"},
      {"/screener/value-stocks.html", "page=2", "Value stocks \xC2\xB7 page=2"},
      {"/screener.html", "q=a+b", "q=a+b"},
      {"/screener.html", "q=caf%C3%A9", "q=caf\xC3\xA9"},
      {"/screener.html", "q=%2525", "q=%25"},
      {"/screener.html", "a%zz%4", "a%zz%4"},
      {"/screener.html", "a%4A%4a%", "aJJ%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScreenFiltersText(SavedScreen{"x", S, c.path, c.hash}), c.text) << c.hash;
  }
}

TEST(RenameScreen, CollisionsCountPerScreener) {
  ScreenStore store{Screen("Value", S), Screen("Growth", S), Screen("Bonds", E)};
  EXPECT_EQ(RenameScreen(store, 0, "Growth"), RenameResult::Taken);
  EXPECT_EQ(store[0].name, "Value");
  EXPECT_EQ(RenameScreen(store, 0, "  Bonds "), RenameResult::Renamed);
  EXPECT_EQ(store[0].name, "Bonds");
  EXPECT_EQ(RenameScreen(store, 0, "Bonds"), RenameResult::Renamed);  // its own name
  EXPECT_EQ(RenameScreen(store, 1, " \t "), RenameResult::Unchanged);
  EXPECT_EQ(store[1].name, "Growth");
  EXPECT_EQ(RenameScreen(store, 2, "growth"), RenameResult::Renamed);  // letter case counts
  EXPECT_EQ(store[2].name, "growth");
  EXPECT_EQ(RenameScreen(store, 1, std::string(90, 'x')), RenameResult::Renamed);
  EXPECT_EQ(store[1].name, std::string(80, 'x'));
  EXPECT_EQ(store.size(), 3u);
}

}  // namespace
}  // namespace velquist
