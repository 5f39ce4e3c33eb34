#include "site/presets.h"

#include <gtest/gtest.h>

#include <set>

#include "site/url.h"

namespace velquist {
namespace {

TEST(Presets, FourteenScreenerPagesOfTheRightKindEach) {
  std::set<std::string_view> paths;
  for (const auto kind : {ScreenerKind::Stocks, ScreenerKind::Etfs}) {
    const auto presets = Presets(kind);
    ASSERT_EQ(presets.size(), 14u);
    for (const Preset& preset : presets) {
      EXPECT_FALSE(preset.label.empty());
      EXPECT_TRUE(IsScreenerPath(preset.path)) << preset.path;
      EXPECT_EQ(IsEtfScreenerPath(preset.path), kind == ScreenerKind::Etfs) << preset.path;
      EXPECT_TRUE(paths.insert(preset.path).second) << "duplicate " << preset.path;
    }
  }
}

TEST(Presets, MenuOrder) {
  const auto stocks = Presets(ScreenerKind::Stocks);
  EXPECT_EQ(stocks.front().label, "Dividend stocks");
  EXPECT_EQ(stocks[5].path, "/screener/penny-stocks.html");
  EXPECT_EQ(stocks.back().label, "Golden cross");
  const auto etfs = Presets(ScreenerKind::Etfs);
  EXPECT_EQ(etfs.front().path, "/screener/etf-largest.html");
  EXPECT_EQ(etfs[11].label, "Bitcoin && crypto ETFs");
  EXPECT_EQ(etfs.back().label, "Best performers (1Y)");
}

TEST(PresetLabel, Lookup) {
  const struct {
    const char* path;
    const char* label;
  } cases[] = {
      {"/screener/penny-stocks.html", "Penny stocks"},
      {"/screener/52-week-low-stocks.html", "52-week lows"},
      {"/screener/etf-crypto.html", "Bitcoin && crypto ETFs"},
      {"/screener/etf-best-performing.html", "Best performers (1Y)"},
      {"/screener.html", ""},
      {"/etf-screener.html", ""},
      {"/screener/Penny-stocks.html", ""},
      {"/screener/penny-stocks.html#x", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PresetLabel(c.path), c.label) << c.path;
}

TEST(ShownMenuLabel, DoubledAmpersands) {
  EXPECT_EQ(ShownMenuLabel("Bitcoin && crypto ETFs"), "Bitcoin & crypto ETFs");
  EXPECT_EQ(ShownMenuLabel("a &&&& b"), "a && b");
  EXPECT_EQ(ShownMenuLabel("a & b"), "a & b");
  EXPECT_EQ(ShownMenuLabel("&&&"), "&&");
  EXPECT_EQ(ShownMenuLabel(""), "");
}

}  // namespace
}  // namespace velquist
