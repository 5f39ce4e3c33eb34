// The bytes of an export file in the format the user chose.
#pragma once

#include <string>
#include <string_view>

#include "export/export_target.h"
#include "results/result_set.h"

namespace velquist {

// Builds the file in the given format; timestamp is the export time as UtcTimestampText
// gives it (the workbook is dated with it). False, with bytes left empty, when there is not
// memory enough to build it: the largest sets need a few hundred MB, and a failed export
// must not end the program.
bool BuildExportFile(const ResultSet& set, ExportFormat format, std::string_view timestamp,
                     std::string& bytes);

}  // namespace velquist
