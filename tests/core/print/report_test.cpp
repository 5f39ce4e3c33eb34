#include "print/report.h"

#include <gtest/gtest.h>

#include "site_constants.h"

namespace velquist {
namespace {

ResultCell Text(std::string text) { return ResultCell{CellKind::Text, 0.0, std::move(text)}; }
ResultCell Number(double v) { return ResultCell{CellKind::Number, v, {}}; }

ResultSet Columns(std::size_t n) {
  ResultSet set;
  set.screener = "stocks";
  for (std::size_t i = 0; i < n; ++i) {
    set.columns.push_back({"c" + std::to_string(i), "C" + std::to_string(i), "num", false});
  }
  set.rows.push_back(ResultRow(n, Number(1)));
  return set;
}

bool Contains(const std::string& haystack, std::string_view needle) {
  return haystack.find(needle) != std::string::npos;
}

// The table body between <tbody> and </tbody>.
std::string Body(const std::string& report) {
  const std::size_t start = report.find("<tbody>\n");
  const std::size_t end = report.find("</tbody>");
  EXPECT_NE(start, std::string::npos);
  EXPECT_NE(end, std::string::npos);
  return report.substr(start + 8, end - start - 8);
}

TEST(BuildPrintReport, DocumentFrame) {
  const std::string report = BuildPrintReport(Columns(2), "", "");
  EXPECT_EQ(report.rfind("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">", 0),
            0u);
  EXPECT_TRUE(Contains(report, "content=\"default-src 'none'; style-src 'unsafe-inline'\""));
  EXPECT_TRUE(Contains(report, "<title>Stock screener</title><style>*{box-sizing:border-box}"));
  EXPECT_TRUE(Contains(report,
                       "<body><p class=\"hint\">The print preview opens by itself. Press Ctrl+P "
                       "to open it again, or Ctrl+W to close this window.</p><h1>Stock "
                       "screener</h1>"));
  const std::string note = "<p class=\"note\">Data: <a href=\"" + std::string(SiteOrigin) +
                           "/?src=vqs\">" + std::string(SiteHost) +
                           "</a>. For information only, not investment advice. </p>";
  EXPECT_TRUE(Contains(report, "</tbody></table>" + note + "</body></html>\n"));
  EXPECT_TRUE(Contains(report, "@bottom-left{content:\"" + std::string(SiteHost) +
                                   " \\2022  Velquist\";font:8pt 'Segoe UI',Arial,sans-serif;"
                                   "color:#555}"));
  EXPECT_TRUE(Contains(report,
                       "@bottom-right{content:\"Page \" counter(page) \" of \" counter(pages);"
                       "font:8pt 'Segoe UI',Arial,sans-serif;color:#555}}"
                       "@page :first{@top-left{content:\"\"}@top-right{content:\"\"}}"
                       "</style></head>"));
}

TEST(BuildPrintReport, PageShapeByColumnCount) {
  const struct {
    std::size_t columns;
    bool landscape;
    bool dense;
  } cases[] = {{1, false, false}, {8, false, false}, {9, true, false},
               {12, true, false}, {13, true, true},  {128, true, true}};
  for (const auto& c : cases) {
    const std::string report = BuildPrintReport(Columns(c.columns), "", "");
    EXPECT_EQ(Contains(report, "@page{margin:13mm 10mm 13mm 10mm;size:landscape;@top-left"),
              c.landscape)
        << c.columns;
    EXPECT_EQ(Contains(report, "@page{margin:13mm 10mm 13mm 10mm;@top-left"), !c.landscape)
        << c.columns;
    EXPECT_EQ(Contains(report, "<body class=\"dense\">"), c.dense) << c.columns;
    EXPECT_EQ(Contains(report, "<body>"), !c.dense) << c.columns;
  }
}

TEST(BuildPrintReport, WithoutAsOfDate) {
  const std::string report = BuildPrintReport(Columns(2), "", "2024-05-03 17:45");
  EXPECT_FALSE(Contains(report, "Data as of"));
  EXPECT_TRUE(Contains(report, "@top-right{content:\"\";"));
  EXPECT_TRUE(Contains(report, "<p class=\"meta\">1 stock \xC2\xB7 Printed 2024-05-03 17:45</p>"));
}

TEST(BuildPrintReport, WithAsOfDateAndTotal) {
  ResultSet set = Columns(2);
  set.asof = "2024-05-03";
  set.total = 5;
  const std::string report = BuildPrintReport(set, "Mine", "");
  EXPECT_TRUE(Contains(report, "<title>Mine 2024-05-03</title>"));
  EXPECT_TRUE(Contains(report, "<h1>Mine</h1>"));
  EXPECT_TRUE(Contains(report, "@top-left{content:\"Mine\";"));
  EXPECT_TRUE(Contains(report, "@top-right{content:\"Data as of 2024-05-03\";"));
  EXPECT_TRUE(Contains(report,
                       "<p class=\"meta\">1 of 5 stocks \xC2\xB7 Data as of 2024-05-03 market "
                       "close</p>"));
}

TEST(BuildPrintReport, TitleIsEscapedForEachContext) {
  const std::string report = BuildPrintReport(Columns(1), "Bob's <best> & \"co\"\n", "");
  EXPECT_TRUE(Contains(report, "<h1>Bob&#39;s &lt;best&gt; &amp; &quot;co&quot; </h1>"));
  EXPECT_TRUE(Contains(report, "<title>Bob&#39;s &lt;best&gt; &amp; &quot;co&quot; </title>"));
  EXPECT_TRUE(Contains(report, "@top-left{content:\"Bob's \\3C best> & \\\"co\\\" \";"));
  EXPECT_FALSE(Contains(report, "<best>"));
}

TEST(PrintCountText, Nouns) {
  ResultSet set = Columns(1);
  EXPECT_EQ(PrintCountText(set), "1 stock");
  set.total = 1;
  EXPECT_EQ(PrintCountText(set), "1 of 1 stock");
  set.total = 5;
  EXPECT_EQ(PrintCountText(set), "1 of 5 stocks");
  set.screener = "etfs";
  set.rows.resize(50);
  set.total = 1234;
  EXPECT_EQ(PrintCountText(set), "50 of 1,234 ETFs");
  set.total = 0;
  set.rows.resize(1);
  EXPECT_EQ(PrintCountText(set), "1 ETF");
  set.rows.resize(1234);
  EXPECT_EQ(PrintCountText(set), "1,234 ETFs");
}

TEST(BuildPrintReport, ScreenLine) {
  ResultSet set = Columns(1);
  const std::string host(SiteHost);
  set.url = std::string(SiteOrigin) + "/screener.html?x=1#f=a&b=\"c\"";
  EXPECT_TRUE(Contains(BuildPrintReport(set, "", ""),
                       "<p class=\"meta\">Screen: <a href=\"https://" + host +
                           "/screener.html?src=vqs#f=a&amp;b=&quot;c&quot;\">" + host +
                           "/screener.html</a></p>"));
  set.url = "https://other.example/screener.html";
  EXPECT_FALSE(Contains(BuildPrintReport(set, "", ""), "Screen:"));
  set.url = "http://" + host + "/screener.html";
  EXPECT_FALSE(Contains(BuildPrintReport(set, "", ""), "Screen:"));
}

TEST(BuildPrintReport, HeaderCellsAlignByType) {
  ResultSet set;
  set.screener = "stocks";
  set.columns = {{"s", "Symbol", "", false},    {"d", "Date", "date", false},
                 {"p", "P<E", "num", false},    {"r", "Rating", "ratingtxt", false},
                 {"g", "Signal", "sig", false}, {"m", "Cap", "money", false}};
  EXPECT_TRUE(Contains(BuildPrintReport(set, "", ""),
                       "<table><thead><tr><th>Symbol</th><th class=\"n\">Date</th><th "
                       "class=\"n\">P&lt;E</th><th>Rating</th><th>Signal</th><th "
                       "class=\"n\">Cap</th></tr></thead><tbody>\n</tbody>"));
}

TEST(BuildPrintReport, CellsByKindAndType) {
  ResultSet set;
  set.screener = "stocks";
  set.columns = {{"s", "Symbol", "", false},     {"n", "Name", "", false},
                 {"chg", "Change", "pct", true}, {"g", "Signal", "sig", false},
                 {"d", "Date", "date", false},   {"m", "Cap", "money", false}};
  set.rows.push_back({Text("BRK.B"), Text("Berkshire <B>"), Number(1.5), Text("Golden cross"),
                      Text("2024-05-03"), Number(2.5e12)});
  set.rows.push_back(
      {Text("BRK B"), Number(7), Number(0.001), Text("Death cross"), ResultCell{}, Number(-1234)});
  set.rows.push_back(
      {ResultCell{}, Text("x\ny"), Number(-2), Text("other"), Number(45292), ResultCell{}});
  const std::string url = std::string(SiteOrigin) + "/stocks/brk.b.html?src=vqs";
  EXPECT_EQ(Body(BuildPrintReport(set, "", "")),
            "<tr><td class=\"s\"><a href=\"" + url +
                "\">BRK.B</a></td><td><div class=\"cut\">Berkshire &lt;B&gt;</div></td>"
                "<td class=\"n up\">+1.50%</td><td class=\"up\">Golden cross</td>"
                "<td class=\"n\">2024-05-03</td><td class=\"n\">$2.50T</td></tr>\n"
                "<tr><td class=\"s\">BRK B</td><td class=\"n\">7</td>"
                "<td class=\"n\">0.00%</td><td class=\"dn\">Death cross</td>"
                "<td class=\"x\">\xE2\x80\x93</td><td class=\"n\">-$1.2K</td></tr>\n"
                "<tr><td class=\"x\">\xE2\x80\x93</td><td><div class=\"cut\">x y</div></td>"
                "<td class=\"n dn\">-2.00%</td><td class=\"dn\">other</td>"
                "<td class=\"n\">45292</td><td class=\"x\">\xE2\x80\x93</td></tr>\n");
}

TEST(BuildPrintReport, OnlyAFirstSymbolColumnLinks) {
  ResultSet set;
  set.screener = "etfs";
  set.columns = {{"s", "Symbol", "", false}, {"n", "Name", "", false}, {"s", "Again", "", false}};
  set.rows.push_back({Text("SPY"), Text("A fund"), Text("QQQ")});
  set.rows.push_back({Number(5), Text("B fund"), ResultCell{}});
  const std::string url = std::string(SiteOrigin) + "/etfs/spy.html?src=vqs";
  EXPECT_EQ(Body(BuildPrintReport(set, "", "")),
            "<tr><td class=\"s\"><a href=\"" + url +
                "\">SPY</a></td><td><div class=\"cut\">A fund</div></td><td>QQQ</td></tr>\n"
                "<tr><td class=\"n\">5</td><td><div class=\"cut\">B fund</div></td>"
                "<td class=\"x\">\xE2\x80\x93</td></tr>\n");
  std::swap(set.columns[0], set.columns[1]);
  for (ResultRow& row : set.rows) std::swap(row[0], row[1]);
  EXPECT_EQ(Body(BuildPrintReport(set, "", "")).find("<a "), std::string::npos);
}

TEST(BuildPrintReport, ShortRowsPrintOnlyTheirCells) {
  ResultSet set = Columns(3);
  set.rows[0].resize(2);
  EXPECT_EQ(Body(BuildPrintReport(set, "", "")),
            "<tr><td class=\"n\">1.00</td><td class=\"n\">1.00</td></tr>\n");
}

TEST(BuildPrintReport, HostileTextNeverLeavesItsCell) {
  ResultSet set;
  set.screener = "stocks";
  set.columns = {{"a", "</th><script>x</script>", "", false}, {"b", "B", "", false}};
  set.rows.push_back({Text("</td></tr><script>alert(1)</script>"), Text("\"'><img src=x>")});
  const std::string report = BuildPrintReport(set, "", "");
  EXPECT_FALSE(Contains(report, "<script"));
  EXPECT_FALSE(Contains(report, "<img"));
  EXPECT_TRUE(Contains(report, "&lt;/td&gt;&lt;/tr&gt;&lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_TRUE(Contains(report, "&quot;&#39;&gt;&lt;img src=x&gt;"));
}

}  // namespace
}  // namespace velquist
