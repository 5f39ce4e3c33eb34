// Writes a workbook of a result set that covers every column type and awkward texts, and
// the result set itself, for xlsx_roundtrip_check.py to read back through openpyxl.
//   xlsx_roundtrip_gen <output folder> <rows> <seed>
// writes workbook.xlsx and input.json there. Texts go to the JSON as hex bytes, so that
// the checker sees exactly the bytes the writer got, ill-formed UTF-8 included.
#include <array>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "app/files.h"
#include "export/xlsx.h"
#include "results/format.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::array<std::string_view, 16> kTexts = {
    "Alpha & Omega <Holdings>",
    "say \"hi\" it's",
    "tab\there",
    "ctrl\x01here\x1f",
    "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
    "nonchar \xEF\xBF\xBE and \xEF\xBF\xBF end",
    "stray \x80 cont",
    "truncated \xE2\x82",
    "overlong \xC0\xAF",
    "surrogate \xED\xA0\x80",
    "too big \xF4\x90\x80\x80",
    "lead at end \xC3",
    "two\nlines",
    "  spaces  ",
    "",
    "Technology",
};

constexpr std::array<std::string_view, 8> kSymbols = {
    "AAPL", "BRK.B", "msft", "BF-B", "A B", "X/Y", "TOOLONGSYMBOL1234", "Z9"};

struct ColumnSpec {
  std::string_view key;
  std::string_view label;
  std::string_view type;
  bool isSigned;
};

constexpr std::array<ColumnSpec, 15> kColumns = {{
    {"s", "Symbol", "str", false},
    {"n", "Company name", "str", false},
    {"mc", "Market cap", "money", false},
    {"p", "Price", "price", false},
    {"ch", "Change %", "pct", true},
    {"pe", "P/E & more", "num", false},
    {"v", "Volume", "int", false},
    {"e", "Employees", "cnt", false},
    {"de", "Debt/Equity", "lev", false},
    {"r", "Rating", "ratingtxt", false},
    {"r_score", "Rating score", "score", false},
    {"ed", "Earnings date", "date", false},
    {"sig", "SMA cross", "sig", false},
    {"x", "Misc <tab>\t\x01", "str", false},
    {"y", "Generic number", "other", false},
}};

double RandomNumber(std::mt19937& rng) {
  switch (rng() % 6) {
    case 0:
      return static_cast<double>(rng() % 100000) / 100.0;
    case 1:
      return -static_cast<double>(rng() % 100000) / 1000.0;
    case 2:
      return static_cast<double>(rng()) * 1e4;
    case 3:
      return std::uniform_real_distribution<double>(-1, 1)(rng);
    case 4:
      return static_cast<double>(rng() % 1000);
    default:
      return 1e-7 * static_cast<double>(rng() % 1000);
  }
}

ResultCell Cell(std::mt19937& rng, const ColumnSpec& col, std::size_t row) {
  ResultCell cell;
  const unsigned pick = rng() % 10;
  if (pick == 0) return cell;  // Missing
  const std::string_view type = col.type;
  if (col.key == "s") {
    cell.kind = CellKind::Text;
    cell.text = std::string(kSymbols[row % kSymbols.size()]);
  } else if (type == "date") {
    cell.kind = CellKind::Text;
    const char* dates[] = {"2024-05-03", "1900-03-01", "2024-02-31", "2024-5-3", "not a date"};
    cell.text = dates[rng() % 5];
  } else if (type == "ratingtxt" || type == "sig") {
    cell.kind = CellKind::Text;
    cell.text = type == "sig" ? "Golden cross" : "Strong Buy";
  } else if (type == "str" || (type == "other" && pick < 4)) {
    cell.kind = CellKind::Text;
    cell.text = std::string(kTexts[rng() % kTexts.size()]);
  } else {
    cell.kind = CellKind::Number;
    cell.number = RandomNumber(rng);
  }
  return cell;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return "\"" + out + "\"";
}

std::string InputJson(const ResultSet& set, std::string_view timestamp) {
  std::string j = "{\"screener\":\"" + set.screener + "\",\"asof\":" + Hex(set.asof) +
                  ",\"url\":" + Hex(set.url) + ",\"total\":" + std::to_string(set.total) +
                  ",\"timestamp\":" + Hex(timestamp) + ",\"columns\":[";
  for (std::size_t i = 0; i < set.columns.size(); ++i) {
    const ResultColumn& c = set.columns[i];
    j += (i ? "," : "") + std::string("{\"key\":") + Hex(c.key) + ",\"label\":" + Hex(c.label) +
         ",\"type\":" + Hex(c.type) + "}";
  }
  j += "],\"rows\":[";
  for (std::size_t r = 0; r < set.rows.size(); ++r) {
    j += r ? ",[" : "[";
    for (std::size_t i = 0; i < set.rows[r].size(); ++i) {
      const ResultCell& cell = set.rows[r][i];
      if (i) j += ",";
      if (cell.kind == CellKind::Missing) j += "null";
      if (cell.kind == CellKind::Number) j += "{\"n\":\"" + FormatShortestReal(cell.number) + "\"}";
      if (cell.kind == CellKind::Text) j += "{\"t\":" + Hex(cell.text) + "}";
    }
    j += "]";
  }
  return j + "]}";
}

}  // namespace
}  // namespace velquist

int main(int argc, char** argv) {
  using namespace velquist;
  if (argc != 4) {
    std::fprintf(stderr, "usage: xlsx_roundtrip_gen <output folder> <rows> <seed>\n");
    return 2;
  }
  std::size_t rows = 0;
  unsigned seed = 0;
  const std::string_view rowsArg(argv[2]), seedArg(argv[3]);
  std::from_chars(rowsArg.data(), rowsArg.data() + rowsArg.size(), rows);
  std::from_chars(seedArg.data(), seedArg.data() + seedArg.size(), seed);
  std::mt19937 rng(seed);

  ResultSet set;
  set.screener = seed % 2 ? "etfs" : "stocks";
  set.asof = "2024-05-03";
  set.url = std::string(SiteOrigin) + "/screener.html?x=1#f=\"q&a\"";
  set.total = static_cast<std::int64_t>(rows) * 3 + 1234;
  for (const ColumnSpec& c : kColumns) {
    set.columns.push_back(
        {std::string(c.key), std::string(c.label), std::string(c.type), c.isSigned});
  }
  for (std::size_t r = 0; r < rows; ++r) {
    ResultRow row;
    for (const ColumnSpec& c : kColumns) row.push_back(Cell(rng, c, r));
    set.rows.push_back(std::move(row));
  }
  const std::string timestamp = "2024-05-03T14:07:09Z";
  const std::string folder = argv[1];
  if (!WriteFileAtomic(folder + "/workbook.xlsx", BuildXlsxWorkbook(set, timestamp)) ||
      !WriteFileAtomic(folder + "/input.json", InputJson(set, timestamp))) {
    std::fprintf(stderr, "cannot write to %s\n", argv[1]);
    return 1;
  }
  return 0;
}
