// The results sheet, the one big part of the workbook. The rows of a large sheet are cut
// into pieces of a few MB, which the compressor's threads write in turn, each thread into a
// buffer of its own that it reuses, and compress as soon as they are written: the whole
// text is never held at once.
#include <algorithm>
#include <array>
#include <charconv>
#include <thread>
#include <vector>

#include "export/crc32.h"
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

// Upper bounds of the sheet's length: every byte of text may become a six-byte entity,
// and a link cell holds its text three times and the url twice, quotes doubled. The
// first is for everything but the data rows, the second for the rows [from, to).
std::size_t SheetFrameBound(const ResultSet& set, const std::vector<ColumnPlan>& plans) {
  std::size_t bound = 4096;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    bound += 160 + plans[i].letters.size() + 6 * set.columns[i].label.size();
  }
  return bound;
}

std::size_t SheetRowsBound(const ResultSet& set, const std::vector<ColumnPlan>& plans,
                           std::size_t from, std::size_t to) {
  const std::size_t urlBound = SiteOrigin.size() + 64;
  std::size_t bound = 0;
  for (std::size_t k = from; k < to; ++k) {
    const ResultRow& row = set.rows[k];
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

void AppendDataRows(std::string& out, const ResultSet& set, const std::vector<ColumnPlan>& plans,
                    std::size_t from, std::size_t to) {
  for (std::size_t k = from; k < to; ++k) AppendDataRow(out, set, plans, set.rows[k], k + 2);
}

// Everything before the first data row.
void AppendSheetHead(std::string& out, const ResultSet& set, const std::vector<ColumnPlan>& plans,
                     const std::string& lastCell) {
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
}

// Everything after the last data row.
void AppendSheetTail(std::string& out, const std::string& lastCell) {
  out += "</sheetData><autoFilter ref=\"A1:" + lastCell + "\"/>";
  out += kPageMargins;
  out += "</worksheet>";
}

// What the compressor of a piece needs around it: the 32 KiB of the sheet before it, and
// after it enough for its parse to meet the next piece's.
constexpr std::size_t kBytesBefore = 32768;
constexpr std::size_t kBytesAfter = 65536;

// Below this many rows a second thread costs more than it saves.
constexpr std::size_t kRowsPerThread = 1000;
constexpr std::size_t kMaxThreads = 4;
// About this many cells go into a piece: a few MB of text, small against the whole sheet
// and large against the bytes written around it.
constexpr std::size_t kCellsPerPiece = std::size_t{1} << 17;

std::size_t SheetThreads(const ResultSet& set) {
  const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
  return std::min({threads, kMaxThreads, set.rows.size() / kRowsPerThread});
}

}  // namespace

struct SheetPieceWriter::Plan {
  Plan(const ResultSet& results, std::size_t count)
      : set(results),
        plans(PlanColumns(results)),
        lastCell(ColumnLetters(results.columns.size() - 1) +
                 std::to_string(results.rows.size() + 1)) {
    const std::size_t rows = set.rows.size();
    count = std::clamp<std::size_t>(count, 1, std::max<std::size_t>(rows, 1));
    for (std::size_t i = 0; i <= count; ++i) bounds.push_back(rows / count * i);
    bounds.back() = rows;
    crcs.resize(count);
    sizes.resize(count);
    frameBound = SheetFrameBound(set, plans);
    sizeBound = kBytesBefore + kBytesAfter + frameBound;
    for (std::size_t i = 0; i < count; ++i) {
      rowsBounds.push_back(SheetRowsBound(set, plans, bounds[i], bounds[i + 1]));
      sizeBound += rowsBounds.back();
    }
  }

  // The rows before row from, at least kBytesBefore of them, or all with the head.
  void AppendBefore(std::string& text, std::size_t from) const {
    std::vector<std::string> rows;
    std::size_t bytes = 0;
    for (std::size_t k = from; k > 0 && bytes < kBytesBefore; --k) {
      rows.emplace_back();
      AppendDataRow(rows.back(), set, plans, set.rows[k - 1], k + 1);
      bytes += rows.back().size();
    }
    if (bytes < kBytesBefore) AppendSheetHead(text, set, plans, lastCell);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) text += *row;
  }

  // The rows from row to on, at least kBytesAfter of them, or all with the tail.
  void AppendAfter(std::string& text, std::size_t to) const {
    const std::size_t end = text.size();
    std::size_t k = to;
    for (; k < set.rows.size() && text.size() - end < kBytesAfter; ++k) {
      AppendDataRow(text, set, plans, set.rows[k], k + 2);
    }
    if (k == set.rows.size()) AppendSheetTail(text, lastCell);
  }

  const ResultSet& set;
  const std::vector<ColumnPlan> plans;
  const std::string lastCell;
  std::vector<std::size_t> bounds;  // piece i holds the rows [bounds[i], bounds[i + 1])
  std::vector<std::uint32_t> crcs;  // of each piece's own bytes, once written
  std::vector<std::size_t> sizes;
  std::vector<std::size_t> rowsBounds;  // of each piece's rows
  std::size_t frameBound = 0;
  std::size_t sizeBound = 0;
};

SheetPieceWriter::SheetPieceWriter(const ResultSet& set) {
  const std::size_t threads = SheetThreads(set);
  const std::size_t cells = set.rows.size() * std::max<std::size_t>(set.columns.size(), 1);
  const std::size_t pieces = threads < 2 ? 1 : std::max(threads, cells / kCellsPerPiece);
  m_plan = std::make_unique<Plan>(set, pieces);
}

SheetPieceWriter::SheetPieceWriter(const ResultSet& set, std::size_t pieces)
    : m_plan(std::make_unique<Plan>(set, pieces)) {}

SheetPieceWriter::~SheetPieceWriter() = default;

std::size_t SheetPieceWriter::Pieces() const { return m_plan->crcs.size(); }
std::size_t SheetPieceWriter::Threads() const { return SheetThreads(m_plan->set); }
std::size_t SheetPieceWriter::SizeBound() const { return m_plan->sizeBound; }

WrittenPiece SheetPieceWriter::Write(std::size_t index, std::string& text) {
  const Plan& plan = *m_plan;
  const std::size_t from = plan.bounds[index];
  const std::size_t to = plan.bounds[index + 1];
  const bool last = index + 1 == Pieces();
  text.clear();
  // Reserved for the worst case, so that the buffer is never copied while it grows.
  text.reserve(kBytesBefore + kBytesAfter + plan.rowsBounds[index] +
               (index == 0 || last ? plan.frameBound : 0));
  std::size_t begin = 0;
  if (index == 0) {
    AppendSheetHead(text, plan.set, plan.plans, plan.lastCell);
  } else {
    plan.AppendBefore(text, from);
    begin = text.size();
  }
  AppendDataRows(text, plan.set, plan.plans, from, to);
  if (last) AppendSheetTail(text, plan.lastCell);
  const std::size_t end = text.size();
  if (!last) plan.AppendAfter(text, to);
  m_plan->crcs[index] = Crc32(std::string_view(text).substr(begin, end - begin));
  m_plan->sizes[index] = end - begin;
  return {{text, begin, end}, last};
}

std::uint32_t SheetPieceWriter::Crc() const {
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < Pieces(); ++i) {
    crc = Crc32Combine(crc, m_plan->crcs[i], m_plan->sizes[i]);
  }
  return crc;
}

std::size_t SheetPieceWriter::Size() const {
  std::size_t size = 0;
  for (std::size_t piece : m_plan->sizes) size += piece;
  return size;
}

std::string SheetPieceWriter::Whole() {
  std::string whole;
  if (Pieces() == 1) {
    Write(0, whole);  // the one piece is the whole text
    return whole;
  }
  std::string buffer;
  for (std::size_t i = 0; i < Pieces(); ++i) {
    const DeflatePiece piece = Write(i, buffer).piece;
    whole.append(piece.buffer.substr(piece.begin, piece.end - piece.begin));
  }
  return whole;
}

std::string ResultsSheetXml(const ResultSet& set) { return SheetPieceWriter(set).Whole(); }

std::string ResultsSheetXml(const ResultSet& set, std::size_t pieces) {
  return SheetPieceWriter(set, pieces).Whole();
}

}  // namespace velquist
