// Cell references, column widths, cell styles and link formulas of the workbook writer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "results/result_set.h"

namespace velquist {

// Indices into the fixed cellXfs list of the workbook's styles.
enum XlsxStyle : int {
  kStyleGeneral = 0,
  kStyleHeader = 1,
  kStyleText = 2,
  kStyleMoney = 3,
  kStylePrice = 4,
  kStylePercent = 5,
  kStyleDecimal = 6,
  kStyleInteger = 7,
  kStyleDate = 8,
  kStyleMultiple = 9,
  kStyleLink = 10,
  kStyleScore = 11,
  kStyleHeaderRight = 12,
  kStyleTitle = 13,
  kStyleLabel = 14,
};

// Letters of the 0-based column index: 0 is A, 25 Z, 26 AA, 63 BL.
std::string ColumnLetters(std::size_t index);

// "ETFs" for the ETF screener, else "Stocks".
std::string_view SheetName(const ResultSet& set);

// Style of a number cell by its column type; General for types that are not numeric.
int NumberStyle(std::string_view type);

// Style of a column's header cell: right-aligned over numbers and dates.
int HeaderStyle(std::string_view type);

// Width of every column: its label and widest cell plus 3, at least 10, at most 40 for
// the second column and 50 for the others.
std::vector<int> ColumnWidths(const ResultSet& set);

// The HYPERLINK formula text (no leading "="); double quotes in url and text are doubled.
std::string HyperlinkFormula(std::string_view url, std::string_view text);

// Links only fit the formula when url and text are each at most 255 bytes and the url
// is not empty; otherwise the cell holds the text alone.
bool FitsHyperlinkFormula(std::string_view url, std::string_view text);

}  // namespace velquist
