#include "data/screens.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace velquist {
namespace {

SavedScreen Screen(std::string name, ScreenerKind kind, std::string path, std::string hash) {
  return SavedScreen{std::move(name), kind, std::move(path), std::move(hash)};
}

std::string Repeat(std::string_view piece, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += piece;
  return out;
}

TEST(NormalizeScreenName, Rules) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"\t  Tech   growth ", "Tech growth"},
      {"", ""},
      {" \t\r\n\x7F ", ""},
      {"a\x01"
       "b\x7F"
       "c",
       "a b c"},
      {"line\r\nbreak", "line break"},
      {Repeat("x", 81), Repeat("x", 80)},
      {Repeat("x", 79) + " b", Repeat("x", 79)},  // the cut leaves a space, which goes
      {Repeat("\xC3\xA9", 85), Repeat("\xC3\xA9", 80)},
      {Repeat("\xE2\x82\xAC", 81), Repeat("\xE2\x82\xAC", 80)},
      {"Caf\xC3\xA9  \xF0\x9F\x93\x88", "Caf\xC3\xA9 \xF0\x9F\x93\x88"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeScreenName(c.text), c.expected) << c.text;
  EXPECT_EQ(NormalizeScreenName(Repeat("\xC3\xA9", 85)).size(), 160u);
}

TEST(IsValidScreenHash, Rules) {
  EXPECT_TRUE(IsValidScreenHash(""));
  EXPECT_TRUE(IsValidScreenHash("f=cap_large&o=-price&c=1,2,3"));
  EXPECT_TRUE(IsValidScreenHash("name=caf\xC3\xA9"));
  EXPECT_TRUE(IsValidScreenHash(std::string(4096, 'a')));
  EXPECT_FALSE(IsValidScreenHash(std::string(4097, 'a')));
  for (std::string bad : {"a<b", "a>b", "a\"b", "a#b", "a\\b", "a\x7F", "a\x1F", "tab\there"}) {
    EXPECT_FALSE(IsValidScreenHash(bad)) << bad;
  }
  EXPECT_FALSE(IsValidScreenHash(std::string("a\0b", 3)));
}

TEST(ScreenStore, PutReplacesInPlaceAndKeepsKindsApart) {
  ScreenStore store;
  EXPECT_EQ(PutScreen(store, Screen("Value", ScreenerKind::Stocks, "/screener.html", "a")), 0u);
  EXPECT_EQ(PutScreen(store, Screen("Growth", ScreenerKind::Stocks, "/screener.html", "b")), 1u);
  EXPECT_EQ(PutScreen(store, Screen("Value", ScreenerKind::Etfs, "/etf-screener.html", "")), 2u);
  EXPECT_EQ(PutScreen(store, Screen("value", ScreenerKind::Stocks, "/screener.html", "")), 3u);
  EXPECT_EQ(PutScreen(store, Screen("Value", ScreenerKind::Stocks, "/screener/x.html", "z")), 0u);
  ASSERT_EQ(store.size(), 4u);
  EXPECT_EQ(store[0], Screen("Value", ScreenerKind::Stocks, "/screener/x.html", "z"));
  EXPECT_EQ(FindScreen(store, ScreenerKind::Etfs, "Value"), 2);
  EXPECT_EQ(FindScreen(store, ScreenerKind::Stocks, "value"), 3);
  EXPECT_EQ(FindScreen(store, ScreenerKind::Etfs, "Growth"), -1);
}

TEST(ImportScreens, RenamesTakenNames) {
  ScreenStore store = {Screen("Value", ScreenerKind::Stocks, "/screener.html", ""),
                       Screen("Value (2)", ScreenerKind::Stocks, "/screener.html", ""),
                       Screen("Other", ScreenerKind::Etfs, "/etf-screener.html", "")};
  ScreenStore list = {Screen("Value", ScreenerKind::Stocks, "/screener.html", "f=1"),
                      Screen("Value", ScreenerKind::Etfs, "/etf-screener.html", "f=2"),
                      Screen("Value", ScreenerKind::Stocks, "/screener.html", "f=3")};
  EXPECT_EQ(ImportScreens(store, list), 3u);
  ASSERT_EQ(store.size(), 6u);
  EXPECT_EQ(store[3], Screen("Value (3)", ScreenerKind::Stocks, "/screener.html", "f=1"));
  EXPECT_EQ(store[4], Screen("Value", ScreenerKind::Etfs, "/etf-screener.html", "f=2"));
  EXPECT_EQ(store[5], Screen("Value (4)", ScreenerKind::Stocks, "/screener.html", "f=3"));
}

TEST(ImportScreens, RenameBaseIsCutAtAWholeCharacter) {
  struct Case {
    std::string name;
    std::string expected;
  };
  const Case cases[] = {
      // 80 ASCII characters: the first 74 bytes plus " (2)".
      {Repeat("n", 80), Repeat("n", 74) + " (2)"},
      // Byte 74 is the second byte of a two-byte character: that character is dropped.
      {"a" + Repeat("\xC3\xA9", 39), "a" + Repeat("\xC3\xA9", 36) + " (2)"},
      // Byte 74 is the third byte of a three-byte character.
      {Repeat("\xE2\x82\xAC", 26), Repeat("\xE2\x82\xAC", 24) + " (2)"},
      // A four-byte character ending exactly at byte 74 is kept.
      {"ab" + Repeat("\xF0\x9F\x93\x88", 19), "ab" + Repeat("\xF0\x9F\x93\x88", 18) + " (2)"},
      // A base that ends in a space is folded by the normalisation.
      {Repeat("w", 73) + " tail end", Repeat("w", 73) + " (2)"},
  };
  for (const Case& c : cases) {
    ScreenStore store = {Screen(c.name, ScreenerKind::Stocks, "/screener.html", "")};
    ScreenStore list = store;
    ASSERT_EQ(ImportScreens(store, list), 1u);
    EXPECT_EQ(store[1].name, c.expected) << c.name;
  }
}

TEST(ImportScreens, StopsAtTheLimit) {
  ScreenStore store;
  for (std::size_t i = 0; i < MaxSavedScreens - 2; ++i) {
    store.push_back(Screen("S" + std::to_string(i), ScreenerKind::Stocks, "/screener.html", ""));
  }
  ScreenStore list = {Screen("A", ScreenerKind::Stocks, "/screener.html", ""),
                      Screen("B", ScreenerKind::Stocks, "/screener.html", ""),
                      Screen("C", ScreenerKind::Stocks, "/screener.html", "")};
  EXPECT_EQ(ImportScreens(store, list), 2u);
  EXPECT_EQ(store.size(), MaxSavedScreens);
  EXPECT_EQ(store.back().name, "B");
}

TEST(ScreensFileText, EmptyStore) {
  EXPECT_EQ(ScreensFileText({}),
            "{\n  \"version\": 1,\n  \"app\": \"Velquist\",\n  \"screens\": []\n}\n");
}

TEST(ScreensFileText, TwoScreensByteForByte) {
  ScreenStore store = {
      Screen("Big \"caps\"", ScreenerKind::Stocks, "/screener.html", "f=cap_large&o=-price"),
      Screen("Caf\xC3\xA9 \\ funds", ScreenerKind::Etfs, "/screener/etf-low-cost.html", "")};
  EXPECT_EQ(ScreensFileText(store),
            "{\n"
            "  \"version\": 1,\n"
            "  \"app\": \"Velquist\",\n"
            "  \"screens\": [\n"
            "    { \"name\": \"Big \\\"caps\\\"\", \"tab\": \"stocks\", \"path\": "
            "\"/screener.html\", \"hash\": \"f=cap_large&o=-price\" },\n"
            "    { \"name\": \"Caf\xC3\xA9 \\\\ funds\", \"tab\": \"etfs\", \"path\": "
            "\"/screener/etf-low-cost.html\", \"hash\": \"\" }\n"
            "  ]\n"
            "}\n");
}

TEST(ScreensFile, RoundTrips) {
  ScreenStore store = {
      Screen("One", ScreenerKind::Stocks, "/screener/dividend-stocks.html", "p=2"),
      Screen("Two \xE2\x82\xAC", ScreenerKind::Etfs, "/etf-screener.html", "s=1&c=a,b"),
      Screen("One", ScreenerKind::Etfs, "/screener/etf-bonds.html", "")};
  ScreensFileOptions options;
  ScreenStore loaded;
  std::string error;
  ASSERT_TRUE(ParseScreensFile(ScreensFileText(store), options, loaded, &error)) << error;
  EXPECT_EQ(loaded, store);
  ScreenStore listed;
  ASSERT_TRUE(ParseScreensList(ScreensFileText(store), listed, &error)) << error;
  EXPECT_EQ(listed, store);
}

std::string FileWith(const std::string& screens, const std::string& extra = "") {
  return "{" + extra + "\"screens\": [" + screens + "]}";
}

TEST(ReadScreensList, SkipsInvalidEntries) {
  const std::string good = R"({"name":"Good","tab":"stocks","path":"/screener.html","hash":"x=1"})";
  const std::string entries[] = {
      R"("not an object")",
      R"({"name":"  ","tab":"stocks","path":"/screener.html"})",
      R"({"name":"Tab","tab":"Stocks","path":"/screener.html"})",
      R"({"name":"Path","tab":"stocks","path":"/Screener.html"})",
      R"({"name":"Kind","tab":"stocks","path":"/etf-screener.html"})",
      R"({"name":"Kind","tab":"etfs","path":"/screener/low-cost.html"})",
      R"({"name":"Lt","tab":"stocks","path":"/screener.html","hash":"a<b"})",
      R"({"name":"Quote","tab":"stocks","path":"/screener.html","hash":"a\"b"})",
      R"({"name":5,"tab":"stocks","path":"/screener.html"})",
  };
  for (const std::string& bad : entries) {
    ScreensFileOptions options;
    ScreenStore store;
    ASSERT_TRUE(ParseScreensFile(FileWith(bad + "," + good), options, store)) << bad;
    ASSERT_EQ(store.size(), 1u) << bad;
    EXPECT_EQ(store[0], Screen("Good", ScreenerKind::Stocks, "/screener.html", "x=1"));
  }
}

TEST(ReadScreensList, MissingHashIsEmptyAndNamesAreNormalized) {
  ScreensFileOptions options;
  ScreenStore store;
  ASSERT_TRUE(ParseScreensFile(
      FileWith(R"({"name":"\tTech  growth ","tab":"etfs","path":"/screener/etf-tech.html"})"),
      options, store));
  ASSERT_EQ(store.size(), 1u);
  EXPECT_EQ(store[0], Screen("Tech growth", ScreenerKind::Etfs, "/screener/etf-tech.html", ""));
}

TEST(ReadScreensList, RepeatedNameReplacesInTheFirstPlace) {
  ScreensFileOptions options;
  ScreenStore store;
  ASSERT_TRUE(ParseScreensFile(
      FileWith(R"({"name":"A","tab":"stocks","path":"/screener.html","hash":"old"},)"
               R"({"name":"B","tab":"stocks","path":"/screener.html"},)"
               R"({"name":"A","tab":"stocks","path":"/screener/value.html","hash":"new"})"),
      options, store));
  ASSERT_EQ(store.size(), 2u);
  EXPECT_EQ(store[0], Screen("A", ScreenerKind::Stocks, "/screener/value.html", "new"));
  EXPECT_EQ(store[1].name, "B");
}

TEST(ReadScreensList, LoadsTheFirstFiveHundred) {
  std::string entries;
  for (int i = 0; i < 600; ++i) {
    if (i > 0) entries += ",";
    entries += R"({"name":"S)" + std::to_string(i) + R"(","tab":"stocks","path":"/screener.html"})";
  }
  ScreensFileOptions options;
  ScreenStore store;
  ASSERT_TRUE(ParseScreensFile(FileWith(entries), options, store));
  ASSERT_EQ(store.size(), 500u);
  EXPECT_EQ(store.front().name, "S0");
  EXPECT_EQ(store.back().name, "S499");
}

TEST(ParseScreensFile, RefusesWhatIsNotAnObject) {
  ScreensFileOptions options;
  options.zoom = 3;
  ScreenStore store = {Screen("Old", ScreenerKind::Stocks, "/screener.html", "")};
  std::string error;
  EXPECT_FALSE(ParseScreensFile("[]", options, store, &error));
  EXPECT_EQ(error, "not a JSON object");
  EXPECT_TRUE(store.empty());
  EXPECT_EQ(options.zoom, 1.0);

  const std::string broken = "{\"screens\": [";
  JsonValue ignored;
  std::string parserError;
  ASSERT_FALSE(ParseJson(broken, ignored, &parserError));
  EXPECT_FALSE(ParseScreensFile(broken, options, store, &error));
  EXPECT_EQ(error, parserError);
  EXPECT_FALSE(error.empty());
}

TEST(ParseScreensFile, FileWithoutScreensGivesAnEmptyStore) {
  ScreensFileOptions options;
  ScreenStore store = {Screen("Old", ScreenerKind::Stocks, "/screener.html", "")};
  EXPECT_TRUE(ParseScreensFile("{}", options, store));
  EXPECT_TRUE(store.empty());
  EXPECT_TRUE(ParseScreensFile(R"({"screens": {"a": 1}})", options, store));
  EXPECT_TRUE(store.empty());
}

TEST(ParseScreensFile, Options) {
  ScreensFileOptions options;
  ScreenStore store;
  ASSERT_TRUE(ParseScreensFile(
      R"({"activeTab":"etfs","last":{"stocks":"/screener/value.html#p=2","etfs":"/screener.html"},)"
      R"("restoreLast":false,"showSplash":"no","zoom":2.5,"colorMode":"dark",)"
      R"("window":{"left":10.9,"top":-20,"right":1210,"bottom":780,"maximized":true}})",
      options, store));
  EXPECT_EQ(options.activeTab, ScreenerKind::Etfs);
  EXPECT_EQ(options.lastStocks, "/screener/value.html#p=2");
  EXPECT_FALSE(options.lastEtfs.has_value());  // a stock screener page for the ETF tab
  EXPECT_FALSE(options.restoreLast);
  EXPECT_TRUE(options.showSplash);  // not a Bool
  EXPECT_EQ(options.zoom, 2.5);
  EXPECT_EQ(options.colorMode, 2);
  ASSERT_TRUE(options.window.has_value());
  EXPECT_EQ(options.window->left, 10);
  EXPECT_EQ(options.window->top, -20);
  EXPECT_EQ(options.window->right, 1210);
  EXPECT_EQ(options.window->bottom, 780);
  EXPECT_TRUE(options.window->maximized);
}

TEST(ParseScreensFile, OptionValuesOutsideTheRulesAreLeft) {
  struct Case {
    std::string members;
    bool zoomIsDefault, windowTaken;
  };
  const Case cases[] = {
      {R"("zoom":0.24)", true, false},
      {R"("zoom":5.01)", true, false},
      {R"("zoom":"2")", true, false},
      {R"("zoom":1e999)", true, false},
      {R"("window":{"left":0,"top":0,"right":199,"bottom":500})", true, false},
      {R"("window":{"left":0,"top":0,"right":200,"bottom":150})", true, true},
      {R"("window":{"left":0,"top":0,"right":800,"bottom":20001})", true, false},
      {R"("window":{"left":-3e9,"top":0,"right":-2999999000,"bottom":500})", true, false},
      {R"("window":{"right":800,"bottom":600})", true, true},
      {R"("window":[0,0,800,600])", true, false},
  };
  for (const Case& c : cases) {
    ScreensFileOptions options;
    ScreenStore store;
    ASSERT_TRUE(ParseScreensFile("{" + c.members + "}", options, store)) << c.members;
    EXPECT_EQ(options.zoom == 1.0, c.zoomIsDefault) << c.members;
    EXPECT_EQ(options.window.has_value(), c.windowTaken) << c.members;
  }
  ScreensFileOptions options;
  ScreenStore store;
  ASSERT_TRUE(ParseScreensFile(
      R"({"activeTab":"Stocks","colorMode":"Dark","last":{"stocks":"/screener.html#a<b"}})",
      options, store));
  EXPECT_FALSE(options.activeTab.has_value());
  EXPECT_FALSE(options.colorMode.has_value());
  EXPECT_FALSE(options.lastStocks.has_value());
}

TEST(ParseScreensList, NeedsAScreensArray) {
  ScreenStore list = {Screen("Old", ScreenerKind::Stocks, "/screener.html", "")};
  std::string error;
  EXPECT_FALSE(ParseScreensList("{}", list, &error));
  EXPECT_EQ(error, "no \"screens\" list");
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ParseScreensList(R"([{"screens":[]}])", list, &error));
  EXPECT_EQ(error, "no \"screens\" list");
  EXPECT_FALSE(ParseScreensList("nope", list, &error));
  EXPECT_NE(error, "no \"screens\" list");
  EXPECT_TRUE(ParseScreensList(R"({"screens":[],"zoom":3})", list, &error));
  EXPECT_TRUE(list.empty());
}

TEST(AcceptLastScreen, Rules) {
  struct Case {
    std::string state;
    ScreenerKind kind;
    bool accepted;
    std::string stored;
  };
  const Case cases[] = {
      {"/screener.html", ScreenerKind::Stocks, true, "/screener.html"},
      {"/screener.html#", ScreenerKind::Stocks, true, "/screener.html"},
      {"/screener/value.html#p=2", ScreenerKind::Stocks, true, "/screener/value.html#p=2"},
      {"/etf-screener.html#x", ScreenerKind::Etfs, true, "/etf-screener.html#x"},
      {"/screener/etf-bonds.html", ScreenerKind::Etfs, true, "/screener/etf-bonds.html"},
      {"/etf-screener.html", ScreenerKind::Stocks, false, ""},
      {"/screener.html", ScreenerKind::Etfs, false, ""},
      {"/screener.html#a<b", ScreenerKind::Stocks, false, ""},
      {"/screener.html#" + std::string(4097, 'a'), ScreenerKind::Stocks, false, ""},
      {"/quote.html", ScreenerKind::Stocks, false, ""},
      {"", ScreenerKind::Stocks, false, ""},
  };
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(AcceptLastScreen(c.state, c.kind, out), c.accepted) << c.state;
    EXPECT_EQ(out, c.accepted ? c.stored : "unchanged") << c.state;
  }
}

TEST(IsPlacementSizeValid, Bounds) {
  EXPECT_TRUE(IsPlacementSizeValid(0, 0, 200, 150));
  EXPECT_TRUE(IsPlacementSizeValid(-100, -50, 19900, 19950));
  EXPECT_FALSE(IsPlacementSizeValid(0, 0, 199, 600));
  EXPECT_FALSE(IsPlacementSizeValid(0, 0, 800, 149));
  EXPECT_FALSE(IsPlacementSizeValid(0, 0, 20001, 600));
  EXPECT_FALSE(IsPlacementSizeValid(0, 0, 800, 20001));
  EXPECT_FALSE(IsPlacementSizeValid(800, 0, 0, 600));  // right before left
  constexpr std::int32_t low = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t high = std::numeric_limits<std::int32_t>::max();
  EXPECT_FALSE(IsPlacementSizeValid(low, low, high, high));
  EXPECT_FALSE(IsPlacementSizeValid(high, high, low, low));
}

}  // namespace
}  // namespace velquist
