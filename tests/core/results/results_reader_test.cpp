#include "results/results_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "site_constants.h"

namespace velquist {
namespace {

// A results object with one "num" column "a" and the given members replaced or added.
std::string Results(std::string_view columns = R"([{"key":"a","type":"num"}])",
                    std::string_view rows = "[[1]]", std::string_view extra = "") {
  std::string text = R"({"version":1,"screener":"stocks","columns":)";
  text += columns;
  text += R"(,"rows":)";
  text += rows;
  text += extra;
  text += "}";
  return text;
}

std::string ReadError(std::string_view text) {
  ResultSet set;
  set.screener = "left over";
  set.rows.resize(3);
  std::string error;
  EXPECT_FALSE(ReadResults(text, set, &error)) << text.substr(0, 200);
  EXPECT_TRUE(set.screener.empty());
  EXPECT_TRUE(set.columns.empty());
  EXPECT_TRUE(set.rows.empty());
  return error;
}

ResultSet ReadOk(std::string_view text) {
  ResultSet set;
  std::string error;
  EXPECT_TRUE(ReadResults(text, set, &error)) << error << " in " << text.substr(0, 200);
  return set;
}

std::string Repeat(std::string_view piece, std::size_t n, std::string_view separator = ",") {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) out += separator;
    out += piece;
  }
  return out;
}

TEST(ReadResults, TopLevelErrors) {
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {" null", "the page returned no results"},
      {"[]", "the page returned no results"},
      {R"("nohook")", "the page returned no results"},
      {"42", "the page returned no results"},
      {R"({"screener":"stocks"})", "unsupported results version"},
      {R"({"version":2,"screener":"stocks"})", "unsupported results version"},
      {R"({"version":"1","screener":"stocks"})", "unsupported results version"},
      {R"({"version":true,"screener":"stocks"})", "unsupported results version"},
      {R"({"version":1})", "unknown screener"},
      {R"({"version":1,"screener":"STOCKS"})", "unknown screener"},
      {R"({"version":1,"screener":["stocks"]})", "unknown screener"},
      {R"({"version":1,"screener":"stocks "})", "unknown screener"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadError(c.text), c.error) << c.text;
}

TEST(ReadResults, ParserErrorsPassThrough) {
  for (const char* text : {"", "{", R"({"version":1,})", "{\"a\":1} x", "nul"}) {
    const std::string error = ReadError(text);
    EXPECT_NE(error.find(" at offset "), std::string::npos) << text << ": " << error;
  }
  EXPECT_NE(ReadError(std::string(5000, '[')).find(" at offset "), std::string::npos);
  // JavaScript's non-numbers are no JSON; the page's JSON.stringify writes null for them.
  for (const char* cell : {"NaN", "Infinity", "-Infinity", "undefined"}) {
    const std::string text = Results(R"([{"key":"a"}])", std::string("[[") + cell + "]]");
    EXPECT_NE(ReadError(text).find(" at offset "), std::string::npos) << cell;
  }
}

TEST(ReadResults, VersionOneAsFloatIsAccepted) {
  const std::string text = R"({"version":1.0,"screener":"etfs","columns":[{"key":"a"}],"rows":[]})";
  const ResultSet set = ReadOk(text);
  EXPECT_EQ(set.screener, "etfs");
  EXPECT_TRUE(set.rows.empty());
  ASSERT_EQ(set.columns.size(), 1u);
}

TEST(ReadResults, OptionalHeaderMembers) {
  EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", R"(,"asof":"2024-05-03")")).asof,
            "2024-05-03");
  for (const char* asof : {R"("2024-5-3")", R"("2024-05-03 ")", "20240503", "null"}) {
    const std::string extra = std::string(R"(,"asof":)") + asof;
    EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", extra)).asof, "") << asof;
  }
  const std::string longest(4096, 'u');
  EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", ",\"url\":\"" + longest + "\"")).url,
            longest);
  EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", ",\"url\":\"" + longest + "u\"")).url, "");
  EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", ",\"url\":5")).url, "");
}

TEST(ReadResults, Total) {
  const struct {
    const char* json;
    std::int64_t total;
  } cases[] = {
      {"1234", 1234}, {"12.9", 12},  {"-5", 0},    {"1e9", 0},  {"999999999.5", 999999999},
      {"0", 0},       {"\"12\"", 0}, {"1e999", 0}, {"-0.5", 0}, {"null", 0},
  };
  for (const auto& c : cases) {
    const std::string extra = std::string(R"(,"total":)") + c.json;
    EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\"}]", "[]", extra)).total, c.total) << c.json;
  }
}

TEST(ReadResults, ColumnListErrors) {
  const std::string column = R"({"key":"a"})";
  EXPECT_EQ(ReadError(Results("[]")), "bad column list");
  EXPECT_EQ(ReadError(Results(R"({"key":"a"})")), "bad column list");
  EXPECT_EQ(ReadError(R"({"version":1,"screener":"stocks","rows":[]})"), "bad column list");
  EXPECT_EQ(ReadError(Results("[" + Repeat(column, 65) + "]", "[]")), "bad column list");
  const ResultSet set = ReadOk(Results("[" + Repeat(column, 64) + "]", "[]"));
  EXPECT_EQ(set.columns.size(), 64u);
}

TEST(ReadResults, BadColumns) {
  const char* columns[] = {
      R"([{"key":"Ab"}])",
      R"([{"key":"a_b"}])",
      R"([{"key":"abcdefghijklmnopq"}])",
      R"([{"key":""}])",
      R"([{"label":"no key"}])",
      R"([{"key":5}])",
      R"([{"key":"a-b"}])",
      R"([{"key":"\u00e9"}])",
      R"([{"key":"a","type":"abcdefghijklmnopq"}])",
      R"(["a"])",
      R"([{"key":"a"},null])",
  };
  for (const char* c : columns) EXPECT_EQ(ReadError(Results(c, "[]")), "bad column") << c;
}

TEST(ReadResults, ColumnFields) {
  const ResultSet set = ReadOk(Results(
      R"([{"key":"abcdefghijklmnop","type":"abcdefghijklmnop"},
          {"key":"chg","label":"Change","type":"pct","signed":true},
          {"key":"x9","label":"","signed":"true"},
          {"key":"y","label":7,"signed":1,"extra":{"deep":[1,2]}}])",
      "[]"));
  ASSERT_EQ(set.columns.size(), 4u);
  EXPECT_EQ(set.columns[0].label, "abcdefghijklmnop");
  EXPECT_EQ(set.columns[0].type, "abcdefghijklmnop");
  EXPECT_FALSE(set.columns[0].isSigned);
  EXPECT_EQ(set.columns[1].key, "chg");
  EXPECT_EQ(set.columns[1].label, "Change");
  EXPECT_EQ(set.columns[1].type, "pct");
  EXPECT_TRUE(set.columns[1].isSigned);
  EXPECT_EQ(set.columns[2].label, "x9");
  EXPECT_FALSE(set.columns[2].isSigned);
  EXPECT_EQ(set.columns[3].label, "y");
  EXPECT_EQ(set.columns[3].type, "");
  EXPECT_FALSE(set.columns[3].isSigned);
}

TEST(ReadResults, LongLabelsAreCutAtCharacterBoundaries) {
  const std::string euro = "\xE2\x82\xAC";
  const std::string label = std::string(199, 'a') + euro + "tail";
  const ResultSet set = ReadOk(Results("[{\"key\":\"a\",\"label\":\"" + label + "\"}]", "[]"));
  EXPECT_EQ(set.columns[0].label, std::string(199, 'a'));
  const std::string ascii(300, 'b');
  EXPECT_EQ(ReadOk(Results("[{\"key\":\"a\",\"label\":\"" + ascii + "\"}]", "[]")).columns[0].label,
            std::string(200, 'b'));
}

TEST(ReadResults, RowListErrors) {
  EXPECT_EQ(ReadError(Results(R"([{"key":"a"}])", "{}")), "bad row list");
  EXPECT_EQ(ReadError(Results(R"([{"key":"a"}])", "null")), "bad row list");
  EXPECT_EQ(ReadError(R"({"version":1,"screener":"stocks","columns":[{"key":"a"}]})"),
            "bad row list");
  // Too many rows is found before any row is looked at, even bad ones.
  EXPECT_EQ(ReadError(Results(R"([{"key":"a"}])", "[" + Repeat("0", 50'001) + "]")),
            "too many rows");
}

TEST(ReadResults, MostRowsAccepted) {
  const ResultSet set =
      ReadOk(Results(R"([{"key":"a"},{"key":"b"}])", "[" + Repeat("[1,\"x\"]", 50'000) + "]"));
  ASSERT_EQ(set.rows.size(), 50'000u);
  EXPECT_EQ(set.rows.back()[1].text, "x");
}

TEST(ReadResults, BadRows) {
  const std::string two = R"([{"key":"a"},{"key":"b"}])";
  EXPECT_EQ(ReadError(Results(two, "[[1,2],[3]]")), "bad row");
  EXPECT_EQ(ReadError(Results(two, "[[1,2],[3,4,5]]")), "bad row");
  EXPECT_EQ(ReadError(Results(two, R"([[1,2],{"a":1,"b":2}])")), "bad row");
  EXPECT_EQ(ReadError(Results(two, "[[1,2],null]")), "bad row");
  EXPECT_EQ(ReadError(Results(two, "[[]]")), "bad row");
  // A rating column counts once in a row, before it is split in two.
  const std::string rated = R"([{"key":"a","type":"rating"}])";
  EXPECT_EQ(ReadError(Results(rated, "[[4.2,4.2]]")), "bad row");
}

// The whole set as text, so that two readings can be compared at once.
std::string Dump(bool ok, const ResultSet& set, const std::string& error) {
  std::string out = ok ? "ok " : "failed: " + error + " ";
  out += set.screener + "|" + set.asof + "|" + set.url + "|" + std::to_string(set.total) + "|";
  for (const ResultColumn& c : set.columns) {
    out += c.key + "," + c.label + "," + c.type + (c.isSigned ? ",+" : "") + ";";
  }
  for (const ResultRow& row : set.rows) {
    out += "\n";
    for (const ResultCell& cell : row) {
      out += std::to_string(static_cast<int>(cell.kind)) + ":" + std::to_string(cell.number) + ":" +
             cell.text + ";";
    }
  }
  return out;
}

// Rows are read while the text is parsed when the columns come first; every other layout
// of the document is read from its whole tree, with the same results and errors.
TEST(ReadResults, RowsReadAsParsedGiveWhatTheWholeTreeGives) {
  const std::string head = R"("version":1,"screener":"stocks")";
  const std::string num = R"("columns":[{"key":"a","type":"num"},{"key":"b"}])";
  const std::string rated = R"("columns":[{"key":"a","type":"rating"},{"key":"b"}])";
  const std::string rows = R"("rows":[[4.2,"x"],[null,1]])";
  const std::string many = "\"rows\":[" + Repeat("[1,2]", 50'001) + "]";
  const struct {
    std::string text;
    const char* error;  // nullptr: read, with rows rows
    std::size_t rows;
  } cases[] = {
      {"{" + head + "," + num + "," + rows + "}", nullptr, 2},
      {"{" + rows + "," + head + "," + num + "}", nullptr, 2},
      {"{" + head + "," + rated + "," + rows + "}", nullptr, 2},
      // Columns given again after the rows: the last ones count.
      {"{" + head + "," + num + "," + rows + "," + rated + "}", nullptr, 2},
      {"{" + head + "," + rated + "," + rows + "," + num + "}", nullptr, 2},
      {"{" + head + "," + num + "," + rows + ",\"columns\":[{\"key\":\"a\"}]}", "bad row", 0},
      {"{" + head + R"(,"columns":5,)" + rows + "," + num + "}", nullptr, 2},
      {"{" + head + "," + num + "," + rows + R"(,"columns":[]})", "bad column list", 0},
      // Rows given again: the last ones count, also when they are not a list.
      {"{" + head + "," + num + "," + rows + R"(,"rows":[[1,2]]})", nullptr, 1},
      {"{" + head + "," + num + R"(,"rows":[[1]],)" + rows + "}", nullptr, 2},
      {"{" + head + "," + num + "," + rows + R"(,"rows":{}})", "bad row list", 0},
      {"{" + head + "," + num + R"(,"rows":7,)" + rows + "}", nullptr, 2},
      {"{" + head + "," + num + R"(,"r\u006fws":[[1,2]]})", nullptr, 1},
      // Too many rows comes before a bad row, wherever the bad row is.
      {"{" + head + "," + num + R"(,"rows":[[1],)" + many.substr(8) + "}", "too many rows", 0},
      {"{" + head + "," + num + "," + many.substr(0, many.size() - 1) + ",[1]]}", "too many rows",
       0},
      {"{" + head + "," + num + "," + many + "," + num + "}", "too many rows", 0},
      // The parser's errors come first, after the rows too.
      {"{" + head + "," + num + R"(,"rows":[[1],[1,2]] x})", "expected , or } at offset 101", 0},
      {"{" + head + "," + num + R"(,"rows":[[1,2],[1,2)", "expected , or ] at offset 100", 0},
      {"{" + head + R"(,"screener":"bonds",)" + num + "," + rows + "}", "unknown screener", 0},
  };
  for (const auto& c : cases) {
    ResultSet streamed;
    std::string streamedError;
    const bool streamedOk = ReadResults(c.text, streamed, &streamedError);
    ResultSet whole;
    std::string wholeError;
    const bool wholeOk = ReadResultsFromTree(c.text, whole, &wholeError);
    const std::string shown = c.text.substr(0, 160);
    EXPECT_EQ(Dump(streamedOk, streamed, streamedError), Dump(wholeOk, whole, wholeError)) << shown;
    if (c.error == nullptr) {
      EXPECT_TRUE(streamedOk) << streamedError << " in " << shown;
    } else {
      EXPECT_EQ(streamedError, c.error) << shown;
    }
    EXPECT_EQ(streamed.rows.size(), c.rows) << shown;
  }
}

TEST(ReadResults, PlainCells) {
  const ResultSet set = ReadOk(Results(
      R"([{"key":"a"},{"key":"b"},{"key":"c"},{"key":"d"},{"key":"e"},{"key":"f"},
          {"key":"g"},{"key":"h"}])",
      R"([[1.5,"AAPL",null,true,[1],{"x":1},1e999,-1e999]])"));
  ASSERT_EQ(set.rows.size(), 1u);
  const ResultRow& row = set.rows[0];
  ASSERT_EQ(row.size(), 8u);
  EXPECT_EQ(row[0].kind, CellKind::Number);
  EXPECT_EQ(row[0].number, 1.5);
  EXPECT_EQ(row[1].kind, CellKind::Text);
  EXPECT_EQ(row[1].text, "AAPL");
  for (std::size_t i = 2; i < row.size(); ++i) EXPECT_EQ(row[i].kind, CellKind::Missing) << i;
}

TEST(ReadResults, LongTextCellsAreCut) {
  const std::string text = std::string(998, 'a') + "\xF0\x9F\x98\x80";
  const ResultSet set = ReadOk(Results(R"([{"key":"a"}])", "[[\"" + text + "\"]]"));
  EXPECT_EQ(set.rows[0][0].text, std::string(998, 'a'));
  const std::string ascii(1500, 'z');
  EXPECT_EQ(ReadOk(Results(R"([{"key":"a"}])", "[[\"" + ascii + "\"]]")).rows[0][0].text,
            std::string(1000, 'z'));
}

TEST(ReadResults, RatingColumnsSplitInTwo) {
  const ResultSet set = ReadOk(Results(
      R"([{"key":"s","label":"Symbol"},{"key":"ar","label":"Analysts","type":"rating","signed":true}])",
      R"([["A",4.2],["B",6],["C","Buy"],["D",null],["E",0.5]])"));
  ASSERT_EQ(set.columns.size(), 3u);
  EXPECT_EQ(set.columns[1].key, "ar");
  EXPECT_EQ(set.columns[1].label, "Analysts");
  EXPECT_EQ(set.columns[1].type, "ratingtxt");
  EXPECT_FALSE(set.columns[1].isSigned);
  EXPECT_EQ(set.columns[2].key, "ar_score");
  EXPECT_EQ(set.columns[2].label, "Analysts score");
  EXPECT_EQ(set.columns[2].type, "score");
  EXPECT_FALSE(set.columns[2].isSigned);
  const struct {
    CellKind wordKind;
    const char* word;
    CellKind scoreKind;
    double score;
  } expected[] = {
      {CellKind::Text, "Buy", CellKind::Number, 4.2},
      {CellKind::Missing, "", CellKind::Number, 6},
      {CellKind::Missing, "", CellKind::Missing, 0},
      {CellKind::Missing, "", CellKind::Missing, 0},
      {CellKind::Text, "Strong Sell", CellKind::Number, 0.5},
  };
  ASSERT_EQ(set.rows.size(), 5u);
  for (std::size_t r = 0; r < 5; ++r) {
    const ResultRow& row = set.rows[r];
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[1].kind, expected[r].wordKind) << r;
    EXPECT_EQ(row[1].text, expected[r].word) << r;
    EXPECT_EQ(row[2].kind, expected[r].scoreKind) << r;
    if (expected[r].scoreKind == CellKind::Number) {
      EXPECT_EQ(row[2].number, expected[r].score) << r;
    }
  }
}

TEST(ReadResults, SignalCellsBecomeWords) {
  const ResultSet set = ReadOk(
      Results(R"([{"key":"g","type":"sig"}])", R"([[-1],[0],[2],["custom"],[null],[1e999]])"));
  ASSERT_EQ(set.rows.size(), 6u);
  EXPECT_EQ(set.rows[0][0].kind, CellKind::Text);
  EXPECT_EQ(set.rows[0][0].text, "Death cross");
  EXPECT_EQ(set.rows[0][0].number, -1);
  EXPECT_EQ(set.rows[1][0].kind, CellKind::Missing);
  EXPECT_EQ(set.rows[2][0].kind, CellKind::Text);
  EXPECT_EQ(set.rows[2][0].text, "Golden cross");
  EXPECT_EQ(set.rows[2][0].number, 2);
  EXPECT_EQ(set.rows[3][0].kind, CellKind::Text);
  EXPECT_EQ(set.rows[3][0].text, "custom");
  EXPECT_EQ(set.rows[4][0].kind, CellKind::Missing);
  EXPECT_EQ(set.rows[5][0].kind, CellKind::Missing);
}

TEST(ReadResults, UnknownMembersAreIgnored) {
  const ResultSet set = ReadOk(
      R"({"rows":[[1]],"zzz":{"a":[1,2,{}]},"version":1,"columns":[{"key":"a"}],
          "screener":"etfs","total":3})");
  EXPECT_EQ(set.screener, "etfs");
  EXPECT_EQ(set.total, 3);
  ASSERT_EQ(set.rows.size(), 1u);
}

ResultSet WithUrl(std::string screener, std::string_view tail, std::string asof = "") {
  ResultSet set;
  set.screener = std::move(screener);
  set.url = std::string(SiteOrigin) + std::string(tail);
  set.asof = std::move(asof);
  return set;
}

TEST(ResultsTitle, SavedScreenName) {
  const ScreenStore screens = {
      {"ETF one", ScreenerKind::Etfs, "/screener.html", "f=1"},
      {"Mine", ScreenerKind::Stocks, "/screener.html", "f=1"},
      {"Second", ScreenerKind::Stocks, "/screener.html", "f=1"},
      {"Plain", ScreenerKind::Stocks, "/screener/penny-stocks.html", ""},
  };
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", "/screener.html?q=1#f=1", "2024-05-03"), screens),
            "Mine 2024-05-03");
  EXPECT_EQ(ResultsTitle(WithUrl("etfs", "/screener.html#f=1"), screens), "ETF one");
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", "/screener.html#f=2"), screens), "Stock screener");
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", ":443/screener/penny-stocks.html"), screens), "Plain");
  EXPECT_EQ(ResultsScreenName(WithUrl("stocks", "/screener.html#f=1", "2024-05-03"), screens),
            "Mine");
}

TEST(ResultsTitle, PresetLabels) {
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", "/screener/penny-stocks.html", "2024-05-03"), {}),
            "Penny stocks 2024-05-03");
  EXPECT_EQ(ResultsTitle(WithUrl("etfs", "/screener/etf-crypto.html"), {}),
            "Bitcoin & crypto ETFs");
  // A preset page with filters of its own is no longer the preset.
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", "/screener/penny-stocks.html#f=1"), {}),
            "Stock screener");
  EXPECT_EQ(ResultsTitle(WithUrl("stocks", "/screener.html"), {}), "Stock screener");
}

TEST(ResultsTitle, UrlsOutsideTheScreenerHaveNoName) {
  const ScreenStore screens = {{"Mine", ScreenerKind::Stocks, "/screener/penny-stocks.html", ""}};
  ResultSet set = WithUrl("etfs", "", "2024-05-03");
  set.url = "http://" + std::string(SiteHost) + "/screener/penny-stocks.html";
  EXPECT_EQ(ResultsTitle(set, screens), "ETF screener 2024-05-03");
  set.url = "https://other.example/screener/penny-stocks.html";
  EXPECT_EQ(ResultsTitle(set, screens), "ETF screener 2024-05-03");
  set.url.clear();
  EXPECT_EQ(ResultsTitle(set, screens), "ETF screener 2024-05-03");
}

TEST(ResultsCountText, NounsAndGroups) {
  ResultSet set;
  set.screener = "stocks";
  set.rows.resize(1);
  EXPECT_EQ(ResultsCountText(set), "1 stock");
  set.rows.resize(1234);
  EXPECT_EQ(ResultsCountText(set), "1,234 stocks");
  set.rows.clear();
  EXPECT_EQ(ResultsCountText(set), "0 stocks");
  set.screener = "etfs";
  set.rows.resize(1);
  EXPECT_EQ(ResultsCountText(set), "1 ETF");
  set.rows.resize(50'000);
  EXPECT_EQ(ResultsCountText(set), "50,000 ETFs");
}

}  // namespace
}  // namespace velquist
