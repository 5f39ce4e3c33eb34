#include "export/export_target.h"

#include <array>
#include <charconv>

namespace velquist {
namespace {

constexpr std::array<ExportFileType, 3> FileTypes{{
    {ExportFormat::Xlsx, "Excel workbook (*.xlsx)", ".xlsx"},
    {ExportFormat::ExcelCsv, "CSV for Excel, UTF-8 with BOM (*.csv)", ".csv"},
    {ExportFormat::PlainCsv, "Plain CSV, UTF-8 without BOM (*.csv)", ".csv"},
}};

bool EqualsAsciiNoCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
  }
  return true;
}

// Appends value with at least width digits, zeros in front.
void AppendNumber(std::string& out, unsigned value, int width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (auto n = static_cast<int>(end - digits); n < width; ++n) out += '0';
  out.append(digits, end);
}

}  // namespace

std::span<const ExportFileType> ExportFileTypes() { return FileTypes; }

std::string_view PathFileName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view PathExtension(std::string_view path) {
  const std::string_view name = PathFileName(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view extension = name.substr(dot);
  // "report.v2 final" has no extension, as the desktop counts them.
  if (extension.find(' ') != std::string_view::npos) return {};
  return extension;
}

ExportTarget ChooseExportTarget(std::string_view path, int selectedEntry) {
  ExportTarget target{std::string(path), ExportFormat::Xlsx};
  if (selectedEntry >= 0 && selectedEntry < static_cast<int>(FileTypes.size())) {
    target.format = FileTypes[static_cast<std::size_t>(selectedEntry)].format;
  }
  const std::string_view extension = PathExtension(path);
  if (EqualsAsciiNoCase(extension, ".csv")) {
    if (target.format == ExportFormat::Xlsx) target.format = ExportFormat::ExcelCsv;
  } else if (EqualsAsciiNoCase(extension, ".xlsx")) {
    target.format = ExportFormat::Xlsx;
  } else {
    target.path += FileTypes[static_cast<std::size_t>(target.format)].extension;
  }
  return target;
}

std::string ExportDialogTitle(std::string_view count) { return "Export " + std::string(count); }

std::string ExportedStatusText(std::string_view count, std::string_view fileName) {
  return "Exported " + std::string(count) + " to " + std::string(fileName);
}

std::string ExportedOpenQuestion(std::string_view count, std::string_view fileName) {
  return "Exported " + std::string(count) + " to \xE2\x80\x9C" + std::string(fileName) +
         "\xE2\x80\x9D.\n\nOpen it now?";
}

std::string UtcTimestampText(std::chrono::sys_seconds time) {
  using namespace std::chrono;
  const sys_days day = floor<days>(time);
  const year_month_day date(day);
  const hh_mm_ss clock(time - day);
  std::string text;
  text.reserve(20);
  AppendNumber(text, static_cast<unsigned>(static_cast<int>(date.year())), 4);
  text += '-';
  AppendNumber(text, static_cast<unsigned>(date.month()), 2);
  text += '-';
  AppendNumber(text, static_cast<unsigned>(date.day()), 2);
  text += 'T';
  AppendNumber(text, static_cast<unsigned>(clock.hours().count()), 2);
  text += ':';
  AppendNumber(text, static_cast<unsigned>(clock.minutes().count()), 2);
  text += ':';
  AppendNumber(text, static_cast<unsigned>(clock.seconds().count()), 2);
  text += 'Z';
  return text;
}

}  // namespace velquist
