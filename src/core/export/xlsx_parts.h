// One function per part of the workbook package, each returning the part's complete
// XML: the declaration, one line feed, then the document on one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

std::string ContentTypesXml();
std::string PackageRelsXml();
std::string CorePropertiesXml(const ResultSet& set, std::string_view timestamp);
std::string WorkbookXml(const ResultSet& set);
std::string WorkbookRelsXml();
std::string StylesXml();
// The parts that name columns expect at least one.
// The results: frozen header row and first column, AutoFilter, typed and styled cells.
// Large sheets are written by two threads at once, each taking half of the rows; the
// text is the same as from one.
std::string ResultsSheetXml(const ResultSet& set);
// The same text, written by the given number of threads (at least one, at most one per
// row), whatever the size: for tests and benchmarks that choose it.
std::string ResultsSheetXml(const ResultSet& set, std::size_t threads);
// What was exported, from where and when.
std::string AboutSheetXml(const ResultSet& set, std::string_view timestamp);

}  // namespace velquist
