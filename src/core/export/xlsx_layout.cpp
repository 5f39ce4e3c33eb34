#include "export/xlsx_layout.h"

#include <algorithm>
#include <cmath>

#include "text/utf8.h"

namespace velquist {
namespace {

constexpr std::size_t kMaxFormulaPiece = 255;

// Column widths end well below 1000 characters, so the cap changes no width and keeps
// the count an int for any text.
int CharacterCount(std::string_view text) {
  return static_cast<int>(std::min<std::size_t>(Utf8CharacterCount(text), 1000));
}

// How wide a number cell shows, by column type: a fixed width, or room for the digits and
// the thousands commas plus what the number format adds.
struct NumberWidthRule {
  int fixed = 0;  // the width whatever the number, when not 0
  int added = 1;  // else added to the digits and commas
};

NumberWidthRule NumberWidthRuleOf(std::string_view type) {
  if (type == "date") return {10, 0};
  if (type == "pct") return {8, 0};
  if (type == "lev") return {5, 0};
  if (type == "money") return {0, 2};
  if (type == "price" || type == "num" || type == "score") return {0, 4};
  return {0, 1};
}

// a is the number's magnitude.
int NumberWidth(double a, NumberWidthRule rule) {
  if (rule.fixed != 0) return rule.fixed;
  int d = a < 1 ? 1 : static_cast<int>(std::log10(a)) + 1;
  d += (d - 1) / 3;
  return d + rule.added;
}

void AppendQuoteDoubled(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
}

}  // namespace

std::string ColumnLetters(std::size_t index) {
  std::string letters;
  for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

std::string_view SheetName(const ResultSet& set) {
  return set.screener == "etfs" ? "ETFs" : "Stocks";
}

int NumberStyle(std::string_view type) {
  if (type == "money") return kStyleMoney;
  if (type == "price") return kStylePrice;
  if (type == "pct") return kStylePercent;
  if (type == "num") return kStyleDecimal;
  if (type == "int" || type == "cnt") return kStyleInteger;
  if (type == "lev") return kStyleMultiple;
  if (type == "score") return kStyleScore;
  return kStyleGeneral;
}

int HeaderStyle(std::string_view type) {
  return NumberStyle(type) != kStyleGeneral || type == "date" ? kStyleHeaderRight : kStyleHeader;
}

std::vector<int> ColumnWidths(const ResultSet& set) {
  const std::size_t count = set.columns.size();
  std::vector<int> widths(count);
  for (std::size_t i = 0; i < count; ++i) widths[i] = CharacterCount(set.columns[i].label) + 3;
  // A number's width grows with its magnitude, so the widest number of a column is its
  // largest in magnitude: only that one is measured. Negative while a column has none.
  std::vector<double> largest(count, -1.0);
  // Row by row, so that the cells are read in the order they lie in memory.
  for (const ResultRow& row : set.rows) {
    const std::size_t cells = std::min(count, row.size());
    for (std::size_t i = 0; i < cells; ++i) {
      const ResultCell& cell = row[i];
      if (cell.kind == CellKind::Number) {
        largest[i] = std::max(largest[i], std::fabs(cell.number));
      } else if (cell.kind == CellKind::Text) {
        widths[i] = std::max(widths[i], CharacterCount(cell.text) + 3);
      }
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (largest[i] >= 0) {
      const int number = NumberWidth(largest[i], NumberWidthRuleOf(set.columns[i].type));
      widths[i] = std::max(widths[i], number + 3);
    }
    widths[i] = std::min(std::max(widths[i], 10), i == 1 ? 40 : 50);
  }
  return widths;
}

std::string HyperlinkFormula(std::string_view url, std::string_view text) {
  std::string f = "HYPERLINK(\"";
  AppendQuoteDoubled(f, url);
  f += "\",\"";
  AppendQuoteDoubled(f, text);
  f += "\")";
  return f;
}

bool FitsHyperlinkFormula(std::string_view url, std::string_view text) {
  return !url.empty() && url.size() <= kMaxFormulaPiece && text.size() <= kMaxFormulaPiece;
}

}  // namespace velquist
