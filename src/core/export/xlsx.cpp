#include "export/xlsx.h"

#include "export/xlsx_parts.h"
#include "export/zip.h"

namespace velquist {

std::string BuildXlsxWorkbook(const ResultSet& set, std::string_view timestamp) {
  // Every part needs at least one column; a set without any gets a symbol column.
  ResultSet withColumn;
  const ResultSet* source = &set;
  if (set.columns.empty()) {
    withColumn = set;
    withColumn.columns.push_back({"s", "Symbol", "str", false});
    source = &withColumn;
  }
  // The parts go in document order. Each is deflated into the archive as soon as it is
  // built and freed right after.
  ZipWriter zip(timestamp);
  zip.AddEntry("[Content_Types].xml", ContentTypesXml());
  zip.AddEntry("_rels/.rels", PackageRelsXml());
  zip.AddEntry("docProps/core.xml", CorePropertiesXml(*source, timestamp));
  zip.AddEntry("xl/workbook.xml", WorkbookXml(*source));
  zip.AddEntry("xl/_rels/workbook.xml.rels", WorkbookRelsXml());
  zip.AddEntry("xl/styles.xml", StylesXml());
  {
    // Written piece by piece by several threads, each piece compressed as soon as it is
    // written, so that the big results sheet is never held whole.
    SheetPieceWriter sheet(*source);
    zip.AddEntry("xl/worksheets/sheet1.xml", sheet);
  }
  zip.AddEntry("xl/worksheets/sheet2.xml", AboutSheetXml(*source, timestamp));
  return zip.Finish();
}

}  // namespace velquist
