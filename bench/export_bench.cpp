// Export paths on the largest result sets the program accepts: reading the page's results
// JSON, CSV, deflate (against zlib on the same bytes), the XLSX workbook (against
// libxlsxwriter writing the same cells with its defaults) and the print report.
//
//   export_bench [benchmark flags]   the timings
//   export_bench --export-memory     peak memory of one workbook export, measured in a
//                                    child process so that building the data set does
//                                    not count
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/files.h"
#include "data/json.h"
#include "export/csv.h"
#include "export/xlsx.h"
#include "export/xlsx_layout.h"
#include "export/xlsx_parts.h"
#include "export/zip.h"
#include "print/report.h"
#include "results/format.h"
#include "results/results_reader.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::size_t kRows = 50000;
constexpr std::string_view kTimestamp = "2024-05-03T14:07:09Z";

struct PageColumn {
  std::string key;
  std::string label;
  std::string type;
  bool isSigned = false;
};

// 63 page columns; the rating column becomes two, so the result set has 64.
std::vector<PageColumn> PageColumns() {
  std::vector<PageColumn> cols = {
      {"s", "Symbol", "str"},        {"n", "Company name", "str"},
      {"sector", "Sector", "str"},   {"industry", "Industry", "str"},
      {"country", "Country", "str"}, {"ar", "Analyst rating", "rating"},
      {"sma", "SMA 50/200", "sig"},  {"ed", "Earnings date", "date"},
      {"ipo", "IPO date", "date"},
  };
  const char* types[] = {"money", "price", "pct", "num", "int", "cnt", "lev", "score", "x"};
  for (int i = 0; cols.size() < 63; ++i) {
    const std::string type = types[i % 9];
    cols.push_back({"c" + std::to_string(i), "Measure " + std::to_string(i) + " (" + type + ")",
                    type, type == "pct"});
  }
  return cols;
}

const char* kSectors[] = {
    "Technology",  "Healthcare", "Financials", "Energy & Utilities", "Consumer Discretionary",
    "Industrials", "Real Estate"};
const char* kWords[] = {"Alpha",    "Global", "Holdings", "Systems", "Bio",  "Capital",  "Energy",
                        "Partners", "Micro",  "United",   "Pacific", "Tech", "Resources"};

std::string Symbol(std::mt19937& rng) {
  std::string s;
  const int len = 1 + static_cast<int>(rng() % 5);
  for (int i = 0; i < len; ++i) s += static_cast<char>('A' + rng() % 26);
  if (rng() % 20 == 0) s += ".B";
  return s;
}

double Rounded(double v, double scale) { return std::round(v * scale) / scale; }

// One page value of a column, as JSON text: realistic magnitudes and decimals, and a few
// missing values.
std::string PageValue(std::mt19937& rng, const PageColumn& col) {
  std::uniform_real_distribution<double> u(0, 1);
  const std::string& t = col.type;
  if (col.key == "s") return QuoteJsonString(Symbol(rng));
  if (col.key == "n") {
    return QuoteJsonString(std::string(kWords[rng() % 13]) + " " + kWords[rng() % 13] +
                           (rng() % 2 ? " Inc." : " Corp."));
  }
  if (t == "str") return QuoteJsonString(kSectors[rng() % 7]);
  if (rng() % 20 == 0) return "null";
  if (t == "date") {
    return QuoteJsonString("20" + std::to_string(10 + rng() % 15) + "-0" +
                           std::to_string(1 + rng() % 9) + "-" + std::to_string(10 + rng() % 18));
  }
  double v = 0;
  if (t == "rating") v = Rounded(1 + 4 * u(rng), 100);
  if (t == "sig") v = static_cast<double>(static_cast<int>(rng() % 3) - 1);
  if (t == "money") v = std::round(std::exp(16 + 12 * u(rng)));
  if (t == "price") v = Rounded(std::exp(8 * u(rng)), 100);
  if (t == "pct") v = Rounded(-50 + 150 * u(rng), 100);
  if (t == "num") v = Rounded(-20 + 200 * u(rng), 100);
  if (t == "int") v = std::round(std::exp(18 * u(rng)));
  if (t == "cnt") v = static_cast<double>(rng() % 200000);
  if (t == "lev") v = Rounded(10 * u(rng), 10);
  if (t == "score") v = Rounded(100 * u(rng), 100);
  if (t == "x") v = Rounded(-1 + 2 * u(rng), 10000);
  return FormatShortestReal(v);
}

std::string ResultsJson(std::size_t rows) {
  std::mt19937 rng(2024);
  const std::vector<PageColumn> cols = PageColumns();
  std::string j = "{\"version\":1,\"screener\":\"stocks\",\"asof\":\"2024-05-03\",\"url\":" +
                  QuoteJsonString(std::string(SiteOrigin) + "/screener.html#f=cap.gt.1e9") +
                  ",\"total\":" + std::to_string(rows) + ",\"columns\":[";
  for (std::size_t i = 0; i < cols.size(); ++i) {
    j += (i ? "," : "") + std::string("{\"key\":") + QuoteJsonString(cols[i].key) +
         ",\"label\":" + QuoteJsonString(cols[i].label) +
         ",\"type\":" + QuoteJsonString(cols[i].type) +
         (cols[i].isSigned ? ",\"signed\":true}" : "}");
  }
  j += "],\"rows\":[";
  for (std::size_t r = 0; r < rows; ++r) {
    j += r ? ",[" : "[";
    for (std::size_t i = 0; i < cols.size(); ++i) j += (i ? "," : "") + PageValue(rng, cols[i]);
    j += "]";
  }
  return j + "]}";
}

// 128 columns: every page column type twice over, the way a wide print job looks.
ResultSet WideSet(const ResultSet& base) {
  ResultSet wide = base;
  const std::size_t n = base.columns.size();
  for (std::size_t i = 0; wide.columns.size() < 128; ++i) {
    ResultColumn c = base.columns[i % n];
    c.key += "w";
    wide.columns.push_back(c);
  }
  for (ResultRow& row : wide.rows) {
    const ResultRow copy = row;
    for (std::size_t i = 0; row.size() < 128; ++i) row.push_back(copy[i % n]);
  }
  return wide;
}

struct BenchData {
  std::string json;
  ResultSet set;
  std::string sheetXml;
};

const BenchData& Data() {
  static const BenchData data = [] {
    BenchData d;
    d.json = ResultsJson(kRows);
    std::string error;
    if (!ReadResults(d.json, d.set, &error)) {
      std::fprintf(stderr, "results JSON refused: %s\n", error.c_str());
      std::abort();
    }
    d.sheetXml = ResultsSheetXml(d.set);
    return d;
  }();
  return data;
}

void BM_ReadResults(benchmark::State& state) {
  const BenchData& d = Data();
  for (auto _ : state) {
    ResultSet set;
    benchmark::DoNotOptimize(ReadResults(d.json, set, nullptr));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.json.size()));
}

void BM_WriteCsv(benchmark::State& state) {
  const BenchData& d = Data();
  std::size_t size = 0;
  for (auto _ : state) size = WriteCsv(d.set, CsvDialect::ExcelCsv).size();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// Argument 0: as DeflateFixed chooses (one thread per hardware thread, up to four, for
// this size); otherwise that many stretches, each worked on by a thread of its own.
void BM_DeflateFixed(benchmark::State& state) {
  const BenchData& d = Data();
  const auto stretches = static_cast<std::size_t>(state.range(0));
  std::size_t size = 0;
  for (auto _ : state) {
    std::string out;
    if (stretches == 0) {
      out = DeflateFixed(d.sheetXml);
    } else {
      AppendDeflateFixed(d.sheetXml, out, stretches);
    }
    size = out.size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.sheetXml.size()));
  state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(d.sheetXml.size());
}

// zlib's raw deflate at a given level on the same sheet XML.
void BM_ZlibDeflate(benchmark::State& state) {
  const BenchData& d = Data();
  const auto level = static_cast<int>(state.range(0));
  std::string out(compressBound(static_cast<uLong>(d.sheetXml.size())), '\0');
  std::size_t size = 0;
  for (auto _ : state) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(d.sheetXml.data()));
    z.avail_in = static_cast<uInt>(d.sheetXml.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    size = z.total_out;
    deflateEnd(&z);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.sheetXml.size()));
  state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(d.sheetXml.size());
}

void BM_ResultsSheetXml(benchmark::State& state) {
  const BenchData& d = Data();
  for (auto _ : state) benchmark::DoNotOptimize(ResultsSheetXml(d.set).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.sheetXml.size()));
}

void BM_BuildXlsxWorkbook(benchmark::State& state) {
  const BenchData& d = Data();
  std::size_t size = 0;
  for (auto _ : state) size = BuildXlsxWorkbook(d.set, kTimestamp).size();
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// The workbook written to a file, as libxlsxwriter's figure below includes its file.
void BM_BuildXlsxWorkbookToFile(benchmark::State& state) {
  const BenchData& d = Data();
  const std::string path = TempPath("velquist_export_bench.xlsx");
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteFileAtomic(path, BuildXlsxWorkbook(d.set, kTimestamp)));
  std::filesystem::remove(path);
}

// libxlsxwriter with its defaults (shared strings, temporary files), writing the same
// cells, formats, widths, frozen pane, AutoFilter and link formulas.
void WriteWithLibXlsxWriter(const ResultSet& set, const std::string& path) {
  lxw_workbook* wb = workbook_new(path.c_str());
  lxw_worksheet* ws = workbook_add_worksheet(wb, "Stocks");
  lxw_format* header = workbook_add_format(wb);
  format_set_bold(header);
  lxw_format* link = workbook_add_format(wb);
  format_set_underline(link, LXW_UNDERLINE_SINGLE);
  format_set_font_color(link, 0x0563C1);
  lxw_format* date = workbook_add_format(wb);
  format_set_num_format(date, "yyyy-mm-dd");
  std::vector<lxw_format*> byType(set.columns.size(), nullptr);
  const std::vector<int> widths = ColumnWidths(set);
  for (std::size_t i = 0; i < set.columns.size(); ++i) {
    const std::string& t = set.columns[i].type;
    const char* fmt = t == "money"                 ? "$#,##0"
                      : t == "price"               ? "$#,##0.00"
                      : t == "pct"                 ? "0.00%"
                      : t == "num"                 ? "#,##0.00"
                      : (t == "int" || t == "cnt") ? "#,##0"
                      : t == "lev"                 ? "0.0\"x\""
                      : t == "score"               ? "0.00"
                                                   : nullptr;
    if (fmt) {
      byType[i] = workbook_add_format(wb);
      format_set_num_format(byType[i], fmt);
    }
    const auto col = static_cast<lxw_col_t>(i);
    worksheet_set_column(ws, col, col, widths[i], nullptr);
    worksheet_write_string(ws, 0, col, set.columns[i].label.c_str(), header);
  }
  for (std::size_t r = 0; r < set.rows.size(); ++r) {
    const auto row = static_cast<lxw_row_t>(r + 1);
    for (std::size_t i = 0; i < set.columns.size(); ++i) {
      const ResultCell& cell = set.rows[r][i];
      const auto col = static_cast<lxw_col_t>(i);
      const std::string& t = set.columns[i].type;
      double serial = 0;
      if (cell.kind == CellKind::Number) {
        worksheet_write_number(ws, row, col, t == "pct" ? cell.number / 100 : cell.number,
                               byType[i]);
      } else if (cell.kind == CellKind::Text) {
        if (i == 0 && set.columns[0].key == "s") {
          const std::string url = SymbolPageUrl(set, cell.text);
          worksheet_write_formula_str(ws, row, col,
                                      ("=" + HyperlinkFormula(url, cell.text)).c_str(), link,
                                      cell.text.c_str());
        } else if (t == "date" && IsoDateToSerial(cell.text, serial)) {
          worksheet_write_number(ws, row, col, serial, date);
        } else {
          worksheet_write_string(ws, row, col, cell.text.c_str(), nullptr);
        }
      }
    }
  }
  worksheet_freeze_panes(ws, 1, 1);
  worksheet_autofilter(ws, 0, 0, static_cast<lxw_row_t>(set.rows.size()),
                       static_cast<lxw_col_t>(set.columns.size() - 1));
  lxw_worksheet* about = workbook_add_worksheet(wb, "About");
  worksheet_write_string(about, 0, 0, "Stock screener results", header);
  worksheet_write_string(about, 2, 0, "Screener", header);
  worksheet_write_string(about, 2, 1, "Stocks", nullptr);
  workbook_close(wb);
}

void BM_LibXlsxWriter(benchmark::State& state) {
  const BenchData& d = Data();
  const std::string path = TempPath("velquist_export_bench_lxw.xlsx");
  for (auto _ : state) WriteWithLibXlsxWriter(d.set, path);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::filesystem::remove(path);
}

void BM_BuildPrintReport(benchmark::State& state) {
  static const ResultSet wide = WideSet(Data().set);
  std::size_t size = 0;
  for (auto _ : state) size = BuildPrintReport(wide, "Large caps", "2024-05-03 16:30").size();
  state.counters["html_MB"] = static_cast<double>(size) / 1e6;
}

BENCHMARK(BM_ReadResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteCsv)->Unit(benchmark::kMillisecond);
// Rates by wall-clock time, since the work may be spread over threads; the CPU column is
// then the whole process's.
BENCHMARK(BM_DeflateFixed)
    ->Arg(1)
    ->Arg(2)
    ->Arg(0)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsSheetXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildXlsxWorkbook)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildXlsxWorkbookToFile)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibXlsxWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPrintReport)->Unit(benchmark::kMillisecond);

long MaxRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Peak memory of one BuildXlsxWorkbook call over what the result set already holds, in a
// forked child whose high-water mark starts at the parent's current size.
int MeasureExportMemory() {
  const BenchData& d = Data();
  const double sheetMiB = static_cast<double>(d.sheetXml.size()) / 1048576.0;
  std::string().swap(const_cast<BenchData&>(d).sheetXml);
  std::string().swap(const_cast<BenchData&>(d).json);
  const pid_t pid = fork();
  if (pid == 0) {
    const long before = MaxRssKiB();
    const std::size_t size = BuildXlsxWorkbook(d.set, kTimestamp).size();
    const long after = MaxRssKiB();
    const double peakMiB = static_cast<double>(after - before) / 1024.0;
    std::printf("rows %zu, columns %zu\n", d.set.rows.size(), d.set.columns.size());
    std::printf("sheet XML        %8.1f MiB\n", sheetMiB);
    std::printf("workbook         %8.1f MiB\n", static_cast<double>(size) / 1048576.0);
    std::printf("resident before  %8.1f MiB (the result set)\n",
                static_cast<double>(before) / 1024.0);
    std::printf("export peak      %8.1f MiB above that = %.2f x the sheet XML\n", peakMiB,
                peakMiB / sheetMiB);
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace
}  // namespace velquist

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--export-memory") == 0) return velquist::MeasureExportMemory();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
