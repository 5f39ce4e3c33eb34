#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "export/export_file.h"

namespace velquist {
namespace {

ResultSet WideSet(std::size_t rows, std::size_t columns) {
  ResultSet set;
  set.screener = "stocks";
  set.columns.push_back({"s", "Symbol", "str", false});
  for (std::size_t c = 1; c < columns; ++c) {
    set.columns.push_back({"c" + std::to_string(c), "Column " + std::to_string(c), "num", false});
  }
  for (std::size_t r = 0; r < rows; ++r) {
    ResultRow row = {{CellKind::Text, 0, "S" + std::to_string(r)}};
    for (std::size_t c = 1; c < columns; ++c) {
      row.push_back({CellKind::Number, static_cast<double>(r * columns + c) / 7, {}});
    }
    set.rows.push_back(std::move(row));
  }
  return set;
}

// The process's address space in use now, from /proc.
rlim_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Builds the file with hardly any address space left, and exits with 0 only when the build
// failed and left nothing.
[[noreturn]] void BuildWithoutMemory(const ResultSet& set, ExportFormat format) {
  std::string bytes = "old";
  const rlim_t limit = AddressSpaceInUse() + (std::size_t{1} << 20);
  const rlimit space{limit, limit};
  setrlimit(RLIMIT_AS, &space);
  const bool built = BuildExportFile(set, format, "2025-06-13T20:00:00Z", bytes);
  std::_Exit(!built && bytes.empty() ? 0 : 1);
}

// With hardly any address space left, a build that runs out of memory fails and leaves
// nothing behind instead of ending the program; an uncaught allocation failure would abort
// the child process.
TEST(ExportFile, RunningOutOfMemoryFailsTheBuild) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator stops the process on a failed allocation";
#else
  GTEST_FLAG_SET(death_test_style, "fast");
  const ResultSet set = WideSet(20000, 64);
  for (const ExportFormat format :
       {ExportFormat::Xlsx, ExportFormat::ExcelCsv, ExportFormat::PlainCsv}) {
    EXPECT_EXIT(BuildWithoutMemory(set, format), testing::ExitedWithCode(0), "")
        << "format " << static_cast<int>(format);
  }
#endif
}

}  // namespace
}  // namespace velquist
