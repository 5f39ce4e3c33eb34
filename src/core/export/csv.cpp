#include "export/csv.h"

#include "results/format.h"

namespace velquist {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view RecordEnd = "\r\n";

// A spreadsheet program reads a cell starting with one of these as a formula (or, for the
// whitespace bytes, strips them and then may); the apostrophe makes it plain text.
bool NeedsFormulaGuard(std::string_view text) {
  return !text.empty() &&
         std::string_view("=+-@\t\r\n").find(text.front()) != std::string_view::npos;
}

void AppendField(std::string& out, std::string_view text, CsvDialect dialect) {
  const bool guard = dialect == CsvDialect::ExcelCsv && NeedsFormulaGuard(text);
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (quote) out.push_back('"');
  if (guard) out.push_back('\'');
  if (!quote) {
    out.append(text);
    return;
  }
  for (const char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

void AppendHeader(std::string& out, const ResultSet& set, CsvDialect dialect) {
  for (std::size_t i = 0; i < set.columns.size(); ++i) {
    if (i > 0) out.push_back(',');
    const ResultColumn& column = set.columns[i];
    if (column.type == "pct") {
      AppendField(out, column.label + " (%)", dialect);
    } else {
      AppendField(out, column.label, dialect);
    }
  }
  out.append(RecordEnd);
}

void AppendRow(std::string& out, const ResultRow& row, CsvDialect dialect) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) out.push_back(',');
    const ResultCell& cell = row[i];
    if (cell.kind == CellKind::Number) {
      AppendShortestReal(out, cell.number);
    } else if (cell.kind == CellKind::Text) {
      AppendField(out, cell.text, dialect);
    }
  }
  out.append(RecordEnd);
}

}  // namespace

std::string WriteCsv(const ResultSet& set, CsvDialect dialect) {
  std::string out;
  // A first guess of the size that keeps regrowth rare for typical cells.
  out.reserve(4096 + set.rows.size() * (set.columns.size() * 10 + 2));
  if (dialect == CsvDialect::ExcelCsv) out.append(ByteOrderMark);
  AppendHeader(out, set, dialect);
  for (const ResultRow& row : set.rows) AppendRow(out, row, dialect);
  return out;
}

std::string CsvField(std::string_view text, CsvDialect dialect) {
  std::string out;
  AppendField(out, text, dialect);
  return out;
}

}  // namespace velquist
