#include "print/report.h"

#include "print/html_escape.h"
#include "print/page_margins.h"
#include "results/format.h"
#include "results/out_of_memory.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::string_view Head =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
    // No scripts, images, fonts or connections: only the inline style sheet.
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "style-src 'unsafe-inline'\"><meta name=\"color-scheme\" content=\"light\">";

constexpr std::string_view StyleSheet =
    "*{box-sizing:border-box}"
    "html{color-scheme:light;-webkit-print-color-adjust:exact;print-color-adjust:exact}"
    "body{margin:0;font:8.5pt/1.35 'Segoe UI',Arial,sans-serif;color:#111;background:#fff}"
    "body.dense{font-size:7.5pt}"
    "h1{font-size:15pt;font-weight:600;margin:0 0 2pt}"
    ".meta{color:#444;margin:0 0 1pt}"
    ".meta a,.note a{color:#1d4ed8;text-decoration:none}"
    "table{border-collapse:collapse;width:100%;margin-top:8pt}"
    "thead{display:table-header-group}"
    "tr{break-inside:avoid;page-break-inside:avoid}"
    "th{font-weight:600;text-align:left;vertical-align:bottom;border-bottom:1.2pt solid #333;"
    "padding:2pt 5pt}"
    "td{padding:1.5pt 5pt;border-bottom:.5pt solid #e3e6eb;white-space:nowrap}"
    "tbody tr:nth-child(even){background:#f4f6f9}"
    "th.n,td.n{text-align:right}"
    "td.s{font-weight:600}"
    "td.s a{color:#1d4ed8;text-decoration:none}"
    "td.x{color:#999}"
    ".up{color:#15803d}"
    ".dn{color:#b91c1c}"
    ".cut{max-width:20em;overflow:hidden;text-overflow:ellipsis}"
    ".note{color:#555;margin-top:8pt}"
    ".hint{display:none}"
    "@media screen{body{padding:18px 28px 28px}"
    ".hint{display:block;margin:0 0 14px;padding:8px 12px;background:#fff8e1;"
    "border:1px solid #f0d78c;border-radius:4px;font-size:9.5pt;color:#5b4a00}}";

constexpr std::string_view MiddleDot = " \xC2\xB7 ";
constexpr std::string_view EnDash = "\xE2\x80\x93";

constexpr std::size_t DenseAbove = 12;  // columns

void AppendPageRules(std::string& out, const ResultSet& set, std::string_view title) {
  const PageMarginTexts texts = ReportMarginTexts(set, title);
  const std::string font = ";" + MarginTextCss() + "}";
  out += "@page{" + PageMarginCss() + ";";
  if (IsLandscapeReport(set)) out += "size:landscape;";
  out += "@top-left{content:" + CssString(texts.topLeft);
  out += font;
  out += "@top-right{content:" + CssString(texts.topRight);
  out += font;
  // A bullet between host and name; the space after \2022 ends the escape, the next shows.
  std::string footer = CssString(std::string(SiteHost) + " ");
  footer.insert(footer.size() - 1, "\\2022  Velquist");
  out += "@bottom-left{content:" + footer;
  out += font;
  out += "@bottom-right{content:\"Page \" counter(page) \" of \" counter(pages)";
  out += font;
  out += "}@page :first{@top-left{content:\"\"}@top-right{content:\"\"}}";
}

void AppendMeta(std::string& out, const ResultSet& set, std::string_view printedTime) {
  out += "<p class=\"meta\">";
  AppendHtmlEscaped(out, PrintCountText(set));
  if (!set.asof.empty()) {
    out += MiddleDot;
    out += "Data as of ";
    AppendHtmlEscaped(out, set.asof);
    out += " market close";
  }
  if (!printedTime.empty()) {
    out += MiddleDot;
    out += "Printed ";
    AppendHtmlEscaped(out, printedTime);
  }
  out += "</p>";
  const std::string link = ScreenLinkUrl(set.url);
  if (link.empty()) return;
  std::string_view shown = std::string_view(link).substr(link.size() < 8 ? link.size() : 8);
  shown = shown.substr(0, shown.find_first_of("?#"));
  out += "<p class=\"meta\">Screen: <a href=\"";
  AppendHtmlEscaped(out, link);
  out += "\">";
  AppendHtmlEscaped(out, shown);
  out += "</a></p>";
}

void AppendTableHead(std::string& out, const ResultSet& set) {
  out += "<table><thead><tr>";
  for (const ResultColumn& column : set.columns) {
    out += IsPrintNumericType(column.type) ? "<th class=\"n\">" : "<th>";
    AppendHtmlEscaped(out, column.label);
    out += "</th>";
  }
  out += "</tr></thead><tbody>\n";
}

void AppendSymbolCell(std::string& out, const ResultSet& set, const std::string& text) {
  out += "<td class=\"s\">";
  const std::string url = SymbolPageUrl(set, text);
  if (url.empty()) {
    AppendHtmlEscaped(out, text);
  } else {
    out += "<a href=\"";
    AppendHtmlEscaped(out, url);
    out += "\">";
    AppendHtmlEscaped(out, text);
    out += "</a>";
  }
  out += "</td>";
}

// The class list of a value cell: "n" for numbers and dates, then the colour of a signed
// change or a signal.
std::string_view ValueCellClasses(const ResultCell& cell, const ResultColumn& column,
                                  std::string_view text) {
  const bool number = cell.kind == CellKind::Number;
  const std::string_view base = number || column.type == "date" ? "n" : "";
  if (number && column.type == "pct" && column.isSigned && text != "0.00%") {
    if (cell.number > 0) return "n up";
    if (cell.number < 0) return "n dn";
  }
  if (cell.kind == CellKind::Text && column.type == "sig") {
    return text == "Golden cross" ? "up" : "dn";
  }
  return base;
}

void AppendValueCell(std::string& out, const ResultCell& cell, const ResultColumn& column,
                     std::size_t index, std::string_view text) {
  const std::string_view classes = ValueCellClasses(cell, column, text);
  if (classes.empty()) {
    out += "<td>";
  } else {
    out += "<td class=\"";
    out += classes;
    out += "\">";
  }
  // Long names in the second column are cut with an ellipsis rather than widening the page.
  const bool cut = cell.kind == CellKind::Text && index == 1 && classes.substr(0, 1) != "n";
  if (cut) out += "<div class=\"cut\">";
  AppendHtmlEscaped(out, text);
  if (cut) out += "</div>";
  out += "</td>";
}

void AppendRows(std::string& out, const ResultSet& set) {
  // Only a symbol column in first place links to the symbols' pages.
  const bool linkSymbols = !set.columns.empty() && set.columns[0].key == "s";
  for (const ResultRow& row : set.rows) {
    out += "<tr>";
    const std::size_t n = row.size() < set.columns.size() ? row.size() : set.columns.size();
    for (std::size_t i = 0; i < n; ++i) {
      const ResultCell& cell = row[i];
      if (cell.kind == CellKind::Missing) {
        out += "<td class=\"x\">";
        out += EnDash;
        out += "</td>";
        continue;
      }
      const std::string text = FormatPrintValue(cell, set.columns[i]);
      if (i == 0 && linkSymbols && cell.kind == CellKind::Text) {
        AppendSymbolCell(out, set, text);
      } else {
        AppendValueCell(out, cell, set.columns[i], i, text);
      }
    }
    out += "</tr>\n";
  }
}

}  // namespace

std::string PrintDisplayTitle(const ResultSet& set, std::string_view title) {
  if (!title.empty()) return std::string(title);
  return set.screener == "etfs" ? "ETF screener" : "Stock screener";
}

std::string PrintCountText(const ResultSet& set) {
  const auto rows = static_cast<std::int64_t>(set.rows.size());
  std::string text = FormatGroupedInteger(rows);
  if (set.total > 0) text += " of " + FormatGroupedInteger(set.total);
  const bool one = rows == 1 && set.total <= 1;
  if (set.screener == "etfs") {
    text += one ? " ETF" : " ETFs";
  } else {
    text += one ? " stock" : " stocks";
  }
  return text;
}

std::string BuildPrintReport(const ResultSet& set, std::string_view title,
                             std::string_view printedTime) {
  const std::size_t n = set.columns.size();
  const std::string displayTitle = PrintDisplayTitle(set, title);
  std::string out;
  out.reserve((n * 28 + 16) * set.rows.size() + 4096);
  out += Head;
  out += "<title>";
  AppendHtmlEscaped(out, set.asof.empty() ? displayTitle : displayTitle + " " + set.asof);
  out += "</title><style>";
  out += StyleSheet;
  AppendPageRules(out, set, title);
  out += "</style></head>";
  out += n > DenseAbove ? "<body class=\"dense\">" : "<body>";
  out +=
      "<p class=\"hint\">The print preview opens by itself. Press Ctrl+P to open it again, or "
      "Ctrl+W to close this window.</p>";
  out += "<h1>";
  AppendHtmlEscaped(out, displayTitle);
  out += "</h1>";
  AppendMeta(out, set, printedTime);
  AppendTableHead(out, set);
  AppendRows(out, set);
  out += "</tbody></table>";
  out += "<p class=\"note\">Data: <a href=\"";
  out += SiteOrigin;
  out += "/?src=vqs\">";
  AppendHtmlEscaped(out, SiteHost);
  out += "</a>. For information only, not investment advice. </p>";
  out += "</body></html>\n";
  return out;
}

bool BuildPrintReport(const ResultSet& set, std::string_view title, std::string_view printedTime,
                      std::string& html) {
  return BuildWithinMemory(html, [&] { return BuildPrintReport(set, title, printedTime); });
}

}  // namespace velquist
