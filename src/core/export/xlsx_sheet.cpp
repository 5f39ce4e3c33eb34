// The results sheet, the one big part of the workbook. The rows of a large sheet are split
// into runs written by threads of their own, each into a buffer of its own reserved up
// front for the worst case, so that it is never copied while it grows; the runs go to the
// compressor as they are, never joined into one text.
#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
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

// The sheet's rows split into runs, each written by a thread of its own into a buffer of
// its own, with the bytes around it (see DeflatePiece), and summed up into a CRC.
class RowRuns {
 public:
  RowRuns(const ResultSet& set, std::size_t runs)
      : m_set(set),
        m_plans(PlanColumns(set)),
        m_lastCell(ColumnLetters(set.columns.size() - 1) + std::to_string(set.rows.size() + 1)) {
    const std::size_t rows = set.rows.size();
    runs = std::clamp<std::size_t>(runs, 1, std::max<std::size_t>(rows, 1));
    for (std::size_t i = 0; i <= runs; ++i) m_bounds.push_back(rows / runs * i);
    m_bounds.back() = rows;
    m_runs.resize(runs);
    m_workers.reserve(runs - 1);
    for (std::size_t i = 1; i < runs; ++i) {
      try {
        m_workers.emplace_back([this, i] { Write(i); });
      } catch (...) {
        break;  // no thread to spare: the runs not started are written by the caller
      }
    }
  }
  RowRuns(const RowRuns&) = delete;
  RowRuns& operator=(const RowRuns&) = delete;
  // The workers read the set and write their buffers until joined, even on a failure.
  ~RowRuns() { Join(); }

  // Writes the first run and the runs no worker took, waits for the rest.
  SheetPieces Finish() {
    Write(0);
    for (std::size_t i = m_workers.size() + 1; i < m_runs.size(); ++i) Write(i);
    Join();
    SheetPieces sheet;
    for (Run& run : m_runs) {
      if (run.failure) std::rethrow_exception(run.failure);
      sheet.crc = Crc32Combine(sheet.crc, run.crc, run.end - run.begin);
      sheet.size += run.end - run.begin;
      sheet.buffers.push_back({std::move(run.text), run.begin, run.end});
    }
    return sheet;
  }

 private:
  struct Run {
    std::string text;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint32_t crc = 0;
    std::exception_ptr failure;
  };

  void Write(std::size_t index) {
    Run& run = m_runs[index];
    try {
      const std::size_t from = m_bounds[index];
      const std::size_t to = m_bounds[index + 1];
      const bool last = index + 1 == m_runs.size();
      std::string& text = run.text;
      text.reserve(kBytesBefore + kBytesAfter + SheetRowsBound(m_set, m_plans, from, to) +
                   (index == 0 || last ? SheetFrameBound(m_set, m_plans) : 0));
      if (index == 0) {
        AppendSheetHead(text, m_set, m_plans, m_lastCell);
      } else {
        AppendBefore(text, from);
        run.begin = text.size();
      }
      AppendDataRows(text, m_set, m_plans, from, to);
      if (last) AppendSheetTail(text, m_lastCell);
      run.end = text.size();
      if (!last) AppendAfter(text, to);
      run.crc = Crc32(std::string_view(text).substr(run.begin, run.end - run.begin));
    } catch (...) {
      run.failure = std::current_exception();
    }
  }

  // The rows before row from, at least kBytesBefore of them, or all with the head.
  void AppendBefore(std::string& text, std::size_t from) const {
    std::vector<std::string> rows;
    std::size_t bytes = 0;
    for (std::size_t k = from; k > 0 && bytes < kBytesBefore; --k) {
      rows.emplace_back();
      AppendDataRow(rows.back(), m_set, m_plans, m_set.rows[k - 1], k + 1);
      bytes += rows.back().size();
    }
    if (bytes < kBytesBefore) AppendSheetHead(text, m_set, m_plans, m_lastCell);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) text += *row;
  }

  // The rows from row to on, at least kBytesAfter of them, or all with the tail.
  void AppendAfter(std::string& text, std::size_t to) const {
    const std::size_t end = text.size();
    std::size_t k = to;
    for (; k < m_set.rows.size() && text.size() - end < kBytesAfter; ++k) {
      AppendDataRow(text, m_set, m_plans, m_set.rows[k], k + 2);
    }
    if (k == m_set.rows.size()) AppendSheetTail(text, m_lastCell);
  }

  void Join() {
    for (std::thread& worker : m_workers) {
      if (worker.joinable()) worker.join();
    }
  }

  const ResultSet& m_set;
  const std::vector<ColumnPlan> m_plans;
  const std::string m_lastCell;
  std::vector<std::size_t> m_bounds;  // run i holds the rows [m_bounds[i], m_bounds[i + 1])
  std::vector<Run> m_runs;
  std::vector<std::thread> m_workers;  // last: started once everything they use exists
};

// Below this many rows a second thread costs more than it saves.
constexpr std::size_t kRowsPerThread = 1000;
constexpr std::size_t kMaxThreads = 4;

std::size_t SheetThreads(const ResultSet& set) {
  const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
  return std::min({threads, kMaxThreads, set.rows.size() / kRowsPerThread});
}

}  // namespace

std::vector<DeflatePiece> SheetPieces::Pieces() const {
  std::vector<DeflatePiece> pieces;
  for (const SheetBuffer& buffer : buffers)
    pieces.push_back({buffer.text, buffer.begin, buffer.end});
  return pieces;
}

SheetPieces ResultsSheetPieces(const ResultSet& set) {
  return ResultsSheetPieces(set, SheetThreads(set));
}

SheetPieces ResultsSheetPieces(const ResultSet& set, std::size_t threads) {
  return RowRuns(set, threads).Finish();
}

std::string ResultsSheetXml(const ResultSet& set) {
  return ResultsSheetXml(set, SheetThreads(set));
}

std::string ResultsSheetXml(const ResultSet& set, std::size_t threads) {
  SheetPieces sheet = ResultsSheetPieces(set, threads);
  if (sheet.buffers.size() == 1) return std::move(sheet.buffers[0].text);
  std::string out;
  out.reserve(sheet.size);
  for (const DeflatePiece& piece : sheet.Pieces()) {
    out.append(piece.buffer.substr(piece.begin, piece.end - piece.begin));
  }
  return out;
}

}  // namespace velquist
