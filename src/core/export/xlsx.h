// The XLSX workbook of a result set: the results sheet with typed, formatted cells,
// a frozen header, an AutoFilter and links to each symbol's page, and an About sheet.
#pragma once

#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

// The bytes of the .xlsx file. timestamp is the export time in UTC as
// "YYYY-MM-DDTHH:MM:SSZ"; it dates the archive entries and the document.
std::string BuildXlsxWorkbook(const ResultSet& set, std::string_view timestamp);

}  // namespace velquist
