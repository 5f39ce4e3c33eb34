// The two CSV files of the export: one for spreadsheet programs (byte-order mark, text
// that would start a formula is guarded) and one plain file for other tools. Both are
// UTF-8, comma-separated, CR LF after every record, one header record.
#pragma once

#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

enum class CsvDialect { ExcelCsv, PlainCsv };

// The whole file: header record of column labels ("pct" columns get " (%)"), then one
// record per row. Numbers are written as their shortest exact text, never guarded.
std::string WriteCsv(const ResultSet& set, CsvDialect dialect);

// One text field: for ExcelCsv an apostrophe in front of a leading = + - @ tab CR or LF,
// then quoted (with doubled quotes) when it holds a comma, quote, CR or LF.
std::string CsvField(std::string_view text, CsvDialect dialect);

}  // namespace velquist
