// Parsing speed of the JSON reader on a results document as the screener page returns it
// (50,000 rows of 64 columns, about 30 MB), next to RapidJSON and nlohmann::json on the
// same text. Each iteration parses the whole text into a tree and frees it again.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <string_view>

#include "data/json.h"
#include "rapidjson/document.h"

namespace {

constexpr int kRows = 50000;
constexpr int kColumns = 64;

// The kinds of value a screener column holds; the 64 columns cycle through them.
enum class ColumnKind {
  Symbol,
  Name,
  Sector,
  Price,
  Percent,
  Volume,
  MarketCap,
  Ratio,
  Score,
  Rating,
  Signal,
  Date
};

constexpr ColumnKind kKinds[] = {
    ColumnKind::Symbol,  ColumnKind::Name,    ColumnKind::Sector,    ColumnKind::Price,
    ColumnKind::Percent, ColumnKind::Volume,  ColumnKind::MarketCap, ColumnKind::Ratio,
    ColumnKind::Rating,  ColumnKind::Percent, ColumnKind::Score,     ColumnKind::Signal,
    ColumnKind::Price,   ColumnKind::Percent, ColumnKind::Ratio,     ColumnKind::Date,
};

ColumnKind KindOf(int column) {
  return kKinds[static_cast<std::size_t>(column) % std::size(kKinds)];
}

const char* TypeName(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Symbol:
      return "symbol";
    case ColumnKind::Name:
    case ColumnKind::Sector:
    case ColumnKind::Date:
      return "text";
    case ColumnKind::Rating:
      return "rating";
    case ColumnKind::Signal:
      return "sig";
    case ColumnKind::Percent:
      return "percent";
    default:
      return "number";
  }
}

class DocumentWriter {
 public:
  std::string Build() {
    m_text.reserve(32u << 20);
    m_text += "{\"version\":1,\"screener\":\"stocks\",\"asof\":\"2024-05-03\",";
    m_text += "\"url\":\"https://www.vxscreener.example/screener/#f=cap_large&o=-volume\",";
    m_text += "\"total\":" + std::to_string(kRows) + ",\"columns\":[";
    for (int c = 0; c < kColumns; ++c) {
      if (c > 0) m_text += ',';
      const ColumnKind kind = KindOf(c);
      m_text += "{\"key\":\"c" + std::to_string(c) + "\",\"label\":\"Column " + std::to_string(c) +
                "\",\"type\":\"" + TypeName(kind) +
                "\",\"signed\":" + (kind == ColumnKind::Percent ? "true" : "false") + "}";
    }
    m_text += "],\"rows\":[\n";
    for (int r = 0; r < kRows; ++r) {
      m_text += r > 0 ? ",\n[" : "[";
      for (int c = 0; c < kColumns; ++c) {
        if (c > 0) m_text += ',';
        WriteCell(KindOf(c));
      }
      m_text += ']';
    }
    m_text += "\n]}";
    return std::move(m_text);
  }

 private:
  void WriteCell(ColumnKind kind) {
    // About one cell in twelve of the numeric columns has no value.
    const bool numeric = kind != ColumnKind::Symbol && kind != ColumnKind::Name &&
                         kind != ColumnKind::Sector && kind != ColumnKind::Date;
    if (numeric && Uniform(12) == 0) {
      m_text += "null";
      return;
    }
    switch (kind) {
      case ColumnKind::Symbol:
        WriteSymbol();
        break;
      case ColumnKind::Name:
        WriteName();
        break;
      case ColumnKind::Sector:
        WriteSector();
        break;
      case ColumnKind::Price:
        WriteFixed(static_cast<double>(Uniform(500000)) / 100.0 + 0.5, 2);
        break;
      case ColumnKind::Percent:
        WriteFixed((static_cast<double>(Uniform(4001)) - 2000.0) / 100.0, 2);
        break;
      case ColumnKind::Volume:
        WriteInteger(Uniform(90000000));
        break;
      case ColumnKind::MarketCap:
        WriteInteger(Uniform(3000000000000ull) + 50000000);
        break;
      case ColumnKind::Ratio:
        WriteFixed(static_cast<double>(Uniform(100000)) / 997.0, 2);
        break;
      case ColumnKind::Score:
        // Computed on the page and sent at full precision.
        WriteShortest(static_cast<double>(Uniform(100000)) / 997.0);
        break;
      case ColumnKind::Rating:
        WriteFixed(1.0 + static_cast<double>(Uniform(41)) / 10.0, 1);
        break;
      case ColumnKind::Signal:
        m_text += kSignals[Uniform(std::size(kSignals))];
        break;
      case ColumnKind::Date:
        m_text +=
            "\"2024-0" + std::to_string(1 + Uniform(9)) + "-1" + std::to_string(Uniform(10)) + "\"";
        break;
    }
  }

  static constexpr std::string_view kSignals[] = {"-1", "0", "1"};

  void WriteSymbol() {
    m_text += '"';
    const std::uint64_t length = 1 + Uniform(5);
    for (std::uint64_t i = 0; i < length; ++i) m_text += static_cast<char>('A' + Uniform(26));
    m_text += '"';
  }

  void WriteName() {
    static constexpr std::string_view kWords[] = {"Global",       "Holdings", "Inc.",
                                                  "Systems",      "Energy",   "Pharma",
                                                  "Capital",      "Group",    "Soci\\u00e9t\\u00e9",
                                                  "Technologies", "Bancorp",  "\\\"Trust\\\"",
                                                  "Resources",    "Ltd"};
    m_text += '"';
    const std::uint64_t words = 2 + Uniform(3);
    for (std::uint64_t i = 0; i < words; ++i) {
      if (i > 0) m_text += ' ';
      m_text += kWords[Uniform(std::size(kWords))];
    }
    m_text += '"';
  }

  void WriteSector() {
    static constexpr std::string_view kSectors[] = {"Technology",        "Healthcare",
                                                    "Financial",         "Energy",
                                                    "Utilities",         "Real Estate",
                                                    "Consumer Cyclical", "Industrials",
                                                    "Basic Materials",   "Communication Services"};
    m_text += '"';
    m_text += kSectors[Uniform(std::size(kSectors))];
    m_text += '"';
  }

  void WriteInteger(std::uint64_t value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_text.append(buffer, result.ptr);
  }

  void WriteFixed(double value, int precision) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    m_text.append(buffer, result.ptr);
  }

  void WriteShortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_text.append(buffer, result.ptr);
  }

  std::uint64_t Uniform(std::uint64_t bound) { return m_random() % bound; }

  std::mt19937_64 m_random{20240503};
  std::string m_text;
};

const std::string& Document() {
  static const std::string text = DocumentWriter().Build();
  return text;
}

void Finish(benchmark::State& state, std::size_t rows) {
  if (rows != kRows) state.SkipWithError("the parsed document has the wrong number of rows");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Document().size()));
  state.counters["MB"] = static_cast<double>(Document().size()) / 1e6;
}

void BM_ParseJson(benchmark::State& state) {
  const std::string& text = Document();
  std::size_t rows = 0;
  for (auto _ : state) {
    velquist::JsonValue value;
    std::string error;
    if (!velquist::ParseJson(text, value, &error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    rows = value.Member("rows").Count();
    benchmark::DoNotOptimize(value);
  }
  Finish(state, rows);
}

void BM_RapidJson(benchmark::State& state) {
  const std::string& text = Document();
  std::size_t rows = 0;
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseFullPrecisionFlag>(text.data(), text.size());
    if (document.HasParseError()) {
      state.SkipWithError("RapidJSON failed to parse the document");
      return;
    }
    rows = document["rows"].Size();
    benchmark::DoNotOptimize(document);
  }
  Finish(state, rows);
}

void BM_NlohmannJson(benchmark::State& state) {
  const std::string& text = Document();
  std::size_t rows = 0;
  for (auto _ : state) {
    nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded()) {
      state.SkipWithError("nlohmann::json failed to parse the document");
      return;
    }
    rows = document["rows"].size();
    benchmark::DoNotOptimize(document);
  }
  Finish(state, rows);
}

BENCHMARK(BM_ParseJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RapidJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NlohmannJson)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
