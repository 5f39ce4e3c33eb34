// One function per part of the workbook package, each returning the part's complete
// XML: the declaration, one line feed, then the document on one line.
#pragma once

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
std::string ResultsSheetXml(const ResultSet& set);
// What was exported, from where and when.
std::string AboutSheetXml(const ResultSet& set, std::string_view timestamp);

}  // namespace velquist
