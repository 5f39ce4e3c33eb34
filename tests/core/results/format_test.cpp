#include "results/format.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "site_constants.h"

namespace velquist {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

double ReadBack(const std::string& text) {
  double v = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  EXPECT_EQ(res.ec, std::errc()) << text;
  EXPECT_EQ(res.ptr, text.data() + text.size()) << text;
  return v;
}

TEST(FormatShortestReal, KnownValues) {
  const struct {
    double v;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {1e21, "1e+21"},
      {123456789, "123456789"},
      {-0.0, "-0"},
      {0, "0"},
      {-5, "-5"},
      {1.0 / 3, "0.3333333333333333"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1e-7, "1e-07"},
      {12.5, "12.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatShortestReal(c.v), c.text) << c.text;
}

// The rule written out the slow way: the first of %.15g, %.16g, %.17g that reads back.
std::string ShortestRealReference(double v) {
  std::string text;
  for (int precision = 15; precision <= 17; ++precision) {
    std::array<char, 40> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v,
                                   std::chars_format::general, precision);
    text.assign(buf.data(), res.ptr);
    // Text just above the largest double reads back out of range, like strtod's HUGE_VAL.
    double back = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), back);
    if (read.ec == std::errc() && back == v) break;
  }
  return text;
}

void ExpectShortestMatchesReference(double v) {
  const std::string text = FormatShortestReal(v);
  ASSERT_EQ(text, ShortestRealReference(v)) << std::hexfloat << v;
  EXPECT_EQ(ReadBack(text), v) << text;
}

TEST(FormatShortestReal, RandomBitPatternsMatchTheSlowRule) {
  std::mt19937_64 rng(42);
  for (int i = 0; i < 300000; ++i) {
    const std::uint64_t bits = rng();
    double v = 0;
    static_assert(sizeof v == sizeof bits);
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) ExpectShortestMatchesReference(v);
  }
}

TEST(FormatShortestReal, PageLikeValuesMatchTheSlowRule) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int i = 0; i < 200000; ++i) {
    // Short decimals (prices, percents) and wide ranges around the fixed/exponent switch.
    const int scale = static_cast<int>(rng() % 40) - 20;
    const double raw = unit(rng) * std::pow(10.0, scale);
    ExpectShortestMatchesReference(raw);
    ExpectShortestMatchesReference(std::round(raw * 100) / 100);
    ExpectShortestMatchesReference(static_cast<double>(static_cast<std::int64_t>(rng() >> 8)));
    // 17-digit decimals ending in 5, some of them exactly halfway between 16-digit ones.
    const std::string half = std::to_string(1'000'000'000'000'000 + rng() % 9'000'000'000'000'000) +
                             "5e" + std::to_string(scale - 16);
    ExpectShortestMatchesReference(ReadBack(half));
  }
}

TEST(FormatShortestReal, NeighboursOfPowersOfTwoAndTenMatchTheSlowRule) {
  for (int exp = -1074; exp <= 1023; ++exp) {
    double v = std::ldexp(1.0, exp);
    for (int step = 0; step < 4; ++step) {
      ExpectShortestMatchesReference(v);
      ExpectShortestMatchesReference(-v);
      v = std::nextafter(v, Inf);
    }
    v = std::ldexp(1.0, exp);
    for (int step = 0; step < 4; ++step) {
      v = std::nextafter(v, 0.0);
      ExpectShortestMatchesReference(v);
    }
  }
  for (int exp = -320; exp <= 308; ++exp) {
    const double p = std::pow(10.0, exp);
    ExpectShortestMatchesReference(p);
    ExpectShortestMatchesReference(std::nextafter(p, Inf));
    ExpectShortestMatchesReference(std::nextafter(p, 0.0));
  }
  ExpectShortestMatchesReference(std::numeric_limits<double>::max());
  ExpectShortestMatchesReference(std::numeric_limits<double>::denorm_min());
  ExpectShortestMatchesReference(1234567890123456.5);
  ExpectShortestMatchesReference(9007199254740993.0);
  // Exactly halfway between two 16-digit decimals: both sides round half to even.
  ExpectShortestMatchesReference(900000000000000.25);
  ExpectShortestMatchesReference(900000000000000.75);
  ExpectShortestMatchesReference(-987654321098765.25);
  EXPECT_EQ(FormatShortestReal(900000000000000.25), "900000000000000.2");
}

TEST(FormatShortestReal, NonFinite) {
  EXPECT_EQ(FormatShortestReal(Inf), "inf");
  EXPECT_EQ(FormatShortestReal(-Inf), "-inf");
}

TEST(AppendShortestReal, Appends) {
  std::string out = "x=";
  AppendShortestReal(out, 0.1);
  AppendShortestReal(out, -2.5e-9);
  EXPECT_EQ(out, "x=0.1-2.5e-09");
}

TEST(FormatGroupedInteger, Groups) {
  EXPECT_EQ(FormatGroupedInteger(0), "0");
  EXPECT_EQ(FormatGroupedInteger(999), "999");
  EXPECT_EQ(FormatGroupedInteger(1000), "1,000");
  EXPECT_EQ(FormatGroupedInteger(1234567), "1,234,567");
  EXPECT_EQ(FormatGroupedInteger(-1234), "-1,234");
  EXPECT_EQ(FormatGroupedInteger(std::numeric_limits<std::int64_t>::min()),
            "-9,223,372,036,854,775,808");
  EXPECT_EQ(FormatGroupedInteger(std::numeric_limits<std::int64_t>::max()),
            "9,223,372,036,854,775,807");
}

TEST(FormatFixedGrouped, Table) {
  const struct {
    double v;
    int decimals;
    const char* text;
  } cases[] = {
      {1234567.891, 2, "1,234,567.89"},
      {-0.004, 2, "0.00"},
      {-0.005001, 2, "-0.01"},
      {5, 9, "5.000000"},
      {5, 6, "5.000000"},
      {999.5, 0, "1,000"},
      {-1234.5, 1, "-1,234.5"},
      {0.125, 2, "0.12"},  // the binary value rounds as printf rounds it
      {100, 0, "100"},
      {-0.4, 0, "0"},
      {1e20, 0, "100,000,000,000,000,000,000"},
      {2.5, -3, "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixedGrouped(c.v, c.decimals), c.text) << c.v << " " << c.decimals;
  }
}

TEST(FormatFixedGrouped, NonFiniteIsEmpty) {
  EXPECT_EQ(FormatFixedGrouped(NaN, 2), "");
  EXPECT_EQ(FormatFixedGrouped(Inf, 2), "");
  EXPECT_EQ(FormatFixedGrouped(-Inf, 0), "");
}

TEST(FormatFixedGrouped, LargestDoubleFits) {
  const std::string text = FormatFixedGrouped(-std::numeric_limits<double>::max(), 6);
  EXPECT_EQ(text.substr(0, 5), "-179,");
  EXPECT_EQ(text.substr(text.size() - 7), ".000000");
}

TEST(FormatMoneyCompact, Thresholds) {
  const struct {
    double v;
    const char* text;
  } cases[] = {
      {0, "$0"},
      {999.4, "$999"},
      {999.5, "$1.0K"},
      {-1234, "-$1.2K"},
      {999949, "$999.9K"},  // the K row holds up to the M threshold
      {999950, "$1.00M"},
      {999994999, "$999.99M"},
      {999995000, "$1.00B"},
      {999994999999, "$999.99B"},
      {999995000000, "$1.00T"},
      {2.5e12, "$2.50T"},
      {1.5e15, "$1,500.00T"},
      {-0.4, "$0"},
      {-3.2e9, "-$3.20B"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMoneyCompact(c.v), c.text) << c.v;
  EXPECT_EQ(FormatMoneyCompact(NaN), "");
  EXPECT_EQ(FormatMoneyCompact(-Inf), "");
}

ResultCell Number(double v) { return ResultCell{CellKind::Number, v, {}}; }

ResultColumn Column(std::string type, bool isSigned = false) {
  return ResultColumn{"k", "K", std::move(type), isSigned};
}

TEST(FormatPrintValue, ByType) {
  const struct {
    const char* type;
    bool isSigned;
    double v;
    const char* text;
  } cases[] = {
      {"money", false, 2.5e12, "$2.50T"},
      {"price", false, 1234.5, "$1,234.50"},
      {"price", false, -12.345, "-$12.35"},  // 12.345 is stored just above the half
      {"price", false, -0.001, "$0.00"},
      {"pct", true, 12.345, "+12.35%"},
      {"pct", true, 0.001, "0.00%"},
      {"pct", true, -0.004, "0.00%"},
      {"pct", true, -1.5, "-1.50%"},
      {"pct", false, 1.5, "1.50%"},
      {"num", false, 1234.567, "1,234.57"},
      {"score", false, 4.2, "4.20"},
      {"int", false, 1234567, "1,234,567"},
      {"cnt", false, 12.6, "13"},
      {"lev", false, 2, "2.0x"},
      {"date", false, 45292, "45292"},
      {"other", false, 1.0 / 3, "0.3333333333"},
      {"", false, 1e21, "1e+21"},
      {"Money", false, 1500, "1500"},  // types compare case-sensitively
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPrintValue(Number(c.v), Column(c.type, c.isSigned)), c.text)
        << c.type << " " << c.v;
  }
}

TEST(FormatPrintValue, MissingAndTextCells) {
  EXPECT_EQ(FormatPrintValue(ResultCell{}, Column("money")), "");
  EXPECT_EQ(FormatPrintValue(ResultCell{CellKind::Text, 3, "Golden cross"}, Column("sig")),
            "Golden cross");
  EXPECT_EQ(FormatPrintValue(ResultCell{CellKind::Text, 0, "<b>"}, Column("price")), "<b>");
}

TEST(RatingWord, Thresholds) {
  const struct {
    double x;
    const char* word;
  } cases[] = {
      {5.5, "Strong Buy"},
      {5.51, ""},
      {4.5, "Strong Buy"},
      {4.49, "Buy"},
      {3.5, "Buy"},
      {3.49, "Hold"},
      {2.5, "Hold"},
      {2.49, "Sell"},
      {1.5, "Sell"},
      {1.49, "Strong Sell"},
      {0.5, "Strong Sell"},
      {0.49, ""},
      {-1, ""},
      {NaN, ""},
      {Inf, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RatingWord(c.x), c.word) << c.x;
}

TEST(SignalWord, Sign) {
  EXPECT_EQ(SignalWord(2), "Golden cross");
  EXPECT_EQ(SignalWord(1e-300), "Golden cross");
  EXPECT_EQ(SignalWord(-1), "Death cross");
  EXPECT_EQ(SignalWord(0), "");
  EXPECT_EQ(SignalWord(-0.0), "");
}

TEST(IsoDate, Shape) {
  EXPECT_TRUE(IsIsoDate("2024-05-03"));
  EXPECT_FALSE(IsIsoDate("2024-5-03"));
  EXPECT_FALSE(IsIsoDate("2024-05-3 "));
  EXPECT_FALSE(IsIsoDate("2024/05/03"));
  EXPECT_FALSE(IsIsoDate("2024-05-031"));
  EXPECT_FALSE(IsIsoDate("２024-05-03"));
  EXPECT_FALSE(IsIsoDate(""));
}

TEST(IsoDateToSerial, Table) {
  const struct {
    const char* text;
    bool ok;
    double serial;
  } cases[] = {
      {"2024-01-01", true, 45292}, {"1900-03-01", true, 61},    {"1900-01-01", true, 2},
      {"2024-02-31", true, 45353}, {"2024-03-02", true, 45353}, {"9999-12-31", true, 2958465},
      {"1899-12-31", false, 0},    {"2024-13-01", false, 0},    {"2024-00-10", false, 0},
      {"2024-01-00", false, 0},    {"2024-01-32", false, 0},    {"2024-1-01", false, 0},
  };
  for (const auto& c : cases) {
    double serial = -1;
    EXPECT_EQ(IsoDateToSerial(c.text, serial), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(serial, c.serial) << c.text;
    }
  }
}

TEST(SymbolPageUrl, Rules) {
  ResultSet stocks;
  stocks.screener = "stocks";
  ResultSet etfs;
  etfs.screener = "etfs";
  const std::string origin(SiteOrigin);
  EXPECT_EQ(SymbolPageUrl(stocks, "BRK.B"), origin + "/stocks/brk.b.html?src=vqs");
  EXPECT_EQ(SymbolPageUrl(etfs, "SPY"), origin + "/etfs/spy.html?src=vqs");
  EXPECT_EQ(SymbolPageUrl(stocks, "abc-1"), origin + "/stocks/abc-1.html?src=vqs");
  EXPECT_EQ(SymbolPageUrl(stocks, "ABCDEFGHIJKLMNOP"),
            origin + "/stocks/abcdefghijklmnop.html?src=vqs");
  EXPECT_EQ(SymbolPageUrl(stocks, "ABCDEFGHIJKLMNOPQ"), "");
  EXPECT_EQ(SymbolPageUrl(stocks, ""), "");
  EXPECT_EQ(SymbolPageUrl(stocks, "BRK B"), "");
  EXPECT_EQ(SymbolPageUrl(stocks, "../x"), "");
  EXPECT_EQ(SymbolPageUrl(stocks, "^GSPC"), "");
  EXPECT_EQ(SymbolPageUrl(stocks, "\xC3\x84"), "");
  EXPECT_EQ(SymbolPageUrl(stocks, "A\"B"), "");
}

TEST(ScreenLinkUrl, Rules) {
  const std::string origin(SiteOrigin);
  EXPECT_EQ(ScreenLinkUrl(origin + "/screener.html?x=1#f=2"),
            origin + "/screener.html?src=vqs#f=2");
  EXPECT_EQ(ScreenLinkUrl(origin + "/screener.html"), origin + "/screener.html?src=vqs");
  EXPECT_EQ(ScreenLinkUrl(origin + "/screener.html#"), origin + "/screener.html?src=vqs");
  EXPECT_EQ(ScreenLinkUrl(origin + "/screener.html#a?b"), origin + "/screener.html?src=vqs#a?b");
  EXPECT_EQ(ScreenLinkUrl(origin), "");
  EXPECT_EQ(ScreenLinkUrl("http://" + std::string(SiteHost) + "/screener.html"), "");
  EXPECT_EQ(ScreenLinkUrl(origin + ".evil.example/screener.html"), "");
  EXPECT_EQ(ScreenLinkUrl("https://other.example/screener.html"), "");
  EXPECT_EQ(ScreenLinkUrl(""), "");
}

TEST(ScreenerTitle, KindAndDate) {
  ResultSet set;
  set.screener = "stocks";
  EXPECT_EQ(ScreenerTitle(set), "Stock screener");
  set.asof = "2024-05-03";
  EXPECT_EQ(ScreenerTitle(set), "Stock screener 2024-05-03");
  set.screener = "etfs";
  EXPECT_EQ(ScreenerTitle(set), "ETF screener 2024-05-03");
}

TEST(SanitizeFileName, Table) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"  a/b:c  ", "a b c"},
      {"...", "Screener results"},
      {"", "Screener results"},
      {"a\\b*c?d\"e<f>g|h", "a b c d e f g h"},
      {"tab\there\nline", "tab here line"},
      {"Name. . .", "Name"},
      {"  Name  ", "Name"},
      {"Dividend stocks 2024-05-03", "Dividend stocks 2024-05-03"},
      {"???", "Screener results"},
  };
  for (const auto& c : cases) EXPECT_EQ(SanitizeFileName(c.in), c.out) << c.in;
}

TEST(SanitizeFileName, CutsAtCharacterBoundary) {
  std::string title;
  for (int i = 0; i < 200; ++i) title += "\xC3\xA9";
  EXPECT_EQ(SanitizeFileName(title), title.substr(0, 120));
  const std::string odd = "a" + title;  // byte 120 is now inside a character
  EXPECT_EQ(SanitizeFileName(odd), odd.substr(0, 119));
}

TEST(ColumnTypeSets, Membership) {
  for (const char* t : {"money", "price", "num", "int", "cnt", "lev", "pct", "score"}) {
    EXPECT_TRUE(IsNumericColumnType(t)) << t;
    EXPECT_TRUE(IsPrintNumericType(t)) << t;
  }
  EXPECT_FALSE(IsNumericColumnType("date"));
  EXPECT_TRUE(IsPrintNumericType("date"));
  for (const char* t : {"ratingtxt", "sig", "rating", "", "Money", "text"}) {
    EXPECT_FALSE(IsNumericColumnType(t)) << t;
    EXPECT_FALSE(IsPrintNumericType(t)) << t;
  }
}

}  // namespace
}  // namespace velquist
