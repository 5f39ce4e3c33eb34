#include "app/options.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_option_store.h"

namespace velquist {
namespace {

using testing::FakeOptionStore;

TEST(LoadOptions, MissingKeyChangesNothing) {
  FakeOptionStore store;
  store.keyExists = false;
  store.values["Zoom"] = 200u;
  AppOptions options;
  options.Zoom = 1.5;
  EXPECT_FALSE(LoadOptions(store, options));
  EXPECT_EQ(options.Zoom, 1.5);
}

TEST(LoadOptions, EmptyKeyKeepsEveryField) {
  FakeOptionStore store;
  AppOptions options;
  options.ActiveTab = ScreenerKind::Etfs;
  options.LastStocks = "/screener/value.html#p=3";
  options.RestoreLast = false;
  options.ColorMode = ColorMode::Dark;
  AppOptions before = options;
  EXPECT_TRUE(LoadOptions(store, options));
  EXPECT_EQ(options.ActiveTab, before.ActiveTab);
  EXPECT_EQ(options.LastStocks, before.LastStocks);
  EXPECT_EQ(options.RestoreLast, before.RestoreLast);
  EXPECT_EQ(options.ColorMode, before.ColorMode);
  EXPECT_FALSE(options.Placement.Valid);
}

// One stored value and the field it gives; "kept" means the default stays.
struct ValueCase {
  const char* name;
  FakeOptionStore::Value value;
  std::string expected;
};

std::string Describe(const AppOptions& o, const std::string& name) {
  if (name == "ActiveTab") return std::string(ScreenerKindName(o.ActiveTab));
  if (name == "LastStocks") return o.LastStocks;
  if (name == "LastEtfs") return o.LastEtfs;
  if (name == "RestoreLast") return o.RestoreLast ? "true" : "false";
  if (name == "ShowSplash") return o.ShowSplash ? "true" : "false";
  if (name == "Zoom") return std::to_string(o.Zoom);
  if (name == "ColorMode") return std::to_string(static_cast<int>(o.ColorMode));
  return "?";
}

TEST(LoadOptions, ValueRules) {
  const std::string longFragment(4097, 'f');
  const ValueCase cases[] = {
      {"ActiveTab", std::string("etfs"), "etfs"},
      {"ActiveTab", std::string("Stocks"), "stocks"},
      {"ActiveTab", std::string("etfs "), "stocks"},
      {"ActiveTab", 1u, "stocks"},
      {"LastStocks", std::string("/screener/value.html#p=2"), "/screener/value.html#p=2"},
      {"LastStocks", std::string("/screener.html#"), "/screener.html"},
      {"LastStocks", std::string("/etf-screener.html"), "/screener.html"},
      {"LastStocks", std::string("/screener.html#a<b"), "/screener.html"},
      {"LastStocks", std::string("/screener.html#" + longFragment), "/screener.html"},
      {"LastStocks", std::string("https://www.vxscreener.example/screener.html"), "/screener.html"},
      {"LastEtfs", std::string("/screener/etf-bonds.html#s=1"), "/screener/etf-bonds.html#s=1"},
      {"LastEtfs", std::string("/screener.html"), "/etf-screener.html"},
      {"LastEtfs", std::string("/screener/etf.html"), "/etf-screener.html"},
      {"RestoreLast", 0u, "false"},
      {"RestoreLast", 7u, "true"},
      {"RestoreLast", std::string("0"), "true"},
      {"ShowSplash", 0u, "false"},
      {"ShowSplash", 0xFFFFFFFFu, "true"},
      {"Zoom", 24u, std::to_string(1.0)},
      {"Zoom", 25u, std::to_string(0.25)},
      {"Zoom", 110u, std::to_string(1.1)},
      {"Zoom", 500u, std::to_string(5.0)},
      {"Zoom", 501u, std::to_string(1.0)},
      {"Zoom", 0u, std::to_string(1.0)},
      {"Zoom", std::string("150"), std::to_string(1.0)},
      {"ColorMode", std::string("system"), "0"},
      {"ColorMode", std::string("light"), "1"},
      {"ColorMode", std::string("dark"), "2"},
      {"ColorMode", std::string("Dark"), "0"},
      {"ColorMode", 2u, "0"},
  };
  for (const ValueCase& c : cases) {
    FakeOptionStore store;
    store.values[c.name] = c.value;
    AppOptions options;
    ASSERT_TRUE(LoadOptions(store, options));
    EXPECT_EQ(Describe(options, c.name), c.expected) << c.name;
  }
}

void StoreRectangle(FakeOptionStore& store, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom) {
  store.values["WindowLeft"] = static_cast<std::uint32_t>(left);
  store.values["WindowTop"] = static_cast<std::uint32_t>(top);
  store.values["WindowRight"] = static_cast<std::uint32_t>(right);
  store.values["WindowBottom"] = static_cast<std::uint32_t>(bottom);
}

TEST(LoadOptions, PlacementRule) {
  struct Case {
    std::int32_t left, top, right, bottom;
    bool valid;
  };
  const Case cases[] = {
      {-100, -50, 1100, 750, true}, {0, 0, 200, 150, true},
      {0, 0, 199, 600, false},      {0, 0, 800, 149, false},
      {0, 0, 800, 20001, false},    {0, 0, 20000, 20000, true},
      {900, 0, 100, 600, false},    {INT32_MIN, 0, INT32_MAX, 600, false},
  };
  for (const Case& c : cases) {
    FakeOptionStore store;
    StoreRectangle(store, c.left, c.top, c.right, c.bottom);
    AppOptions options;
    LoadOptions(store, options);
    EXPECT_EQ(options.Placement.Valid, c.valid) << c.left << "," << c.right;
    if (c.valid) {
      EXPECT_EQ(options.Placement.Left, c.left);
      EXPECT_EQ(options.Placement.Top, c.top);
      EXPECT_EQ(options.Placement.Right, c.right);
      EXPECT_EQ(options.Placement.Bottom, c.bottom);
      EXPECT_FALSE(options.Placement.Maximized);  // missing counts as false
    }
  }
}

TEST(LoadOptions, PlacementNeedsAllFourValues) {
  FakeOptionStore store;
  StoreRectangle(store, 0, 0, 800, 600);
  store.values.erase("WindowBottom");
  store.values["WindowMaximized"] = 1u;
  AppOptions options;
  LoadOptions(store, options);
  EXPECT_FALSE(options.Placement.Valid);
  store.values["WindowBottom"] = std::string("600");  // the wrong type is absent too
  LoadOptions(store, options);
  EXPECT_FALSE(options.Placement.Valid);
  store.values["WindowBottom"] = 600u;
  LoadOptions(store, options);
  EXPECT_TRUE(options.Placement.Valid);
  EXPECT_TRUE(options.Placement.Maximized);
}

TEST(LoadOptions, InvalidRectangleKeepsTheEarlierPlacement) {
  FakeOptionStore store;
  StoreRectangle(store, 0, 0, 100, 100);
  AppOptions options;
  options.Placement = SavedPlacement{true, 1, 2, 803, 604, true};
  LoadOptions(store, options);
  EXPECT_TRUE(options.Placement.Valid);
  EXPECT_EQ(options.Placement.Right, 803);
}

TEST(SaveOptions, WritesEveryValueInOrder) {
  FakeOptionStore store;
  AppOptions options;
  options.ActiveTab = ScreenerKind::Etfs;
  options.LastStocks = "/screener/value.html#p=2";
  options.ShowSplash = false;
  options.Zoom = 0.67;
  options.ColorMode = ColorMode::Light;
  options.Placement = SavedPlacement{true, -8, -8, 1928, 1048, true};
  ASSERT_TRUE(SaveOptions(store, options));
  const std::vector<std::string> order = {
      "ActiveTab", "LastStocks", "LastEtfs",  "RestoreLast", "ShowSplash",   "Zoom",
      "ColorMode", "WindowLeft", "WindowTop", "WindowRight", "WindowBottom", "WindowMaximized"};
  EXPECT_EQ(store.written, order);
  EXPECT_EQ(std::get<std::string>(store.values["ActiveTab"]), "etfs");
  EXPECT_EQ(std::get<std::string>(store.values["LastStocks"]), "/screener/value.html#p=2");
  EXPECT_EQ(std::get<std::string>(store.values["LastEtfs"]), "/etf-screener.html");
  EXPECT_EQ(std::get<std::uint32_t>(store.values["RestoreLast"]), 1u);
  EXPECT_EQ(std::get<std::uint32_t>(store.values["ShowSplash"]), 0u);
  EXPECT_EQ(std::get<std::uint32_t>(store.values["Zoom"]), 67u);
  EXPECT_EQ(std::get<std::string>(store.values["ColorMode"]), "light");
  EXPECT_EQ(std::get<std::uint32_t>(store.values["WindowLeft"]), 0xFFFFFFF8u);
  EXPECT_EQ(std::get<std::uint32_t>(store.values["WindowMaximized"]), 1u);
  EXPECT_EQ(store.finishCount, 1);

  AppOptions loaded;
  ASSERT_TRUE(LoadOptions(store, loaded));
  EXPECT_EQ(loaded.ActiveTab, ScreenerKind::Etfs);
  EXPECT_EQ(loaded.LastStocks, options.LastStocks);
  EXPECT_FALSE(loaded.ShowSplash);
  EXPECT_DOUBLE_EQ(loaded.Zoom, 0.67);
  EXPECT_EQ(loaded.ColorMode, ColorMode::Light);
  EXPECT_TRUE(loaded.Placement.Valid);
  EXPECT_EQ(loaded.Placement.Left, -8);
  EXPECT_TRUE(loaded.Placement.Maximized);
}

TEST(SaveOptions, NoWindowValuesWithoutAValidPlacement) {
  FakeOptionStore store;
  AppOptions options;
  ASSERT_TRUE(SaveOptions(store, options));
  EXPECT_EQ(store.written.size(), 7u);
  EXPECT_EQ(store.values.count("WindowLeft"), 0u);
}

TEST(SaveOptions, EveryWriteIsAttemptedAfterAFailure) {
  FakeOptionStore store;
  store.failWriteOf = "LastStocks";
  AppOptions options;
  EXPECT_FALSE(SaveOptions(store, options));
  EXPECT_EQ(store.written.size(), 7u);
  EXPECT_EQ(store.values.count("ColorMode"), 1u);

  FakeOptionStore finishing;
  finishing.failFinishing = true;
  EXPECT_FALSE(SaveOptions(finishing, options));

  FakeOptionStore closed;
  closed.failOpenForWriting = true;
  EXPECT_FALSE(SaveOptions(closed, options));
  EXPECT_TRUE(closed.written.empty());
}

TEST(ZoomPercent, RoundsHalfUp) {
  EXPECT_EQ(ZoomPercent(1.0), 100u);
  EXPECT_EQ(ZoomPercent(1.1), 110u);
  EXPECT_EQ(ZoomPercent(0.67), 67u);
  EXPECT_EQ(ZoomPercent(0.25), 25u);
  EXPECT_EQ(ZoomPercent(5.0), 500u);
  EXPECT_EQ(ZoomPercent(1.234), 123u);
  EXPECT_EQ(ZoomPercent(1.235), 124u);
}

TEST(ApplyScreensFileOptions, SetsWhatTheFileCarried) {
  ScreensFileOptions file;
  file.activeTab = ScreenerKind::Etfs;
  file.lastEtfs = "/screener/etf-bonds.html";
  file.restoreLast = false;
  file.zoom = 2.0;
  file.colorMode = 2;
  file.window = FileWindowPlacement{10, 20, 810, 620, true};
  AppOptions options;
  ApplyScreensFileOptions(file, options);
  EXPECT_EQ(options.ActiveTab, ScreenerKind::Etfs);
  EXPECT_EQ(options.LastStocks, "/screener.html");
  EXPECT_EQ(options.LastEtfs, "/screener/etf-bonds.html");
  EXPECT_FALSE(options.RestoreLast);
  EXPECT_TRUE(options.ShowSplash);
  EXPECT_EQ(options.Zoom, 2.0);
  EXPECT_EQ(options.ColorMode, ColorMode::Dark);
  EXPECT_TRUE(options.Placement.Valid);
  EXPECT_EQ(options.Placement.Bottom, 620);
  EXPECT_TRUE(options.Placement.Maximized);
}

}  // namespace
}  // namespace velquist
