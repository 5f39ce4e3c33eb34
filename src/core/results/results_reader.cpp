#include "results/results_reader.h"

#include <cmath>

#include "data/json.h"
#include "results/format.h"
#include "site/presets.h"
#include "site/url.h"
#include "text/utf8.h"

namespace velquist {
namespace {

// The JSON text of a string member, or empty when it is missing or not a string.
std::string_view StringMember(const JsonValue& object, std::string_view key) {
  const JsonValue& v = object.Member(key);
  return v.Kind() == JsonKind::String ? std::string_view(v.Text()) : std::string_view();
}

bool IsValidColumnKey(std::string_view key) {
  if (key.empty() || key.size() > MaxColumnKeyBytes) return false;
  for (const char c : key) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

bool ReadPageColumn(const JsonValue& element, ResultColumn& column) {
  column.key = std::string(StringMember(element, "key"));
  const std::string_view label = StringMember(element, "label");
  column.label = label.substr(0, Utf8CutLength(label, MaxLabelBytes));
  column.type = std::string(StringMember(element, "type"));
  const JsonValue& isSigned = element.Member("signed");
  column.isSigned = isSigned.Kind() == JsonKind::Bool && isSigned.Bool();
  if (!IsValidColumnKey(column.key) || column.type.size() > MaxColumnTypeBytes) return false;
  if (column.label.empty()) column.label = column.key;
  return true;
}

// A "rating" page column becomes its word column followed by its score column.
void AppendOutputColumns(const ResultColumn& page, std::vector<ResultColumn>& out) {
  if (page.type != "rating") {
    out.push_back(page);
    return;
  }
  out.push_back(ResultColumn{page.key, page.label, "ratingtxt", false});
  out.push_back(ResultColumn{page.key + "_score", page.label + " score", "score", false});
}

// How the cells of a page column are read, decided once per column.
enum class CellRule { Plain, Rating, Signal };

CellRule RuleOf(const ResultColumn& page) {
  if (page.type == "rating") return CellRule::Rating;
  if (page.type == "sig") return CellRule::Signal;
  return CellRule::Plain;
}

// The value's text is moved out of the parsed tree, which is not read again.
ResultCell PlainCell(JsonValue& value) {
  ResultCell cell;
  if (value.Kind() == JsonKind::Number) {
    // The reader may hand over numbers too large for a double as infinities.
    if (std::isfinite(value.Number())) {
      cell.kind = CellKind::Number;
      cell.number = value.Number();
    }
  } else if (value.Kind() == JsonKind::String) {
    cell.kind = CellKind::Text;
    cell.text = value.TakeText();
    cell.text.resize(Utf8CutLength(cell.text, MaxTextCellBytes));
  }
  return cell;
}

void AppendRowCells(JsonValue& value, CellRule rule, ResultRow& row) {
  ResultCell cell = PlainCell(value);
  if (rule == CellRule::Rating) {
    ResultCell word;
    ResultCell score;
    if (cell.kind == CellKind::Number) {
      const std::string_view text = RatingWord(cell.number);
      if (!text.empty()) word = ResultCell{CellKind::Text, 0.0, std::string(text)};
      score = ResultCell{CellKind::Number, cell.number, {}};
    }
    row.push_back(std::move(word));
    row.push_back(std::move(score));
    return;
  }
  if (rule == CellRule::Signal && cell.kind == CellKind::Number) {
    const std::string_view word = SignalWord(cell.number);
    // The number stays in the cell next to its word.
    cell.kind = word.empty() ? CellKind::Missing : CellKind::Text;
    cell.text = std::string(word);
  }
  row.push_back(std::move(cell));
}

bool Fail(std::string* error, std::string_view text) {
  if (error) *error = std::string(text);
  return false;
}

void ReadHeader(const JsonValue& root, ResultSet& set) {
  const std::string_view asof = StringMember(root, "asof");
  if (IsIsoDate(asof)) set.asof = std::string(asof);
  const std::string_view url = StringMember(root, "url");
  if (url.size() <= MaxResultsUrlBytes) set.url = std::string(url);
  const JsonValue& total = root.Member("total");
  if (total.Kind() == JsonKind::Number && std::isfinite(total.Number()) && total.Number() >= 0 &&
      total.Number() < 1e9) {
    set.total = static_cast<std::int64_t>(total.Number());
  }
}

bool ReadColumns(const JsonValue& list, std::vector<ResultColumn>& pageColumns,
                 std::string* error) {
  if (list.Kind() != JsonKind::Array || list.Count() < 1 || list.Count() > MaxPageColumns) {
    return Fail(error, "bad column list");
  }
  pageColumns.resize(list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (!ReadPageColumn(list.At(i), pageColumns[i])) return Fail(error, "bad column");
  }
  return true;
}

std::vector<CellRule> RulesOf(const std::vector<ResultColumn>& pageColumns) {
  std::vector<CellRule> rules;
  rules.reserve(pageColumns.size());
  for (const ResultColumn& page : pageColumns) rules.push_back(RuleOf(page));
  return rules;
}

// One page row into its output cells; false when it is not a list of one value per page
// column. The row's values are moved out of it.
bool ReadRow(JsonValue& element, const std::vector<CellRule>& rules, std::size_t outputWidth,
             ResultRow& row) {
  JsonValue::Array* values = element.MutableElements();
  if (values == nullptr || values->size() != rules.size()) return false;
  row.reserve(outputWidth);
  for (std::size_t i = 0; i < rules.size(); ++i) AppendRowCells((*values)[i], rules[i], row);
  return true;
}

// Takes the rows out of the parsed list, freeing each row's values once it is read, so
// that the tree and the rows are not both held whole.
bool ReadRows(JsonValue* list, const std::vector<ResultColumn>& pageColumns,
              std::size_t outputWidth, std::vector<ResultRow>& rows, std::string* error) {
  JsonValue::Array* elements = list != nullptr ? list->MutableElements() : nullptr;
  if (elements == nullptr) return Fail(error, "bad row list");
  if (elements->size() > MaxResultRows) return Fail(error, "too many rows");
  const std::vector<CellRule> rules = RulesOf(pageColumns);
  rows.reserve(elements->size());
  for (JsonValue& element : *elements) {
    if (!ReadRow(element, rules, outputWidth, rows.emplace_back())) return Fail(error, "bad row");
    element.SetNull();
  }
  return true;
}

// The checks of the document's head, in the order their errors take precedence, on the
// parsed tree; fills the set's head and gives the page columns.
bool ReadHead(const JsonValue& root, ResultSet& set, std::vector<ResultColumn>& pageColumns,
              std::string* error) {
  if (root.Kind() != JsonKind::Object) return Fail(error, "the page returned no results");
  const JsonValue& version = root.Member("version");
  if (version.Kind() != JsonKind::Number || version.Number() != 1) {
    return Fail(error, "unsupported results version");
  }
  set.screener = std::string(StringMember(root, "screener"));
  if (set.screener != "stocks" && set.screener != "etfs") return Fail(error, "unknown screener");
  ReadHeader(root, set);
  if (!ReadColumns(root.Member("columns"), pageColumns, error)) return false;
  for (const ResultColumn& page : pageColumns) AppendOutputColumns(page, set.columns);
  return true;
}

// Reads the rows while the parser goes through them, each as soon as it is parsed, with
// the columns the document gave before its rows. The tree of all rows is never built.
class RowSink : public JsonElementSink {
 public:
  void Open(const JsonValue& root) override {
    m_rows.clear();
    m_count = 0;
    m_bad = false;
    std::vector<ResultColumn> pageColumns;
    m_ready = ReadColumns(root.Member("columns"), pageColumns, nullptr);
    m_rules = RulesOf(pageColumns);
    std::vector<ResultColumn> output;
    for (const ResultColumn& page : pageColumns) AppendOutputColumns(page, output);
    m_width = output.size();
  }

  void Take(JsonValue& element) override {
    if (++m_count > MaxResultRows) {
      m_rows = {};  // "too many rows" whatever else is wrong with them
      return;
    }
    if (!m_ready || m_bad) return;
    m_bad = !ReadRow(element, m_rules, m_width, m_rows.emplace_back());
    if (m_bad) m_rows = {};
  }

  // The rows, when they were read with the columns the document ends with; false when
  // the columns before the rows were missing or other ones, so that the rows need the
  // whole tree.
  bool Finish(const std::vector<ResultColumn>& pageColumns, std::vector<ResultRow>& rows,
              std::string* error, bool& read) {
    read = m_ready && m_rules == RulesOf(pageColumns);
    if (!read) return false;
    if (m_count > MaxResultRows) return Fail(error, "too many rows");
    if (m_bad) return Fail(error, "bad row");
    rows = std::move(m_rows);
    return true;
  }

 private:
  std::vector<ResultRow> m_rows;
  std::vector<CellRule> m_rules;
  std::size_t m_width = 0;
  std::size_t m_count = 0;
  bool m_ready = false;
  bool m_bad = false;
};

// The usual document: the head, then the rows read as they are parsed. False with read
// clear when the document needs the whole tree for its rows.
bool ReadStreamed(std::string_view text, ResultSet& set, std::string* error, bool& read) {
  read = true;
  JsonValue root;
  RowSink sink;
  std::string parseError;
  if (!ParseJson(text, root, &parseError, "rows", sink)) return Fail(error, parseError);
  std::vector<ResultColumn> pageColumns;
  if (!ReadHead(root, set, pageColumns, error)) return false;
  // Every array under the key went to the sink; anything else is no list of rows.
  const JsonValue& list = root.Member("rows");
  if (list.Kind() != JsonKind::Array) return Fail(error, "bad row list");
  return sink.Finish(pageColumns, set.rows, error, read);
}

}  // namespace

bool ReadResultsFromTree(std::string_view text, ResultSet& out, std::string* error) {
  out = ResultSet{};
  JsonValue root;
  std::string parseError;
  std::vector<ResultColumn> pageColumns;
  if (ParseJson(text, root, &parseError)) {
    if (ReadHead(root, out, pageColumns, error) &&
        ReadRows(root.MutableMember("rows"), pageColumns, out.columns.size(), out.rows, error)) {
      return true;
    }
  } else {
    Fail(error, parseError);
  }
  out = ResultSet{};
  return false;
}

bool ReadResults(std::string_view text, ResultSet& out, std::string* error) {
  out = ResultSet{};
  bool read = true;
  if (ReadStreamed(text, out, error, read)) return true;
  if (!read) return ReadResultsFromTree(text, out, error);
  out = ResultSet{};
  return false;
}

std::string ResultsScreenName(const ResultSet& set, const ScreenStore& screens) {
  std::string path;
  std::string fragment;
  if (!SplitScreenerUrl(set.url, path, fragment)) return {};
  for (const SavedScreen& screen : screens) {
    if (ScreenerKindName(screen.kind) == set.screener && screen.path == path &&
        screen.hash == fragment) {
      return std::string(screen.name);
    }
  }
  if (!fragment.empty()) return {};
  return ShownMenuLabel(PresetLabel(path));
}

std::string ResultsTitle(const ResultSet& set, const ScreenStore& screens) {
  std::string title = ResultsScreenName(set, screens);
  if (title.empty()) return ScreenerTitle(set);
  if (!set.asof.empty()) title += " " + set.asof;
  return title;
}

std::string ResultsCountText(const ResultSet& set) {
  const bool etfs = set.screener == "etfs";
  const bool one = set.rows.size() == 1;
  std::string text = FormatGroupedInteger(static_cast<std::int64_t>(set.rows.size()));
  text += etfs ? (one ? " ETF" : " ETFs") : (one ? " stock" : " stocks");
  return text;
}

}  // namespace velquist
