// ReadResults on any bytes: a failure leaves the set empty with a reason; a success keeps
// every limit the export and print code rely on, and the shared texts can be made from it.
// Reading the rows as they are parsed gives the same as reading them from the whole tree.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "results/results_reader.h"

namespace {

using namespace velquist;

// Every row has one cell per output column, and no cell breaks the limits of its kind.
void CheckRow(const ResultRow& row, std::size_t columns) {
  FUZZ_CHECK(row.size() == columns);
  for (const ResultCell& cell : row) {
    FUZZ_CHECK(std::isfinite(cell.number));
    if (cell.kind == CellKind::Text) FUZZ_CHECK(cell.text.size() <= MaxTextCellBytes);
    if (cell.kind == CellKind::Missing) FUZZ_CHECK(cell.text.empty());
  }
}

bool SameCells(const ResultRow& a, const ResultRow& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].text != b[i].text) return false;
    // NaN never reaches a cell, so equal numbers compare equal.
    if (a[i].number != b[i].number) return false;
  }
  return true;
}

bool SameSets(const ResultSet& a, const ResultSet& b) {
  if (a.screener != b.screener || a.asof != b.asof || a.url != b.url || a.total != b.total ||
      a.columns.size() != b.columns.size() || a.rows.size() != b.rows.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.columns.size(); ++i) {
    const ResultColumn& x = a.columns[i];
    const ResultColumn& y = b.columns[i];
    if (x.key != y.key || x.label != y.label || x.type != y.type || x.isSigned != y.isSigned) {
      return false;
    }
  }
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    if (!SameCells(a.rows[i], b.rows[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  ResultSet set;
  set.screener = "left over";
  set.rows.resize(3);
  std::string error;
  const bool read = ReadResults(text, set, &error);
  ResultSet whole;
  std::string wholeError;
  FUZZ_CHECK(ReadResultsFromTree(text, whole, &wholeError) == read);
  FUZZ_CHECK(wholeError == error);
  FUZZ_CHECK(SameSets(set, whole));
  if (!read) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(set.screener.empty() && set.columns.empty() && set.rows.empty());
    return 0;
  }
  FUZZ_CHECK(set.screener == "stocks" || set.screener == "etfs");
  FUZZ_CHECK(set.asof.empty() || set.asof.size() == 10);
  FUZZ_CHECK(set.url.size() <= MaxResultsUrlBytes);
  FUZZ_CHECK(set.total >= 0 && set.total < 1'000'000'000);
  // A rating column becomes two, so at most twice the page's columns.
  FUZZ_CHECK(!set.columns.empty() && set.columns.size() <= 2 * MaxPageColumns);
  for (const ResultColumn& column : set.columns) {
    FUZZ_CHECK(!column.key.empty() && column.key.size() <= MaxColumnKeyBytes + 6);
    FUZZ_CHECK(!column.label.empty() && column.label.size() <= MaxLabelBytes + 6);
  }
  FUZZ_CHECK(set.rows.size() <= MaxResultRows);
  for (const ResultRow& row : set.rows) CheckRow(row, set.columns.size());

  const ScreenStore screens{{"Saved", ScreenerKind::Stocks, "/screener.html", ""}};
  FUZZ_CHECK(!ResultsTitle(set, screens).empty());
  FUZZ_CHECK(!ResultsCountText(set).empty());
  return 0;
}
