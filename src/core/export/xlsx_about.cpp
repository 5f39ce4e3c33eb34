// The About sheet: what was exported, from where and when, and how to read it.
#include "export/xlsx_cells.h"
#include "export/xlsx_constants.h"
#include "export/xlsx_layout.h"
#include "export/xlsx_parts.h"
#include "results/format.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::size_t kMaxLinkLength = 255;

// "2024-05-03T14:07:09Z" reads "2024-05-03 14:07 UTC"; shorter texts stay as they are.
std::string ExportedText(std::string_view timestamp) {
  if (timestamp.size() < 16) return std::string(timestamp);
  std::string text(timestamp.substr(0, 10));
  text += ' ';
  text += timestamp.substr(11, 5);
  text += " UTC";
  return text;
}

std::string RowsText(const ResultSet& set) {
  std::string text = FormatGroupedInteger(static_cast<std::int64_t>(set.rows.size()));
  if (set.total > 0) text += " of " + FormatGroupedInteger(set.total);
  return text;
}

void BeginRow(std::string& out, std::string_view row) {
  out += "<row r=\"";
  out += row;
  out += "\">";
}

// Row n with a bold label in column A (when there is one) and a text value in column B.
void AppendTextRow(std::string& out, std::string_view row, std::string_view label,
                   std::string_view value) {
  BeginRow(out, row);
  if (!label.empty()) AppendInlineStringCell(out, {"A", row}, kStyleLabel, label);
  AppendInlineStringCell(out, {"B", row}, kStyleText, value);
  out += "</row>";
}

void AppendLinkRow(std::string& out, std::string_view row, std::string_view label,
                   std::string_view url, std::string_view text) {
  BeginRow(out, row);
  AppendInlineStringCell(out, {"A", row}, kStyleLabel, label);
  AppendLinkCell(out, {"B", row}, url, text);
  out += "</row>";
}

void AppendEmptyRow(std::string& out, std::string_view row) {
  BeginRow(out, row);
  out += "</row>";
}

void AppendScreenRow(std::string& out, const ResultSet& set) {
  const std::string link = ScreenLinkUrl(set.url);
  if (link.empty()) {
    AppendTextRow(out, "6", "This screen", "-");
  } else if (link.size() > kMaxLinkLength) {
    AppendTextRow(out, "6", "This screen", link);
  } else {
    AppendLinkRow(out, "6", "This screen", link, "Open this screen on " + std::string(SiteDomain));
  }
}

}  // namespace

std::string AboutSheetXml(const ResultSet& set, std::string_view timestamp) {
  const bool etfs = set.screener == "etfs";
  std::string out(kXmlDeclaration);
  AppendSpreadsheetRoot(out, "worksheet");
  out +=
      "><cols><col min=\"1\" max=\"1\" width=\"16\" customWidth=\"1\"/>"
      "<col min=\"2\" max=\"2\" width=\"90\" customWidth=\"1\"/></cols><sheetData>"
      "<row r=\"1\" ht=\"22\" customHeight=\"1\">";
  AppendInlineStringCell(out, {"A", "1"}, kStyleTitle,
                         etfs ? "ETF screener results" : "Stock screener results");
  out += "</row>";
  AppendEmptyRow(out, "2");
  AppendTextRow(out, "3", "Screener", SheetName(set));
  AppendTextRow(out, "4", "Data as of", set.asof.empty() ? "-" : set.asof + " market close");
  AppendTextRow(out, "5", "Rows", RowsText(set));
  AppendScreenRow(out, set);
  AppendLinkRow(out, "7", "Data", std::string(SiteOrigin) + "/?src=vqs", SiteHost);
  AppendTextRow(out, "8", "Exported", ExportedText(timestamp));
  AppendEmptyRow(out, "9");
  AppendTextRow(out, "10", "Notes",
                "Percentages are stored as numbers (12.5% = 0.125). Money columns are in US "
                "dollars.");
  AppendTextRow(out, "11", "",
                "Click a symbol to open its page on " + std::string(SiteDomain) +
                    ". For information only, not investment advice.");
  AppendTextRow(out, "12", "", "");
  out += "</sheetData>";
  out += kPageMargins;
  out += "</worksheet>";
  return out;
}

}  // namespace velquist
