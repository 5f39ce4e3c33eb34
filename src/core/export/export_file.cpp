#include "export/export_file.h"

#include <new>

#include "export/csv.h"
#include "export/xlsx.h"

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
  bytes.clear();
  try {
    bytes = BuildBytes(set, format, timestamp);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace velquist
