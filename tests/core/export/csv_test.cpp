#include "export/csv.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

ResultCell Text(std::string text) { return ResultCell{CellKind::Text, 0.0, std::move(text)}; }
ResultCell Number(double v) { return ResultCell{CellKind::Number, v, {}}; }

TEST(CsvField, GuardAndQuoting) {
  const struct {
    const char* text;
    const char* excel;
    const char* plain;
  } cases[] = {
      {"AAPL", "AAPL", "AAPL"},
      {"", "", ""},
      {"=SUM(A1)", "'=SUM(A1)", "=SUM(A1)"},
      {"+1", "'+1", "+1"},
      {"-5%", "'-5%", "-5%"},
      {"@cmd", "'@cmd", "@cmd"},
      {"\tx", "'\tx", "\tx"},
      {"\rx", "\"'\rx\"", "\"\rx\""},
      {"\nx", "\"'\nx\"", "\"\nx\""},
      {"a=b", "a=b", "a=b"},
      {" =x", " =x", " =x"},
      {"'quoted", "'quoted", "'quoted"},
      {"Smith, Inc.", "\"Smith, Inc.\"", "\"Smith, Inc.\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\"", "\"two\nlines\""},
      {"cr\rin", "\"cr\rin\"", "\"cr\rin\""},
      {"=A1,B1", "\"'=A1,B1\"", "\"=A1,B1\""},
      {"tab\tinside", "tab\tinside", "tab\tinside"},
      {"\"", "\"\"\"\"", "\"\"\"\""},
      {"caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsvField(c.text, CsvDialect::ExcelCsv), c.excel) << c.text;
    EXPECT_EQ(CsvField(c.text, CsvDialect::PlainCsv), c.plain) << c.text;
  }
}

ResultSet SampleSet() {
  ResultSet set;
  set.screener = "stocks";
  set.columns = {
      {"s", "Symbol", "", false},
      {"chg", "Change", "pct", true},
      {"pe", "Change", "num", false},
      {"n", "=Name", "", false},
  };
  set.rows.push_back({ResultCell{}, Number(1.5), Text("AAPL"), ResultCell{}});
  set.rows.push_back({Text("-5%"), Number(-5), Number(0.1), Text("Smith, Inc.")});
  return set;
}

TEST(WriteCsv, ExcelDialect) {
  EXPECT_EQ(WriteCsv(SampleSet(), CsvDialect::ExcelCsv),
            "\xEF\xBB\xBF"
            "Symbol,Change (%),Change,'=Name\r\n"
            ",1.5,AAPL,\r\n"
            "'-5%,-5,0.1,\"Smith, Inc.\"\r\n");
}

TEST(WriteCsv, PlainDialect) {
  EXPECT_EQ(WriteCsv(SampleSet(), CsvDialect::PlainCsv),
            "Symbol,Change (%),Change,=Name\r\n"
            ",1.5,AAPL,\r\n"
            "-5%,-5,0.1,\"Smith, Inc.\"\r\n");
}

TEST(WriteCsv, NumbersAreShortestExactTextAndNeverGuarded) {
  ResultSet set;
  set.columns = {{"a", "A", "money", false}};
  for (const double v : {-5.0, 1.0 / 3, 1e21, -0.0, 123456789.0, 2.5e-9}) {
    set.rows.push_back({Number(v)});
  }
  EXPECT_EQ(WriteCsv(set, CsvDialect::ExcelCsv),
            "\xEF\xBB\xBF"
            "A\r\n-5\r\n0.3333333333333333\r\n1e+21\r\n-0\r\n123456789\r\n2.5e-09\r\n");
}

TEST(WriteCsv, HeaderOnlyWithoutRows) {
  ResultSet set;
  set.columns = {{"a", "A", "pct", false}, {"b", "Note, long", "", false}};
  EXPECT_EQ(WriteCsv(set, CsvDialect::PlainCsv), "A (%),\"Note, long\"\r\n");
}

TEST(WriteCsv, LeadingLineFeedInTextIsGuardedForSpreadsheets) {
  ResultSet set;
  set.columns = {{"a", "A", "", false}};
  set.rows.push_back({Text("\n=HYPERLINK(\"x\")")});
  EXPECT_EQ(WriteCsv(set, CsvDialect::ExcelCsv),
            "\xEF\xBB\xBF"
            "A\r\n\"'\n=HYPERLINK(\"\"x\"\")\"\r\n");
}

}  // namespace
}  // namespace velquist
