#include "export/export_target.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

using F = ExportFormat;

TEST(ExportFileTypes, DialogEntriesInOrder) {
  const auto types = ExportFileTypes();
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[0].format, F::Xlsx);
  EXPECT_EQ(types[0].entry, "Excel workbook (*.xlsx)");
  EXPECT_EQ(types[0].extension, ".xlsx");
  EXPECT_EQ(types[1].format, F::ExcelCsv);
  EXPECT_EQ(types[1].entry, "CSV for Excel, UTF-8 with BOM (*.csv)");
  EXPECT_EQ(types[1].extension, ".csv");
  EXPECT_EQ(types[2].format, F::PlainCsv);
  EXPECT_EQ(types[2].entry, "Plain CSV, UTF-8 without BOM (*.csv)");
  EXPECT_EQ(types[2].extension, ".csv");
  EXPECT_EQ(ExportDefaultExtension, "xlsx");
}

TEST(ChooseExportTarget, FormatAndPathFromTheNameAndTheEntry) {
  const struct {
    const char* path;
    int entry;
    const char* finalPath;
    F format;
  } cases[] = {
      {"/d/report.CSV", 0, "/d/report.CSV", F::ExcelCsv},
      {"/d/report.csv", 1, "/d/report.csv", F::ExcelCsv},
      {"/d/report.Csv", 2, "/d/report.Csv", F::PlainCsv},
      {"/d/report.xlsx", 2, "/d/report.xlsx", F::Xlsx},
      {"/d/report.XLSX", 1, "/d/report.XLSX", F::Xlsx},
      {"/d/report.xlsx", 0, "/d/report.xlsx", F::Xlsx},
      {"/d/report.txt", 2, "/d/report.txt.csv", F::PlainCsv},
      {"/d/report.txt", 1, "/d/report.txt.csv", F::ExcelCsv},
      {"/d/report.txt", 0, "/d/report.txt.xlsx", F::Xlsx},
      {"/d/report", 0, "/d/report.xlsx", F::Xlsx},
      {"/d/report", 1, "/d/report.csv", F::ExcelCsv},
      {"/d/report", 2, "/d/report.csv", F::PlainCsv},
      {"/d/report.xls", 0, "/d/report.xls.xlsx", F::Xlsx},
      {"/d/report.csvx", 1, "/d/report.csvx.csv", F::ExcelCsv},
      // an entry outside the list counts as the workbook
      {"/d/report", 3, "/d/report.xlsx", F::Xlsx},
      {"/d/report", -1, "/d/report.xlsx", F::Xlsx},
      {"/d/report.csv", 7, "/d/report.csv", F::ExcelCsv},
      // the dot must be in the last component, with no space after it
      {"/d.csv/report", 2, "/d.csv/report.csv", F::PlainCsv},
      {"/d/my.csv report", 2, "/d/my.csv report.csv", F::PlainCsv},
      {"/d/.csv", 0, "/d/.csv", F::ExcelCsv},
      {"/d/report.", 1, "/d/report..csv", F::ExcelCsv},
      {"/d/Börse 2024.xlsx", 1, "/d/Börse 2024.xlsx", F::Xlsx},
  };
  for (const auto& c : cases) {
    const ExportTarget target = ChooseExportTarget(c.path, c.entry);
    EXPECT_EQ(target.path, c.finalPath) << c.path << " entry " << c.entry;
    EXPECT_EQ(target.format, c.format) << c.path << " entry " << c.entry;
    // The dialog decides on the typed name and the command again on the same name: the
    // second decision must agree with the first.
    const ExportTarget again = ChooseExportTarget(target.path, c.entry);
    EXPECT_EQ(again.path, target.path) << c.path;
    EXPECT_EQ(again.format, target.format) << c.path;
  }
}

TEST(PathParts, ExtensionAndFileName) {
  EXPECT_EQ(PathExtension("/a/b.tar.gz"), ".gz");
  EXPECT_EQ(PathExtension("/a.b/c"), "");
  EXPECT_EQ(PathExtension("c"), "");
  EXPECT_EQ(PathExtension("c. d"), "");
  EXPECT_EQ(PathExtension(""), "");
  EXPECT_EQ(PathFileName("/a/b.csv"), "b.csv");
  EXPECT_EQ(PathFileName("b.csv"), "b.csv");
  EXPECT_EQ(PathFileName("/a/"), "");
}

TEST(ExportTexts, TitleStatusAndQuestion) {
  EXPECT_EQ(ExportDialogTitle("1,234 stocks"), "Export 1,234 stocks");
  EXPECT_EQ(ExportDialogTitle("1 ETF"), "Export 1 ETF");
  EXPECT_EQ(ExportedStatusText("1 ETF", "r.csv"), "Exported 1 ETF to r.csv");
  EXPECT_EQ(ExportedOpenQuestion("2 stocks", "r.xlsx"),
            "Exported 2 stocks to \u201Cr.xlsx\u201D.\n\nOpen it now?");
  EXPECT_EQ(ExportWriteFailedText,
            "The file could not be written.\n\nIf it is open in Excel, close it there and try "
            "again.");
}

TEST(UtcTimestampText, Table) {
  using namespace std::chrono;
  const struct {
    sys_seconds time;
    const char* text;
  } cases[] = {
      {sys_seconds{}, "1970-01-01T00:00:00Z"},
      {sys_days{2024y / May / 3} + 14h + 7min + 9s, "2024-05-03T14:07:09Z"},
      {sys_days{2024y / February / 29} + 23h + 59min + 59s, "2024-02-29T23:59:59Z"},
      {sys_days{1969y / December / 31} + 23h + 59min + 59s, "1969-12-31T23:59:59Z"},
      {sys_days{9999y / December / 31} + 23h + 59min + 59s, "9999-12-31T23:59:59Z"},
      {sys_days{2000y / January / 1}, "2000-01-01T00:00:00Z"},
  };
  for (const auto& c : cases) EXPECT_EQ(UtcTimestampText(c.time), c.text);
}

}  // namespace
}  // namespace velquist
