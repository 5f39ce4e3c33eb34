// An export or a printout of a large screen needs a few hundred MB; when they are not
// there, reading the page's answer, building the file and building the report fail with a
// message and nothing left behind, instead of ending the program. Each case runs in a
// child process with hardly any address space left, which exits with 0 only then; an
// uncaught allocation failure aborts it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "export/export_file.h"
#include "print/report.h"
#include "results/results_reply.h"

namespace velquist {
namespace {

constexpr std::size_t kRows = 20000;
constexpr std::size_t kColumns = 64;

ResultSet WideSet() {
  ResultSet set;
  set.screener = "stocks";
  set.columns.push_back({"s", "Symbol", "str", false});
  for (std::size_t c = 1; c < kColumns; ++c) {
    set.columns.push_back({"c" + std::to_string(c), "Column " + std::to_string(c), "num", false});
  }
  for (std::size_t r = 0; r < kRows; ++r) {
    ResultRow row = {{CellKind::Text, 0, "S" + std::to_string(r)}};
    for (std::size_t c = 1; c < kColumns; ++c) {
      row.push_back({CellKind::Number, static_cast<double>(r * kColumns + c) / 7, {}});
    }
    set.rows.push_back(std::move(row));
  }
  return set;
}

// The page's answer for the same screen.
std::string WideAnswer() {
  std::string text = R"({"version":1,"screener":"stocks","columns":[{"key":"s","type":"str"})";
  for (std::size_t c = 1; c < kColumns; ++c) {
    text += R"(,{"key":"c)" + std::to_string(c) + R"(","type":"num"})";
  }
  text += R"(],"rows":[)";
  for (std::size_t r = 0; r < kRows; ++r) {
    text += (r == 0 ? "[\"S" : ",[\"S") + std::to_string(r) + "\"";
    for (std::size_t c = 1; c < kColumns; ++c) text += "," + std::to_string(r * kColumns + c);
    text += "]";
  }
  return text + "]}";
}

// The process's address space in use now, from /proc.
rlim_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Runs the step with 1 MB of address space to spare and exits with its verdict.
[[noreturn]] void RunWithoutMemory(const std::function<bool()>& failedCleanly) {
  const rlim_t limit = AddressSpaceInUse() + (std::size_t{1} << 20);
  const rlimit space{limit, limit};
  setrlimit(RLIMIT_AS, &space);
  std::_Exit(failedCleanly() ? 0 : 1);
}

class OutOfMemory : public testing::Test {
 protected:
  void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator stops the process on a failed allocation";
#endif
    GTEST_FLAG_SET(death_test_style, "fast");
  }
};

TEST_F(OutOfMemory, ReadingTheAnswerGivesTheExportMessage) {
  const std::string answer = WideAnswer();
  ResultSet read;  // kept, so that its memory is not there for the second reading
  ASSERT_TRUE(ReadResultsReply(ResultsRequest::Export, false, answer, read).ready);
  ASSERT_EQ(read.rows.size(), kRows);
  EXPECT_EXIT(RunWithoutMemory([&] {
                ResultSet set;
                const ResultsReply reply =
                    ReadResultsReply(ResultsRequest::Export, false, answer, set);
                return !reply.ready && set.rows.empty() &&
                       reply.message == "The results could not be exported.\n\nnot enough memory";
              }),
              testing::ExitedWithCode(0), "");
}

TEST_F(OutOfMemory, BuildingTheFileFailsInEveryFormat) {
  const ResultSet set = WideSet();
  for (const ExportFormat format :
       {ExportFormat::Xlsx, ExportFormat::ExcelCsv, ExportFormat::PlainCsv}) {
    EXPECT_EXIT(RunWithoutMemory([&] {
                  std::string bytes = "old";
                  return !BuildExportFile(set, format, "2025-06-13T20:00:00Z", bytes) &&
                         bytes.empty();
                }),
                testing::ExitedWithCode(0), "")
        << "format " << static_cast<int>(format);
  }
}

TEST_F(OutOfMemory, BuildingTheReportFails) {
  const ResultSet set = WideSet();
  EXPECT_EXIT(RunWithoutMemory([&] {
                std::string html = "old";
                return !BuildPrintReport(set, "Wide", "2025-06-13 20:00", html) && html.empty();
              }),
              testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velquist
