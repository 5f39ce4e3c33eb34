// The rows that match the screener's current filters, with the current columns, as read
// out of the page for one Export or Print. A plain value with no tie to the page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velquist {

// The column's type name as the page gives it ("money", "price", "pct", "num", "int",
// "cnt", "lev", "score", "date", "ratingtxt", "sig"; anything else is generic).
using ColumnType = std::string;

enum class CellKind { Missing, Number, Text };

struct ResultColumn {
  std::string key;
  std::string label;
  ColumnType type;
  bool isSigned = false;  // the page asks for an explicit "+" on positive values
};

struct ResultCell {
  CellKind kind = CellKind::Missing;
  double number = 0.0;  // always finite; a "sig" cell made from a number keeps it too
  std::string text;
};

using ResultRow = std::vector<ResultCell>;

struct ResultSet {
  std::string screener;  // "stocks" or "etfs"
  std::string asof;      // YYYY-MM-DD or empty
  std::string url;
  std::int64_t total = 0;
  std::vector<ResultColumn> columns;
  std::vector<ResultRow> rows;  // each row holds one cell per column, in column order
};

}  // namespace velquist
