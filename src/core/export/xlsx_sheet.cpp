// The results sheet, the one big part of the workbook: written straight into one buffer
// reserved up front for the worst case, so that it is never copied while it grows.
#include <array>
#include <charconv>

#include "export/xlsx_cells.h"
#include "export/xlsx_constants.h"
#include "export/xlsx_layout.h"
#include "export/xlsx_parts.h"
#include "export/xml_escape.h"
#include "results/format.h"
#include "site_constants.h"

namespace velquist {
namespace {

// What every cell of a column needs, worked out once per column.
struct ColumnPlan {
  std::string letters;
  int numberStyle = kStyleGeneral;
  bool percent = false;      // stored as a fraction: 12.5 becomes 0.125
  bool date = false;         // YYYY-MM-DD texts become day serials
  bool symbolLinks = false;  // the symbol column links to each symbol's page
};

std::vector<ColumnPlan> PlanColumns(const ResultSet& set) {
  std::vector<ColumnPlan> plans(set.columns.size());
  for (std::size_t i = 0; i < plans.size(); ++i) {
    const ResultColumn& col = set.columns[i];
    plans[i].letters = ColumnLetters(i);
    plans[i].numberStyle = NumberStyle(col.type);
    plans[i].percent = col.type == "pct";
    plans[i].date = col.type == "date";
    plans[i].symbolLinks = i == 0 && col.key == "s";
  }
  return plans;
}

// An upper bound of the sheet's length: every byte of text may become a six-byte entity,
// and a link cell holds its text three times and the url twice, quotes doubled.
std::size_t SheetXmlBound(const ResultSet& set, const std::vector<ColumnPlan>& plans) {
  const std::size_t urlBound = SiteOrigin.size() + 64;
  std::size_t bound = 4096;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    bound += 160 + plans[i].letters.size() + 6 * set.columns[i].label.size();
  }
  for (const ResultRow& row : set.rows) {
    bound += 48;
    for (std::size_t i = 0; i < row.size() && i < plans.size(); ++i) {
      const std::size_t ref = plans[i].letters.size() + 20;
      if (row[i].kind == CellKind::Number) {
        bound += 56 + ref;
      } else if (row[i].kind == CellKind::Text) {
        const std::size_t len = row[i].text.size();
        bound += 80 + ref + 6 * len;
        if (plans[i].symbolLinks) bound += 96 + 12 * (urlBound + len);
      }
    }
  }
  return bound;
}

void AppendCols(std::string& out, const std::vector<int>& widths) {
  out += "<cols>";
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    out += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + std::to_string(widths[i]) +
           "\" customWidth=\"1\"/>";
  }
  out += "</cols>";
}

void AppendHeaderRow(std::string& out, const ResultSet& set, const std::vector<ColumnPlan>& plans) {
  out += "<row r=\"1\">";
  for (std::size_t i = 0; i < plans.size(); ++i) {
    AppendInlineStringCell(out, {plans[i].letters, "1"}, HeaderStyle(set.columns[i].type),
                           set.columns[i].label);
  }
  out += "</row>";
}

// Hot loop: one data row; Missing cells are left out.
void AppendDataRow(std::string& out, const ResultSet& set, const std::vector<ColumnPlan>& plans,
                   const ResultRow& row, std::size_t rowNumber) {
  std::array<char, 24> digits{};
  const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), rowNumber);
  const std::string_view rowText(digits.data(), static_cast<std::size_t>(res.ptr - digits.data()));
  out += "<row r=\"";
  out += rowText;
  out += "\">";
  const std::size_t cells = std::min(row.size(), plans.size());
  for (std::size_t i = 0; i < cells; ++i) {
    const ResultCell& cell = row[i];
    const ColumnPlan& plan = plans[i];
    const CellRef ref{plan.letters, rowText};
    if (cell.kind == CellKind::Number) {
      if (plan.percent) {
        AppendNumberCell(out, ref, kStylePercent, cell.number / 100);
      } else {
        AppendNumberCell(out, ref, plan.numberStyle, cell.number);
      }
    } else if (cell.kind == CellKind::Text) {
      double serial = 0;
      if (plan.symbolLinks) {
        AppendLinkCell(out, ref, SymbolPageUrl(set, cell.text), cell.text);
      } else if (plan.date && IsoDateToSerial(cell.text, serial)) {
        AppendNumberCell(out, ref, kStyleDate, serial);
      } else {
        AppendInlineStringCell(out, ref, kStyleText, cell.text);
      }
    }
  }
  out += "</row>";
}

}  // namespace

std::string ResultsSheetXml(const ResultSet& set) {
  const std::vector<ColumnPlan> plans = PlanColumns(set);
  const std::string lastCell =
      ColumnLetters(set.columns.size() - 1) + std::to_string(set.rows.size() + 1);
  std::string out;
  out.reserve(SheetXmlBound(set, plans));
  out += kXmlDeclaration;
  AppendSpreadsheetRoot(out, "worksheet");
  out += "><dimension ref=\"A1:" + lastCell + "\"/>";
  // The header row and the first column stay in view.
  out +=
      "<sheetViews><sheetView workbookViewId=\"0\" tabSelected=\"1\">"
      "<pane xSplit=\"1\" ySplit=\"1\" topLeftCell=\"B2\" activePane=\"bottomRight\" "
      "state=\"frozen\"/><selection pane=\"topRight\"/><selection pane=\"bottomLeft\"/>"
      "<selection pane=\"bottomRight\" activeCell=\"B2\" sqref=\"B2\"/></sheetView></sheetViews>"
      "<sheetFormatPr defaultRowHeight=\"15\"/>";
  AppendCols(out, ColumnWidths(set));
  out += "<sheetData>";
  AppendHeaderRow(out, set, plans);
  for (std::size_t k = 0; k < set.rows.size(); ++k) {
    AppendDataRow(out, set, plans, set.rows[k], k + 2);
  }
  out += "</sheetData><autoFilter ref=\"A1:" + lastCell + "\"/>";
  out += kPageMargins;
  out += "</worksheet>";
  return out;
}

}  // namespace velquist
