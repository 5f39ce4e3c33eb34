// Writes a result set full of awkward texts and numbers as both CSV dialects, and the
// fields each cell should read back as, for csv_roundtrip_check.py to compare through
// Python's csv module.
//   csv_roundtrip_gen <output folder>
// writes excel.csv, plain.csv and expected.json there.
#include <array>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "data/json.h"
#include "export/csv.h"

namespace velquist {
namespace {

constexpr std::array<std::string_view, 24> TextPieces = {
    "AAPL",
    "Smith, Inc.",
    "say \"hi\"",
    "two\nlines",
    "cr\rhere",
    "crlf\r\nend",
    "=SUM(A1)",
    "+1",
    "-5%",
    "@cmd",
    "\tlead",
    "\rlead",
    "\nlead",
    "",
    " ",
    "caf\xC3\xA9",
    "\xE2\x82\xAC 5",
    "'apos",
    ",",
    "\"",
    "a\tb",
    "x;y",
    "\xF0\x9F\x98\x80",
    "2024-05-03",
};

constexpr std::array<std::string_view, 5> ColumnTypes = {"", "pct", "num", "money", "date"};

std::string HexDouble(double v) {
  std::array<char, 64> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::hex);
  return std::string(buf.data(), res.ptr);
}

std::string RandomText(std::mt19937& rng) {
  std::string text;
  const int pieces = 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < pieces; ++i) text += TextPieces[rng() % TextPieces.size()];
  return text;
}

double RandomNumber(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0:
      return static_cast<double>(static_cast<int>(rng() % 2001) - 1000);
    case 1:
      return std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
    case 2:
      return std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng),
                        static_cast<int>(rng() % 200) - 100);
    default:
      return rng() % 2 ? -0.0 : 1e21;
  }
}

ResultSet MakeSet(std::string* expected) {
  std::mt19937 rng(20240503);
  ResultSet set;
  set.screener = "stocks";
  std::string header = "[";
  for (std::size_t i = 0; i < 12; ++i) {
    ResultColumn column;
    column.key = "c" + std::to_string(i);
    column.label =
        i < TextPieces.size() && !TextPieces[i].empty() ? std::string(TextPieces[i]) : column.key;
    column.type = std::string(ColumnTypes[i % ColumnTypes.size()]);
    header += std::string(i ? "," : "") + "[" + QuoteJsonString(column.label) + "," +
              (column.type == "pct" ? "true" : "false") + "]";
    set.columns.push_back(std::move(column));
  }
  *expected = "{\"header\":" + header + "],\"rows\":[";
  for (int r = 0; r < 400; ++r) {
    ResultRow row;
    std::string cells;
    for (std::size_t c = 0; c < set.columns.size(); ++c) {
      ResultCell cell;
      const unsigned pick = rng() % 5;
      if (pick < 2) {
        cell = ResultCell{CellKind::Text, 0.0, RandomText(rng)};
        cells += "{\"t\":" + QuoteJsonString(cell.text) + "}";
      } else if (pick < 4) {
        cell = ResultCell{CellKind::Number, RandomNumber(rng), {}};
        cells += "{\"n\":\"" + HexDouble(cell.number) + "\"}";
      } else {
        cells += "null";
      }
      if (c + 1 < set.columns.size()) cells += ",";
      row.push_back(std::move(cell));
    }
    *expected += std::string(r ? "," : "") + "[" + cells + "]";
    set.rows.push_back(std::move(row));
  }
  *expected += "]}";
  return set;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace
}  // namespace velquist

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: csv_roundtrip_gen <output folder>\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  std::string expected;
  const velquist::ResultSet set = velquist::MakeSet(&expected);
  const bool ok = velquist::WriteFile(folder + "/excel.csv",
                                      velquist::WriteCsv(set, velquist::CsvDialect::ExcelCsv)) &&
                  velquist::WriteFile(folder + "/plain.csv",
                                      velquist::WriteCsv(set, velquist::CsvDialect::PlainCsv)) &&
                  velquist::WriteFile(folder + "/expected.json", expected);
  if (!ok) std::fputs("csv_roundtrip_gen: cannot write the output files\n", stderr);
  return ok ? 0 : 1;
}
