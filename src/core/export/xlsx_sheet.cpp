// The results sheet, the one big part of the workbook: written straight into one buffer
// reserved up front for the worst case, so that it is never copied while it grows. The
// rows of a large sheet are split into runs written by threads of their own into buffers
// of their own, appended in order once all are done.
#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <thread>
#include <vector>

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

// The rows after the first run, one run per thread, each into a buffer of its own.
class RowRuns {
 public:
  RowRuns(const ResultSet& set, const std::vector<ColumnPlan>& plans, std::size_t runs)
      : m_set(set), m_plans(plans) {
    const std::size_t rows = set.rows.size();
    runs = std::clamp<std::size_t>(runs, 1, std::max<std::size_t>(rows, 1));
    for (std::size_t i = 0; i <= runs; ++i) m_bounds.push_back(rows / runs * i);
    m_bounds.back() = rows;
    m_texts.resize(runs);
    m_failures.resize(runs);
    m_workers.reserve(runs - 1);
    for (std::size_t i = 1; i < runs; ++i) {
      try {
        m_workers.emplace_back([this, i] { Write(i); });
      } catch (...) {
        break;  // no thread to spare: the rows of the runs not started are written last
      }
    }
  }
  RowRuns(const RowRuns&) = delete;
  RowRuns& operator=(const RowRuns&) = delete;
  // The workers read the set and write their buffers until joined, even on a failure.
  ~RowRuns() { Join(); }

  // The end of the first run, which the caller writes itself.
  std::size_t FirstEnd() const { return m_bounds[1]; }
  std::size_t Started() const { return m_workers.size(); }

  // Appends the workers' runs in order, then the rows that no worker could be started for.
  void AppendRest(std::string& out) {
    Join();
    for (std::size_t i = 1; i <= Started(); ++i) {
      if (m_failures[i]) std::rethrow_exception(m_failures[i]);
      out += m_texts[i];
      std::string().swap(m_texts[i]);
    }
    AppendDataRows(out, m_set, m_plans, m_bounds[Started() + 1], m_bounds.back());
  }

 private:
  void Write(std::size_t run) {
    try {
      std::string& text = m_texts[run];
      text.reserve(SheetRowsBound(m_set, m_plans, m_bounds[run], m_bounds[run + 1]));
      AppendDataRows(text, m_set, m_plans, m_bounds[run], m_bounds[run + 1]);
    } catch (...) {
      m_failures[run] = std::current_exception();
    }
  }

  void Join() {
    for (std::thread& worker : m_workers) {
      if (worker.joinable()) worker.join();
    }
  }

  const ResultSet& m_set;
  const std::vector<ColumnPlan>& m_plans;
  std::vector<std::size_t> m_bounds;  // run i holds the rows [m_bounds[i], m_bounds[i + 1])
  std::vector<std::string> m_texts;
  std::vector<std::exception_ptr> m_failures;
  std::vector<std::thread> m_workers;  // last: started once everything they use exists
};

// Below this many rows a second thread costs more than it saves.
constexpr std::size_t kRowsPerThread = 1000;
constexpr std::size_t kMaxThreads = 2;

}  // namespace

std::string ResultsSheetXml(const ResultSet& set) {
  const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
  return ResultsSheetXml(set, std::min({threads, kMaxThreads, set.rows.size() / kRowsPerThread}));
}

std::string ResultsSheetXml(const ResultSet& set, std::size_t threads) {
  const std::vector<ColumnPlan> plans = PlanColumns(set);
  const std::string lastCell =
      ColumnLetters(set.columns.size() - 1) + std::to_string(set.rows.size() + 1);
  RowRuns runs(set, plans, threads);
  std::string out;
  // Room for all rows, so that appending the other runs copies nothing already written.
  out.reserve(SheetFrameBound(set, plans) + SheetRowsBound(set, plans, 0, set.rows.size()));
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
  AppendDataRows(out, set, plans, 0, runs.FirstEnd());
  runs.AppendRest(out);
  out += "</sheetData><autoFilter ref=\"A1:" + lastCell + "\"/>";
  out += kPageMargins;
  out += "</worksheet>";
  return out;
}

}  // namespace velquist
