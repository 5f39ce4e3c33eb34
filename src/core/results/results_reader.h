// Reads the results that the screener page's hook returns (its JSON text) into a
// ResultSet, and makes the two small texts that export and print share: the results
// title and the count text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "data/screens.h"
#include "results/result_set.h"

namespace velquist {

inline constexpr std::size_t MaxPageColumns = 64;
inline constexpr std::size_t MaxResultRows = 50'000;
inline constexpr std::size_t MaxColumnKeyBytes = 16;
inline constexpr std::size_t MaxColumnTypeBytes = 16;
inline constexpr std::size_t MaxLabelBytes = 200;
inline constexpr std::size_t MaxTextCellBytes = 1000;
inline constexpr std::size_t MaxResultsUrlBytes = 4096;

// Fills out from the results JSON (version 1). On failure out is left empty and *error
// holds a short text: "the page returned no results", "unsupported results version",
// "unknown screener", "bad column list", "bad column", "bad row list", "too many rows",
// "bad row", or the JSON parser's error.
bool ReadResults(std::string_view text, ResultSet& out, std::string* error = nullptr);

// The same reading from the whole parsed tree: ReadResults reads the rows as they are
// parsed, and comes here for a document whose rows stand before its columns or whose
// columns are given twice. Same results and errors.
bool ReadResultsFromTree(std::string_view text, ResultSet& out, std::string* error = nullptr);

// The name of the screen the results come from: the first saved screen of the same
// screener with the same path and fragment, else (for a page without a fragment) the
// label of the preset with that path as the menu shows it, else empty.
std::string ResultsScreenName(const ResultSet& set, const ScreenStore& screens);

// The screen name followed by the as-of date, or "Stock screener" / "ETF screener" with
// the date when the screen has no name.
std::string ResultsTitle(const ResultSet& set, const ScreenStore& screens);

// The row count with thousands separators and the noun: "1 stock", "1,234 ETFs".
std::string ResultsCountText(const ResultSet& set);

}  // namespace velquist
