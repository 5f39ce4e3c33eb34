#include "export/xlsx.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <string>
#include <vector>

#include "export/crc32.h"
#include "export/deflate.h"
#include "export/xlsx_parts.h"
#include "site_constants.h"

namespace velquist {
namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

ResultCell Number(double v) { return {CellKind::Number, v, {}}; }
ResultCell Text(std::string t) { return {CellKind::Text, 0, std::move(t)}; }

ResultSet OneColumn(std::string key, std::string type, std::vector<ResultCell> cells) {
  ResultSet set;
  set.screener = "stocks";
  set.columns.push_back({std::move(key), "Col", std::move(type), false});
  for (ResultCell& c : cells) set.rows.push_back({std::move(c)});
  return set;
}

// The sheetData of the results sheet without its header row.
std::string DataRows(const ResultSet& set) {
  const std::string xml = ResultsSheetXml(set);
  const std::size_t start = xml.find("</row>") + 6;
  const std::size_t end = xml.find("</sheetData>");
  return xml.substr(start, end - start);
}

TEST(XlsxParts, ContentTypes) {
  const std::string sheet =
      "\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
      "worksheet+xml\"/>";
  EXPECT_EQ(ContentTypesXml(),
            kDecl +
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" "
                "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet1.xml" +
                sheet + "<Override PartName=\"/xl/worksheets/sheet2.xml" + sheet +
                "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/"
                "vnd.openxmlformats-package.core-properties+xml\"/></Types>");
}

TEST(XlsxParts, Relationships) {
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
      "2006/relationships\">";
  EXPECT_EQ(PackageRelsXml(),
            kDecl + rels + "<Relationship Id=\"rId1\" Type=\"" + kRelNs +
                "/officeDocument\" Target=\"xl/workbook.xml\"/><Relationship Id=\"rId2\" "
                "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                "core-properties\" Target=\"docProps/core.xml\"/></Relationships>");
  EXPECT_EQ(WorkbookRelsXml(),
            kDecl + rels + "<Relationship Id=\"rId1\" Type=\"" + kRelNs +
                "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                "Type=\"" +
                kRelNs + "/worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship " +
                "Id=\"rId3\" Type=\"" + kRelNs + "/styles\" Target=\"styles.xml\"/>" +
                "</Relationships>");
}

TEST(XlsxParts, CoreProperties) {
  ResultSet set;
  set.screener = "etfs";
  set.asof = "2024-05-03";
  EXPECT_EQ(CorePropertiesXml(set, "2024-05-03T14:07:09Z"),
            kDecl +
                "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
                "metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                "<dc:title>ETF screener 2024-05-03</dc:title><dc:creator>Velquist</dc:creator>"
                "<dc:description>Screener results from " +
                std::string(SiteHost) +
                "</dc:description><dcterms:created xsi:type=\"dcterms:W3CDTF\">"
                "2024-05-03T14:07:09Z</dcterms:created></cp:coreProperties>");
  EXPECT_NE(CorePropertiesXml(set, "<&>").find(">&lt;&amp;&gt;</dcterms:created>"),
            std::string::npos);
}

TEST(XlsxParts, WorkbookNamesTheFilterRange) {
  ResultSet set;
  set.screener = "stocks";
  set.columns.assign(12, {"k", "K", "num", false});
  set.rows.assign(250, ResultRow(12));
  EXPECT_EQ(WorkbookXml(set),
            kDecl + "<workbook xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs +
                "\"><bookViews><workbookView xWindow=\"0\" yWindow=\"0\" "
                "windowWidth=\"20000\" windowHeight=\"12000\" activeTab=\"0\"/></bookViews>"
                "<sheets><sheet name=\"Stocks\" sheetId=\"1\" r:id=\"rId1\"/>"
                "<sheet name=\"About\" sheetId=\"2\" r:id=\"rId2\"/></sheets><definedNames>"
                "<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" hidden=\"1\">"
                "Stocks!$A$1:$L$251</definedName></definedNames></workbook>");
  set.screener = "etfs";
  set.columns.resize(1);
  set.rows.clear();
  EXPECT_NE(WorkbookXml(set).find(">ETFs!$A$1:$A$1<"), std::string::npos);
}

// The cellXfs list as (number format, font, fill, border) per index.
TEST(XlsxParts, StylesHoldTheFifteenCellFormats) {
  const std::string xml = StylesXml();
  const int table[15][4] = {{0, 0, 0, 0},   {0, 1, 2, 1},   {0, 0, 0, 0}, {164, 0, 0, 0},
                            {165, 0, 0, 0}, {10, 0, 0, 0},  {4, 0, 0, 0}, {3, 0, 0, 0},
                            {166, 0, 0, 0}, {167, 0, 0, 0}, {0, 2, 0, 0}, {2, 0, 0, 0},
                            {0, 1, 2, 1},   {0, 3, 0, 0},   {0, 1, 0, 0}};
  std::size_t at = xml.find("<cellXfs count=\"15\">");
  ASSERT_NE(at, std::string::npos);
  for (int i = 0; i < 15; ++i) {
    at = xml.find("<xf ", at + 1);
    const std::string expected = "<xf numFmtId=\"" + std::to_string(table[i][0]) + "\" fontId=\"" +
                                 std::to_string(table[i][1]) + "\" fillId=\"" +
                                 std::to_string(table[i][2]) + "\" borderId=\"" +
                                 std::to_string(table[i][3]) + "\" xfId=\"0\"";
    EXPECT_EQ(xml.substr(at, expected.size()), expected) << i;
    const std::string xf = xml.substr(at, xml.find('>', at) - at);
    EXPECT_EQ(xf.find("applyNumberFormat") != std::string::npos, table[i][0] != 0) << i;
    EXPECT_EQ(xf.find("applyFont") != std::string::npos, table[i][1] != 0) << i;
    EXPECT_EQ(xf.find("applyFill") != std::string::npos, table[i][2] != 0) << i;
    EXPECT_EQ(xf.find("applyBorder") != std::string::npos, table[i][3] != 0) << i;
    EXPECT_EQ(xf.find("applyAlignment") != std::string::npos, i == 12) << i;
  }
  EXPECT_NE(xml.find("<alignment horizontal=\"right\"/></xf><xf numFmtId=\"0\" fontId=\"3\""),
            std::string::npos);
  EXPECT_NE(xml.find("<numFmt numFmtId=\"167\" formatCode=\"0.0&quot;x&quot;\"/>"),
            std::string::npos);
  EXPECT_EQ(xml.find("\n"), kDecl.size() - 1);
  EXPECT_EQ(xml.find("\n", kDecl.size()), std::string::npos);
}

TEST(XlsxSheet, OneColumnNoRows) {
  ResultSet set = OneColumn("s", "str", {});
  set.columns[0].label = "Symbol";
  EXPECT_EQ(ResultsSheetXml(set),
            kDecl + "<worksheet xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs +
                "\"><dimension ref=\"A1:A1\"/><sheetViews><sheetView workbookViewId=\"0\" "
                "tabSelected=\"1\"><pane xSplit=\"1\" ySplit=\"1\" topLeftCell=\"B2\" "
                "activePane=\"bottomRight\" state=\"frozen\"/><selection pane=\"topRight\"/>"
                "<selection pane=\"bottomLeft\"/><selection pane=\"bottomRight\" activeCell=\"B2\" "
                "sqref=\"B2\"/></sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>"
                "<cols><col min=\"1\" max=\"1\" width=\"10\" customWidth=\"1\"/></cols><sheetData>"
                "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\" s=\"1\"><is><t xml:space=\"preserve\">"
                "Symbol</t></is></c></row></sheetData><autoFilter ref=\"A1:A1\"/>"
                "<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.75\" bottom=\"0.75\" "
                "header=\"0.3\" footer=\"0.3\"/></worksheet>");
}

TEST(XlsxSheet, LastColumnLetters) {
  for (auto [count, ref] : std::vector<std::pair<std::size_t, std::string>>{
           {26, "A1:Z4"}, {27, "A1:AA4"}, {64, "A1:BL4"}, {128, "A1:DX4"}}) {
    ResultSet set;
    set.columns.assign(count, {"k", "K", "num", false});
    set.rows.assign(3, ResultRow(count));
    const std::string xml = ResultsSheetXml(set);
    EXPECT_NE(xml.find("<dimension ref=\"" + ref + "\"/>"), std::string::npos) << count;
    EXPECT_NE(xml.find("<autoFilter ref=\"" + ref + "\"/>"), std::string::npos) << count;
  }
}

TEST(XlsxSheet, NumberCellsByType) {
  struct Case {
    std::string_view type;
    double value;
    std::string_view cell;
  };
  const Case cases[] = {
      {"pct", 12.5, "<c r=\"A2\" s=\"5\"><v>0.125</v></c>"},
      {"pct", -3, "<c r=\"A2\" s=\"5\"><v>-0.03</v></c>"},
      {"money", 2.5e12, "<c r=\"A2\" s=\"3\"><v>2500000000000</v></c>"},
      {"price", 0.1, "<c r=\"A2\" s=\"4\"><v>0.1</v></c>"},
      {"num", 1.0 / 3, "<c r=\"A2\" s=\"6\"><v>0.3333333333333333</v></c>"},
      {"int", 42, "<c r=\"A2\" s=\"7\"><v>42</v></c>"},
      {"cnt", 7, "<c r=\"A2\" s=\"7\"><v>7</v></c>"},
      {"lev", 1.5, "<c r=\"A2\" s=\"9\"><v>1.5</v></c>"},
      {"score", 4.25, "<c r=\"A2\" s=\"11\"><v>4.25</v></c>"},
      {"date", 45000, "<c r=\"A2\" s=\"0\"><v>45000</v></c>"},
      {"sig", 1, "<c r=\"A2\" s=\"0\"><v>1</v></c>"},
      {"whatever", 1e21, "<c r=\"A2\" s=\"0\"><v>1e+21</v></c>"},
  };
  for (const Case& c : cases) {
    const ResultSet set = OneColumn("k", std::string(c.type), {Number(c.value)});
    EXPECT_EQ(DataRows(set), "<row r=\"2\">" + std::string(c.cell) + "</row>") << c.type;
  }
}

TEST(XlsxSheet, TextCells) {
  struct Case {
    std::string_view key;
    std::string_view type;
    std::string_view text;
    std::string cell;
  };
  const std::string link = std::string(SiteOrigin) + "/stocks/brk.b.html?src=vqs";
  const Case cases[] = {
      {"d", "date", "2024-05-03", "<c r=\"A2\" s=\"8\"><v>45415</v></c>"},
      {"d", "date", "2024-5-3",
       "<c r=\"A2\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">2024-5-3</t></is></c>"},
      {"s", "str", "BRK.B",
       "<c r=\"A2\" t=\"str\" s=\"10\"><f>HYPERLINK(&quot;" + link +
           "&quot;,&quot;BRK.B&quot;)</f><v>BRK.B</v></c>"},
      {"s", "str", "A B",
       "<c r=\"A2\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">A B</t></is></c>"},
      {"sym", "str", "BRK.B",
       "<c r=\"A2\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">BRK.B</t></is></c>"},
      {"n", "num", "n/a",
       "<c r=\"A2\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">n/a</t></is></c>"},
      {"n", "str", "a&b\t<\x01\xEF\xBF\xBE",
       "<c r=\"A2\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">a&amp;b\t&lt;  "
       "</t></is></c>"},
  };
  for (const Case& c : cases) {
    const ResultSet set =
        OneColumn(std::string(c.key), std::string(c.type), {Text(std::string(c.text))});
    EXPECT_EQ(DataRows(set), "<row r=\"2\">" + c.cell + "</row>") << c.text;
  }
}

TEST(XlsxSheet, SymbolLinksOnlyInTheFirstColumn) {
  ResultSet set;
  set.screener = "etfs";
  set.columns = {{"n", "Name", "str", false}, {"s", "Symbol", "str", false}};
  set.rows = {{Text("Fund"), Text("SPY")}};
  EXPECT_EQ(DataRows(set).find("HYPERLINK"), std::string::npos);
  std::swap(set.columns[0], set.columns[1]);
  std::swap(set.rows[0][0], set.rows[0][1]);
  EXPECT_NE(DataRows(set).find("/etfs/spy.html?src=vqs"), std::string::npos);
}

TEST(XlsxSheet, MissingCellsAreLeftOutAndRowsNumbered) {
  ResultSet set;
  set.columns = {{"a", "A", "num", false}, {"b", "B", "num", false}};
  set.rows = {{ResultCell{}, Number(1)}, {ResultCell{}, ResultCell{}}, {Number(2), Number(3)}};
  EXPECT_EQ(DataRows(set),
            "<row r=\"2\"><c r=\"B2\" s=\"6\"><v>1</v></c></row><row r=\"3\"></row>"
            "<row r=\"4\"><c r=\"A4\" s=\"6\"><v>2</v></c><c r=\"B4\" s=\"6\"><v>3</v></c></row>");
}

// A set whose rows differ from each other, so that a row out of place changes the text.
ResultSet MixedRows(std::size_t rows) {
  ResultSet set;
  set.screener = "stocks";
  set.columns = {{"s", "Symbol", "str", false},
                 {"chg", "Change", "pct", true},
                 {"n", "Name & more", "str", false}};
  for (std::size_t r = 0; r < rows; ++r) {
    ResultRow row = {Text("S" + std::to_string(r)), Number(static_cast<double>(r) / 8),
                     Text("<" + std::to_string(r * 7) + ">")};
    if (r % 5 == 3) row[1] = ResultCell{};
    set.rows.push_back(std::move(row));
  }
  return set;
}

TEST(XlsxSheet, RowsWrittenByThreadsJoinInOrder) {
  for (const std::size_t rows : {0, 1, 2, 3, 7, 10, 2501}) {
    const ResultSet set = MixedRows(rows);
    const std::string one = ResultsSheetXml(set, 1);
    // Every row once, numbered in order.
    std::size_t at = 0;
    for (std::size_t r = 1; r <= rows + 1; ++r) {
      const std::string tag = "<row r=\"" + std::to_string(r) + "\">";
      ASSERT_EQ(one.find(tag, at), one.find("<row ", at)) << rows << " rows, row " << r;
      at = one.find(tag, at) + tag.size();
    }
    EXPECT_EQ(one.find("<row ", at), std::string::npos);
    for (const std::size_t threads : {2, 3, 5, 16}) {
      EXPECT_EQ(ResultsSheetXml(set, threads), one) << rows << " rows, " << threads << " threads";
    }
    EXPECT_EQ(ResultsSheetXml(set), one) << rows << " rows";
  }
}

// The pieces that the workbook compresses one by one give the stream of the whole text,
// with its CRC and length.
TEST(XlsxSheet, PiecesCompressedInTurnGiveTheStreamOfTheWholeText) {
  const ResultSet set = MixedRows(30000);
  const std::string one = ResultsSheetXml(set, 1);
  const std::string expected = DeflateFixed(one);
  for (const std::size_t pieces : {1, 2, 3, 8}) {
    SheetPieceWriter sheet(set, pieces);
    std::string out;
    ASSERT_TRUE(AppendDeflateFixed(
        sheet.Pieces(), 2, sheet.SizeBound(), sheet.SizeBound(),
        [&sheet](std::size_t index, std::string& buffer) { return sheet.Write(index, buffer); },
        out))
        << pieces << " pieces";
    EXPECT_TRUE(out == expected) << pieces << " pieces";
    EXPECT_EQ(sheet.Crc(), Crc32(one)) << pieces << " pieces";
    EXPECT_EQ(sheet.Size(), one.size()) << pieces << " pieces";
  }
}

TEST(XlsxSheet, HeaderLabelsAreEscapedAndStyledByType) {
  ResultSet set;
  set.columns = {{"a", "R&D <x>", "str", false},
                 {"b", "Tab\there\x01", "money", false},
                 {"c", "When", "date", false}};
  const std::string xml = ResultsSheetXml(set);
  EXPECT_NE(xml.find("<c r=\"A1\" t=\"inlineStr\" s=\"1\"><is><t xml:space=\"preserve\">"
                     "R&amp;D &lt;x&gt;</t>"),
            std::string::npos);
  EXPECT_NE(xml.find("<c r=\"B1\" t=\"inlineStr\" s=\"12\"><is><t xml:space=\"preserve\">"
                     "Tab\there </t>"),
            std::string::npos);
  EXPECT_NE(xml.find("<c r=\"C1\" t=\"inlineStr\" s=\"12\">"), std::string::npos);
}

std::string AboutRow(const std::string& xml, int row) {
  const std::string open = "<row r=\"" + std::to_string(row) + "\"";
  const std::size_t start = xml.find(open);
  if (start == std::string::npos) return {};
  return xml.substr(start, xml.find("</row>", start) + 6 - start);
}

std::string TextCell(std::string_view ref, int style, std::string_view text) {
  return "<c r=\"" + std::string(ref) + "\" t=\"inlineStr\" s=\"" + std::to_string(style) +
         "\"><is><t xml:space=\"preserve\">" + std::string(text) + "</t></is></c>";
}

TEST(XlsxAbout, RowsOfTheAboutSheet) {
  ResultSet set;
  set.screener = "stocks";
  set.asof = "2024-05-03";
  set.total = 1234;
  set.url = std::string(SiteOrigin) + "/screener.html?x=1#f=2";
  set.columns = {{"s", "Symbol", "str", false}};
  set.rows.assign(50, ResultRow(1));
  const std::string xml = AboutSheetXml(set, "2024-05-03T14:07:09Z");
  EXPECT_EQ(AboutRow(xml, 1), "<row r=\"1\" ht=\"22\" customHeight=\"1\">" +
                                  TextCell("A1", 13, "Stock screener results") + "</row>");
  EXPECT_EQ(AboutRow(xml, 2), "<row r=\"2\"></row>");
  EXPECT_EQ(AboutRow(xml, 3), "<row r=\"3\">" + TextCell("A3", 14, "Screener") +
                                  TextCell("B3", 2, "Stocks") + "</row>");
  EXPECT_EQ(AboutRow(xml, 4), "<row r=\"4\">" + TextCell("A4", 14, "Data as of") +
                                  TextCell("B4", 2, "2024-05-03 market close") + "</row>");
  EXPECT_EQ(AboutRow(xml, 5), "<row r=\"5\">" + TextCell("A5", 14, "Rows") +
                                  TextCell("B5", 2, "50 of 1,234") + "</row>");
  EXPECT_EQ(AboutRow(xml, 6), "<row r=\"6\">" + TextCell("A6", 14, "This screen") +
                                  "<c r=\"B6\" t=\"str\" s=\"10\"><f>HYPERLINK(&quot;" +
                                  std::string(SiteOrigin) +
                                  "/screener.html?src=vqs#f=2&quot;,&quot;Open this screen on " +
                                  std::string(SiteDomain) + "&quot;)</f><v>Open this screen on " +
                                  std::string(SiteDomain) + "</v></c></row>");
  EXPECT_EQ(AboutRow(xml, 7), "<row r=\"7\">" + TextCell("A7", 14, "Data") +
                                  "<c r=\"B7\" t=\"str\" s=\"10\"><f>HYPERLINK(&quot;" +
                                  std::string(SiteOrigin) + "/?src=vqs&quot;,&quot;" +
                                  std::string(SiteHost) + "&quot;)</f><v>" + std::string(SiteHost) +
                                  "</v></c></row>");
  EXPECT_EQ(AboutRow(xml, 8), "<row r=\"8\">" + TextCell("A8", 14, "Exported") +
                                  TextCell("B8", 2, "2024-05-03 14:07 UTC") + "</row>");
  EXPECT_EQ(AboutRow(xml, 9), "<row r=\"9\"></row>");
  EXPECT_EQ(AboutRow(xml, 10),
            "<row r=\"10\">" + TextCell("A10", 14, "Notes") +
                TextCell("B10", 2,
                         "Percentages are stored as numbers (12.5% = 0.125). Money columns "
                         "are in US dollars.") +
                "</row>");
  EXPECT_EQ(AboutRow(xml, 11),
            "<row r=\"11\">" +
                TextCell("B11", 2,
                         "Click a symbol to open its page on " + std::string(SiteDomain) +
                             ". For information only, not investment advice.") +
                "</row>");
  EXPECT_EQ(AboutRow(xml, 12), "<row r=\"12\">" + TextCell("B12", 2, "") + "</row>");
  EXPECT_NE(xml.find("</row></sheetData><pageMargins left=\"0.5\""), std::string::npos);
}

TEST(XlsxAbout, FallbacksWithoutDateTotalOrScreen) {
  ResultSet set;
  set.screener = "etfs";
  set.columns = {{"s", "Symbol", "str", false}};
  set.rows.assign(1234567, ResultRow{});
  std::string xml = AboutSheetXml(set, "now");
  EXPECT_NE(AboutRow(xml, 1).find(">ETF screener results<"), std::string::npos);
  EXPECT_EQ(AboutRow(xml, 3).find(TextCell("B3", 2, "ETFs")) != std::string::npos, true);
  EXPECT_NE(AboutRow(xml, 4).find(TextCell("B4", 2, "-")), std::string::npos);
  EXPECT_NE(AboutRow(xml, 5).find(TextCell("B5", 2, "1,234,567")), std::string::npos);
  EXPECT_NE(AboutRow(xml, 6).find(TextCell("B6", 2, "-")), std::string::npos);
  EXPECT_NE(AboutRow(xml, 8).find(TextCell("B8", 2, "now")), std::string::npos);
  // A screen link too long for a formula is shown as text.
  set.url = std::string(SiteOrigin) + "/screener.html#" + std::string(300, 'f');
  xml = AboutSheetXml(set, "2024-05-03T14:07:09Z");
  const std::string row6 = AboutRow(xml, 6);
  EXPECT_EQ(row6.find("HYPERLINK"), std::string::npos);
  EXPECT_NE(row6.find("<c r=\"B6\" t=\"inlineStr\" s=\"2\"><is><t xml:space=\"preserve\">" +
                      std::string(SiteOrigin) + "/screener.html?src=vqs#fff"),
            std::string::npos);
  // A URL on another site gives no link.
  set.url = "https://elsewhere.example/screener.html";
  EXPECT_NE(AboutRow(AboutSheetXml(set, ""), 6).find(TextCell("B6", 2, "-")), std::string::npos);
}

// Reads the entries of an archive whose entries are stored or deflated, inflating with zlib.
std::vector<std::pair<std::string, std::string>> Unzip(const std::string& zip) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::size_t at = 0;
  auto u16 = [&](std::size_t p) {
    return static_cast<unsigned>(static_cast<unsigned char>(zip[p])) |
           (static_cast<unsigned>(static_cast<unsigned char>(zip[p + 1])) << 8);
  };
  auto u32 = [&](std::size_t p) { return u16(p) | (u16(p + 2) << 16); };
  while (at + 30 <= zip.size() && u32(at) == 0x04034B50u) {
    const unsigned method = u16(at + 8);
    const std::size_t csize = u32(at + 18), size = u32(at + 22), nlen = u16(at + 26);
    std::string name = zip.substr(at + 30, nlen);
    std::string data = zip.substr(at + 30 + nlen, csize);
    if (method == 8) {
      std::string out(size, '\0');
      z_stream z{};
      inflateInit2(&z, -15);
      z.next_in = reinterpret_cast<Bytef*>(data.data());
      z.avail_in = static_cast<uInt>(data.size());
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = static_cast<uInt>(out.size());
      EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
      inflateEnd(&z);
      data = out;
    }
    entries.emplace_back(name, data);
    at += 30 + nlen + csize;
  }
  return entries;
}

TEST(XlsxWorkbook, EntriesAreThePartsInDocumentOrder) {
  ResultSet set;
  set.screener = "stocks";
  set.asof = "2024-05-03";
  set.columns = {{"s", "Symbol", "str", false}, {"p", "Price", "price", false}};
  for (int i = 0; i < 300; ++i) set.rows.push_back({Text("AAPL"), Number(i * 1.25)});
  const std::string ts = "2024-05-03T14:07:09Z";
  const auto entries = Unzip(BuildXlsxWorkbook(set, ts));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"[Content_Types].xml", ContentTypesXml()},
      {"_rels/.rels", PackageRelsXml()},
      {"docProps/core.xml", CorePropertiesXml(set, ts)},
      {"xl/workbook.xml", WorkbookXml(set)},
      {"xl/_rels/workbook.xml.rels", WorkbookRelsXml()},
      {"xl/styles.xml", StylesXml()},
      {"xl/worksheets/sheet1.xml", ResultsSheetXml(set)},
      {"xl/worksheets/sheet2.xml", AboutSheetXml(set, ts)},
  };
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i].first, expected[i].first);
    EXPECT_TRUE(entries[i].second == expected[i].second) << expected[i].first;
  }
}

TEST(XlsxWorkbook, SetWithoutColumnsGetsASymbolColumn) {
  ResultSet set;
  set.screener = "stocks";
  const auto entries = Unzip(BuildXlsxWorkbook(set, "2024-05-03T14:07:09Z"));
  ASSERT_EQ(entries.size(), 8u);
  const std::string& sheet = entries[6].second;
  EXPECT_NE(sheet.find("<dimension ref=\"A1:A1\"/>"), std::string::npos);
  EXPECT_NE(sheet.find(">Symbol</t>"), std::string::npos);
  EXPECT_NE(entries[3].second.find(">Stocks!$A$1:$A$1<"), std::string::npos);
}

}  // namespace
}  // namespace velquist
