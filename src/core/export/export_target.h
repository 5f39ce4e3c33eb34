// What the Export command decides on its own: the three file types of the Save As dialog,
// which format a chosen path gets, the texts it shows, and the workbook's time stamp.
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>

namespace velquist {

// Numbered as the file types of the Save As dialog, counted from 0.
enum class ExportFormat { Xlsx = 0, ExcelCsv = 1, PlainCsv = 2 };

struct ExportFileType {
  ExportFormat format;
  std::string_view entry;      // the dialog's text, with its pattern
  std::string_view extension;  // with the dot
};

// The dialog's type list in order.
std::span<const ExportFileType> ExportFileTypes();

// The extension the dialog proposes when the typed name has none.
inline constexpr std::string_view ExportDefaultExtension = "xlsx";

struct ExportTarget {
  std::string path;
  ExportFormat format = ExportFormat::Xlsx;
};

// The format and the final path for a path chosen in the dialog with the given type entry
// selected (an unknown entry counts as the workbook): ".xlsx" always gives a workbook, ".csv"
// keeps a CSV entry and turns the workbook entry into CSV for Excel, and any other ending
// keeps the entry's format and gets its extension appended. Extensions compare without
// regard to ASCII case; the path keeps its letters as typed. Applying it to its own result
// with the same entry changes nothing.
ExportTarget ChooseExportTarget(std::string_view path, int selectedEntry);

// The extension of the path's last component from its last dot, or empty when there is
// none; a space or a slash after the dot means there is none.
std::string_view PathExtension(std::string_view path);
// The text after the path's last slash.
std::string_view PathFileName(std::string_view path);

// "Export 1,234 stocks"
std::string ExportDialogTitle(std::string_view count);
// "Exported 1,234 stocks to report.xlsx"
std::string ExportedStatusText(std::string_view count, std::string_view fileName);
// The question after a written file, with the name in curly quotes.
std::string ExportedOpenQuestion(std::string_view count, std::string_view fileName);

inline constexpr std::string_view ExportWriteFailedText =
    "The file could not be written.\n\nIf it is open in Excel, close it there and try again.";

// The time as "YYYY-MM-DDTHH:MM:SSZ" in UTC, for years 0 to 9999.
std::string UtcTimestampText(std::chrono::sys_seconds time);

}  // namespace velquist
