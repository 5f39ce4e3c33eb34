// The print report: a self-contained HTML page of all result rows for the print window,
// laid out for paper (repeated table header, page header and footer texts, landscape
// pages for wide tables, denser type for very wide ones).
#pragma once

#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

// title is the screen's name (empty when it has none); printedTime is the local time as
// "YYYY-MM-DD hh:mm" (empty leaves it out).
std::string BuildPrintReport(const ResultSet& set, std::string_view title,
                             std::string_view printedTime);
// The same into html; false, with html empty, when there is not enough memory for it.
bool BuildPrintReport(const ResultSet& set, std::string_view title, std::string_view printedTime,
                      std::string& html);

// The given title, or "Stock screener" / "ETF screener" when it is empty.
std::string PrintDisplayTitle(const ResultSet& set, std::string_view title);

// "1 of 1 stock", "1 of 5 stocks", "50 of 1,234 ETFs", "12 stocks" (no total).
std::string PrintCountText(const ResultSet& set);

}  // namespace velquist
