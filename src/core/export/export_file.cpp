#include "export/export_file.h"

#include "export/csv.h"
#include "export/xlsx.h"
#include "results/out_of_memory.h"

namespace velquist {
namespace {

std::string BuildBytes(const ResultSet& set, ExportFormat format, std::string_view timestamp) {
  switch (format) {
    case ExportFormat::Xlsx:
      return BuildXlsxWorkbook(set, timestamp);
    case ExportFormat::ExcelCsv:
      return WriteCsv(set, CsvDialect::ExcelCsv);
    case ExportFormat::PlainCsv:
      return WriteCsv(set, CsvDialect::PlainCsv);
  }
  return {};
}

}  // namespace

bool BuildExportFile(const ResultSet& set, ExportFormat format, std::string_view timestamp,
                     std::string& bytes) {
  return BuildWithinMemory(bytes, [&] { return BuildBytes(set, format, timestamp); });
}

}  // namespace velquist
