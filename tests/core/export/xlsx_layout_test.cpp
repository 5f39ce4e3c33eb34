#include "export/xlsx_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquist {
namespace {

TEST(XlsxLayout, ColumnLetters) {
  struct Case {
    std::size_t index;
    std::string_view letters;
  };
  const Case cases[] = {{0, "A"},   {1, "B"},   {25, "Z"},   {26, "AA"},  {51, "AZ"},
                        {52, "BA"}, {63, "BL"}, {127, "DX"}, {701, "ZZ"}, {702, "AAA"}};
  for (const Case& c : cases) EXPECT_EQ(ColumnLetters(c.index), c.letters) << c.index;
}

TEST(XlsxLayout, StylesByType) {
  struct Case {
    std::string_view type;
    int number;
    int header;
  };
  const Case cases[] = {
      {"money", 3, 12}, {"price", 4, 12},    {"pct", 5, 12},   {"num", 6, 12},
      {"int", 7, 12},   {"cnt", 7, 12},      {"lev", 9, 12},   {"score", 11, 12},
      {"date", 0, 12},  {"ratingtxt", 0, 1}, {"sig", 0, 1},    {"str", 0, 1},
      {"", 0, 1},       {"Money", 0, 1},     {"rating", 0, 1}, {"pct ", 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberStyle(c.type), c.number) << c.type;
    EXPECT_EQ(HeaderStyle(c.type), c.header) << c.type;
  }
}

TEST(XlsxLayout, SheetName) {
  ResultSet set;
  set.screener = "etfs";
  EXPECT_EQ(SheetName(set), "ETFs");
  set.screener = "stocks";
  EXPECT_EQ(SheetName(set), "Stocks");
}

ResultCell Number(double v) { return {CellKind::Number, v, {}}; }
ResultCell Text(std::string t) { return {CellKind::Text, 0, std::move(t)}; }
ResultCell Missing() { return {}; }

TEST(XlsxLayout, ColumnWidths) {
  struct Case {
    std::size_t column;  // 0, 1 (capped at 40) or 2
    std::string_view type;
    std::string_view label;
    ResultCell cell;
    int width;
  };
  const std::string sixty(60, 'w');
  const Case cases[] = {
      {2, "num", "N", Number(1234567.891), 16},  // 7 digits, 2 commas, 4 more, 3 padding
      {2, "money", "M", Number(2.5e12), 22},     // 13 digits and 4 commas, 2 more
      {2, "money", "M", Number(-999), 10},
      {2, "price", "P", Number(0.5), 10},
      {2, "price", "P", Number(12345.67), 13},
      {2, "pct", "P", Number(12345.6), 11},
      {2, "lev", "L", Number(123456), 10},
      {2, "date", "D", Number(45000), 13},
      {2, "date", "D", Text("2024-05-03"), 13},
      {2, "int", "I", Number(999), 10},
      {2, "int", "I", Number(1e9), 17},
      {2, "cnt", "C", Number(-1e9), 17},
      {2, "score", "S", Number(-12345.6), 13},
      {2, "xyz", "X", Number(1e15), 25},
      {2, "str", "T", Text("caf\xC3\xA9 \xE2\x82\xAC"), 10},
      {2, "str", "T", Text(std::string(20, 'x')), 23},
      {2, "str", std::string_view("label of twenty byte"), ResultCell{}, 23},
      {2, "str", "T", Text(sixty), 50},
      {0, "str", "T", Text(sixty), 50},
      {1, "str", "T", Text(sixty), 40},
      {1, "str", "T", Text(std::string(30, 'x')), 33},
      {2, "str", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", ResultCell{},
       11},
  };
  for (const Case& c : cases) {
    ResultSet set;
    for (std::size_t i = 0; i < 3; ++i) set.columns.push_back({"k", "", "str", false});
    set.columns[c.column] = {"k", std::string(c.label), std::string(c.type), false};
    ResultRow row(3);
    row[c.column] = c.cell;
    set.rows.push_back(row);
    set.rows.push_back(ResultRow(3));  // a row of Missing cells changes nothing
    EXPECT_EQ(ColumnWidths(set)[c.column], c.width) << c.type << " " << c.label;
  }
}

// The widest cell of a column sets its width, whether a number (the largest in magnitude,
// wherever it lies) or a text in the same column.
TEST(XlsxLayout, WidestCellOfAColumnWins) {
  const struct {
    std::vector<ResultCell> cells;
    int width;
  } cases[] = {
      {{Number(1.0), Number(123456.0), Number(12.0)}, 6 + 1 + 4 + 3},
      {{Number(99999.0), Number(-1234567.0), Number(3.0)}, 7 + 2 + 4 + 3},
      {{Number(-0.5), Number(0.25)}, 10},
      {{Text(std::string(15, 't')), Number(-123.0), Missing()}, 15 + 3},
      {{Number(12345678.0), Text("short"), Missing()}, 8 + 2 + 4 + 3},
  };
  for (const auto& c : cases) {
    ResultSet set;
    set.columns.push_back({"p", "Price", "price", false});
    for (const ResultCell& cell : c.cells) set.rows.push_back({cell});
    EXPECT_EQ(ColumnWidths(set)[0], c.width) << c.width;
  }
}

TEST(XlsxLayout, HyperlinkFormulaDoublesQuotes) {
  EXPECT_EQ(HyperlinkFormula("https://h/a", "AAPL"), "HYPERLINK(\"https://h/a\",\"AAPL\")");
  EXPECT_EQ(HyperlinkFormula("https://h/#f=\"x\"", "say \"hi\""),
            "HYPERLINK(\"https://h/#f=\"\"x\"\"\",\"say \"\"hi\"\"\")");
}

TEST(XlsxLayout, LinksFitTheFormulaUpTo255Bytes) {
  const std::string url255(255, 'u');
  EXPECT_TRUE(FitsHyperlinkFormula(url255, std::string(255, 't')));
  EXPECT_FALSE(FitsHyperlinkFormula("", "text"));
  EXPECT_FALSE(FitsHyperlinkFormula(url255 + "u", "text"));
  EXPECT_FALSE(FitsHyperlinkFormula(url255, std::string(256, 't')));
}

}  // namespace
}  // namespace velquist
