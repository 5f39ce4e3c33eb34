// The reader walks the text once with a single cursor and recurses once per nesting level.
// Every failure stops at once and records a short message with the cursor's byte offset.
// Hot paths: strings without escapes are copied in one piece, and plain integers and short
// decimals are converted without a library call; everything else goes to std::from_chars,
// which never looks at the locale.
#include "data/json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "text/utf8.h"

namespace velquist {

namespace {

const JsonValue& SharedNull() {
  static const JsonValue null;
  return null;
}

const std::string& EmptyString() {
  static const std::string empty;
  return empty;
}

const JsonValue::Array& EmptyArray() {
  static const JsonValue::Array empty;
  return empty;
}

const JsonValue::Object& EmptyObject() {
  static const JsonValue::Object empty;
  return empty;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Bytes that belong to a number's token once its first digit has been seen.
bool IsNumberTail(char c) {
  return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsHighSurrogate(std::uint32_t cp) { return cp >= 0xD800 && cp <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t cp) { return cp >= 0xDC00 && cp <= 0xDFFF; }
bool IsSurrogate(std::uint32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// End of the longest leading part of [p, end) that reads as a plain decimal number:
// optional '-', digits, optionally '.' and digits, optionally an exponent with digits.
const char* DecimalPrefixEnd(const char* p, const char* end) {
  if (p < end && *p == '-') ++p;
  while (p < end && IsDigit(*p)) ++p;
  if (p < end && *p == '.') {
    ++p;
    while (p < end && IsDigit(*p)) ++p;
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q < end && IsDigit(*q)) {
      while (q < end && IsDigit(*q)) ++q;
      p = q;
    }
  }
  return p;
}

// Out-of-range text gives infinity or zero with the text's sign, as strtod would. The
// magnitude is too large when the first significant digit sits at or above 10^1.
double OutOfRangeValue(const char* begin, const char* end) {
  const char* p = begin;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  long long position = 0;  // decimal exponent of the first significant digit, plus one
  bool seenSignificant = false;
  bool afterPoint = false;
  for (; p < end && (IsDigit(*p) || *p == '.'); ++p) {
    if (*p == '.') {
      afterPoint = true;
    } else if (!seenSignificant && *p == '0') {
      if (afterPoint) --position;
    } else {
      seenSignificant = true;
      if (!afterPoint) ++position;
    }
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    // Saturate: any exponent beyond a million decides the result on its own.
    long long exponent = 0;
    for (; p < end && IsDigit(*p); ++p) {
      if (exponent < 1000000) exponent = exponent * 10 + (*p - '0');
    }
    position += negativeExponent ? -exponent : exponent;
  }
  const double magnitude = position > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return negative ? -magnitude : magnitude;
}

// Converts a prefix-valid decimal text that from_chars consumes whole.
double ConvertDecimal(const char* begin, const char* end) {
  double value = 0.0;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec == std::errc::result_out_of_range) return OutOfRangeValue(begin, result.ptr);
  return value;
}

class Parser {
 public:
  explicit Parser(std::string_view text)
      : m_begin(text.data()), m_cursor(text.data()), m_end(text.data() + text.size()) {}

  void StreamMember(std::string_view key, JsonElementSink& sink) {
    m_streamedKey = key;
    m_sink = &sink;
  }

  bool ParseDocument(JsonValue& out) {
    m_root = &out;
    SkipWhitespace();
    if (!ParseValue(out, 0)) return false;
    SkipWhitespace();
    if (m_cursor != m_end) return Fail("trailing characters");
    return true;
  }

  std::string ErrorText() const {
    std::string text(m_message);
    text.append(" at offset ").append(std::to_string(m_cursor - m_begin));
    return text;
  }

 private:
  bool Fail(const char* message) {
    m_message = message;
    return false;
  }

  void SkipWhitespace() {
    while (m_cursor != m_end && IsWhitespace(*m_cursor)) ++m_cursor;
  }

  bool ParseValue(JsonValue& out, int depth) {
    if (depth > JsonMaxDepth) return Fail("nesting too deep");
    if (m_cursor == m_end) return Fail("unexpected end");
    switch (*m_cursor) {
      case '"': {
        ++m_cursor;
        std::string text;
        if (!ParseString(text)) return false;
        out.SetString(std::move(text));
        return true;
      }
      case '[':
        ++m_cursor;
        return ParseArray(out.MakeArray(), depth);
      case '{':
        ++m_cursor;
        return ParseObject(out.MakeObject(), depth);
      case 't':
        if (!MatchLiteral("true")) return false;
        out.SetBool(true);
        return true;
      case 'f':
        if (!MatchLiteral("false")) return false;
        out.SetBool(false);
        return true;
      case 'n':
        if (!MatchLiteral("null")) return false;
        out.SetNull();
        return true;
      default:
        return ParseNumber(out);
    }
  }

  bool MatchLiteral(std::string_view literal) {
    if (static_cast<std::size_t>(m_end - m_cursor) < literal.size() ||
        std::string_view(m_cursor, literal.size()) != literal) {
      return Fail("syntax error");
    }
    m_cursor += literal.size();
    return true;
  }

  bool ParseNumber(JsonValue& out) {
    const char* p = m_cursor;
    const bool negative = *p == '-';
    if (negative) ++p;
    if (p == m_end || !IsDigit(*p)) {
      m_cursor = p;
      return Fail("bad number");
    }
    m_cursor = p;
    double value = 0.0;
    if (!ConvertShortDecimal(value)) {
      const char* tokenEnd = m_cursor;
      while (tokenEnd != m_end && IsNumberTail(*tokenEnd)) ++tokenEnd;
      value = ConvertToken(m_cursor, tokenEnd);
      m_cursor = tokenEnd;
    }
    out.SetNumber(negative ? -value : value);
    return true;
  }

  // The common case in page data: at most 19 digits with an optional fraction and no exponent.
  // When the digits form an integer m <= 2^53 and there are k <= 22 fraction digits, both m
  // and 10^k are exact doubles, so m / 10^k is correctly rounded, as from_chars would give.
  // On success the cursor moves past the token (which starts at the cursor, after any '-').
  bool ConvertShortDecimal(double& value) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = m_cursor;
    std::uint64_t mantissa = 0;
    int digitCount = 0;
    while (p != m_end && IsDigit(*p)) {
      if (++digitCount > 19) return false;
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      ++p;
    }
    int fractionDigits = 0;
    if (p != m_end && *p == '.') {
      ++p;
      while (p != m_end && IsDigit(*p)) {
        if (++digitCount > 19) return false;
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++p;
        ++fractionDigits;
      }
      if (fractionDigits == 0) return false;
    }
    if (p != m_end && IsNumberTail(*p)) return false;
    if (mantissa > (std::uint64_t{1} << 53) || fractionDigits > 22) return false;
    value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    m_cursor = p;
    return true;
  }

  static double ConvertToken(const char* begin, const char* end) {
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ptr == end) {
      if (result.ec == std::errc::result_out_of_range) return OutOfRangeValue(begin, end);
      return value;
    }
    // The token has a malformed tail (1.2.3, 1-2): read its longest decimal prefix.
    return ConvertDecimal(begin, DecimalPrefixEnd(begin, end));
  }

  // Reads the rest of a string after its opening quote. Runs of bytes without a quote or a
  // backslash are copied in one piece; most strings are a single run.
  bool ParseString(std::string& out) {
    out.clear();
    while (true) {
      const char* run = m_cursor;
      while (m_cursor != m_end && *m_cursor != '"' && *m_cursor != '\\') ++m_cursor;
      out.append(run, m_cursor);
      if (m_cursor == m_end) return Fail("unterminated string");
      if (*m_cursor++ == '"') return true;
      if (m_cursor == m_end) return Fail("unterminated string");
      const char e = *m_cursor++;
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out.push_back(e);
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u':
          if (!ParseUnicodeEscape(out)) return false;
          break;
        default:
          return Fail("bad escape");
      }
    }
  }

  // Reads four hex digits; on failure the cursor stays after the valid ones.
  bool ReadHex4(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (m_cursor == m_end) return false;
      const int digit = HexValue(*m_cursor);
      if (digit < 0) return false;
      value = value * 16 + static_cast<std::uint32_t>(digit);
      ++m_cursor;
    }
    return true;
  }

  // After "\u": appends the code point, pairing a high surrogate with a following "\u".
  bool ParseUnicodeEscape(std::string& out) {
    std::uint32_t cp = 0;
    if (!ReadHex4(cp)) return Fail("bad \\u escape");
    if (IsHighSurrogate(cp)) {
      if (m_end - m_cursor >= 6 && m_cursor[0] == '\\' && m_cursor[1] == 'u') {
        m_cursor += 2;
        std::uint32_t second = 0;
        if (!ReadHex4(second)) return Fail("bad surrogate");
        if (IsLowSurrogate(second)) {
          AppendUtf8(out, 0x10000 + (cp - 0xD800) * 0x400 + (second - 0xDC00));
        } else {
          AppendUtf8(out, ReplacementCharacter);
          AppendUtf8(out, IsSurrogate(second) ? ReplacementCharacter : second);
        }
        return true;
      }
      AppendUtf8(out, ReplacementCharacter);
      return true;
    }
    AppendUtf8(out, IsLowSurrogate(cp) ? ReplacementCharacter : cp);
    return true;
  }

  // The elements are gathered in a list kept per depth and reused from one array to the
  // next, then moved into the array at its exact size: one allocation per array instead
  // of one per doubling, and no spare capacity in a tree of many rows.
  bool ParseArray(JsonValue::Array& array, int depth) {
    SkipWhitespace();
    if (m_cursor != m_end && *m_cursor == ']') {
      ++m_cursor;
      return true;
    }
    const auto level = static_cast<std::size_t>(depth);
    if (m_gathered.size() <= level) m_gathered.resize(level + 1);
    const bool ok = GatherElements(depth);
    JsonValue::Array& gathered = m_gathered[level];
    array.reserve(gathered.size());
    std::move(gathered.begin(), gathered.end(), std::back_inserter(array));
    gathered.clear();
    return ok;
  }

  // The elements of a streamed array: each is parsed into the same value, as it would be
  // into its place in the tree, and handed to the sink.
  bool StreamElements(int depth) {
    m_sink->Open(*m_root);
    SkipWhitespace();
    if (m_cursor != m_end && *m_cursor == ']') {
      ++m_cursor;
      return true;
    }
    while (true) {
      m_element.SetNull();
      SkipWhitespace();
      if (!ParseValue(m_element, depth + 1)) return false;
      m_sink->Take(m_element);
      bool more = false;
      if (!AfterElement(more)) return false;
      if (!more) return true;
    }
  }

  // Past the ',' or ']' after an array's element; more tells which it was.
  bool AfterElement(bool& more) {
    SkipWhitespace();
    if (m_cursor == m_end || (*m_cursor != ',' && *m_cursor != ']')) {
      return Fail("expected , or ]");
    }
    more = *m_cursor++ == ',';
    return true;
  }

  bool GatherElements(int depth) {
    while (true) {
      // Through the index: parsing the element may grow the lists of deeper levels.
      m_gathered[static_cast<std::size_t>(depth)].emplace_back();
      SkipWhitespace();
      if (!ParseValue(m_gathered[static_cast<std::size_t>(depth)].back(), depth + 1)) {
        return false;
      }
      bool more = false;
      if (!AfterElement(more)) return false;
      if (!more) return true;
    }
  }

  bool ParseObject(JsonValue::Object& object, int depth) {
    SkipWhitespace();
    if (m_cursor != m_end && *m_cursor == '}') {
      ++m_cursor;
      return true;
    }
    std::string key;
    while (true) {
      SkipWhitespace();
      if (m_cursor == m_end || *m_cursor != '"') return Fail("expected key");
      ++m_cursor;
      if (!ParseString(key)) return false;
      SkipWhitespace();
      if (m_cursor == m_end || *m_cursor != ':') return Fail("expected :");
      ++m_cursor;
      SkipWhitespace();
      // A repeated key replaces the earlier member's value.
      JsonValue& member = object[key];
      member.SetNull();
      if (depth == 0 && m_sink != nullptr && key == m_streamedKey && m_cursor != m_end &&
          *m_cursor == '[') {
        ++m_cursor;
        member.MakeArray();
        if (!StreamElements(depth + 1)) return false;
      } else if (!ParseValue(member, depth + 1)) {
        return false;
      }
      SkipWhitespace();
      if (m_cursor == m_end) return Fail("expected , or }");
      const char c = *m_cursor;
      if (c == ',') {
        ++m_cursor;
      } else if (c == '}') {
        ++m_cursor;
        return true;
      } else {
        return Fail("expected , or }");
      }
    }
  }

  const char* m_begin;
  const char* m_cursor;
  const char* m_end;
  const char* m_message = "syntax error";
  std::vector<JsonValue::Array> m_gathered;  // elements of the open array at each depth
  const JsonValue* m_root = nullptr;
  std::string_view m_streamedKey;
  JsonElementSink* m_sink = nullptr;
  JsonValue m_element;  // the streamed element being parsed
};

}  // namespace

JsonValue::ObjectBox::ObjectBox() : m_object(std::make_unique<Object>()) {}

JsonValue::ObjectBox::ObjectBox(const ObjectBox& other)
    : m_object(other.m_object ? std::make_unique<Object>(*other.m_object) : nullptr) {}

JsonValue::ObjectBox& JsonValue::ObjectBox::operator=(const ObjectBox& other) {
  if (this != &other) {
    m_object = other.m_object ? std::make_unique<Object>(*other.m_object) : nullptr;
  }
  return *this;
}

JsonValue::ObjectBox::~ObjectBox() = default;

const JsonValue::Object* JsonValue::ObjectOrNull() const {
  const ObjectBox* box = std::get_if<ObjectBox>(&m_payload);
  return box != nullptr ? box->Get() : nullptr;
}

bool JsonValue::Bool() const {
  const bool* value = std::get_if<bool>(&m_payload);
  return value != nullptr && *value;
}

double JsonValue::Number() const {
  const double* value = std::get_if<double>(&m_payload);
  return value != nullptr ? *value : 0.0;
}

const std::string& JsonValue::Text() const {
  const std::string* value = std::get_if<std::string>(&m_payload);
  return value != nullptr ? *value : EmptyString();
}

const JsonValue& JsonValue::Member(std::string_view key) const {
  const Object* object = ObjectOrNull();
  if (object == nullptr) return SharedNull();
  const auto it = object->find(key);
  return it != object->end() ? it->second : SharedNull();
}

const JsonValue& JsonValue::At(std::size_t i) const {
  const Array* array = std::get_if<Array>(&m_payload);
  if (array == nullptr || i >= array->size()) return SharedNull();
  return (*array)[i];
}

std::size_t JsonValue::Count() const {
  if (const Array* array = std::get_if<Array>(&m_payload)) return array->size();
  if (const Object* object = ObjectOrNull()) return object->size();
  return 0;
}

const JsonValue::Array& JsonValue::Elements() const {
  const Array* array = std::get_if<Array>(&m_payload);
  return array != nullptr ? *array : EmptyArray();
}

const JsonValue::Object& JsonValue::Members() const {
  const Object* object = ObjectOrNull();
  return object != nullptr ? *object : EmptyObject();
}

JsonValue* JsonValue::MutableMember(std::string_view key) {
  ObjectBox* box = std::get_if<ObjectBox>(&m_payload);
  if (box == nullptr || box->Get() == nullptr) return nullptr;
  const auto it = box->Get()->find(key);
  return it != box->Get()->end() ? &it->second : nullptr;
}

JsonValue::Array* JsonValue::MutableElements() { return std::get_if<Array>(&m_payload); }

std::string JsonValue::TakeText() {
  std::string* value = std::get_if<std::string>(&m_payload);
  return value != nullptr ? std::move(*value) : std::string();
}

JsonValue::Array& JsonValue::MakeArray() { return m_payload.emplace<Array>(); }

JsonValue::Object& JsonValue::MakeObject() { return *m_payload.emplace<ObjectBox>().Get(); }

bool ParseJson(std::string_view text, JsonValue& out, std::string* error) {
  out = JsonValue();
  Parser parser(text);
  if (parser.ParseDocument(out)) return true;
  if (error != nullptr) *error = parser.ErrorText();
  return false;
}

bool ParseJson(std::string_view text, JsonValue& out, std::string* error, std::string_view key,
               JsonElementSink& sink) {
  out = JsonValue();
  Parser parser(text);
  parser.StreamMember(key, sink);
  if (parser.ParseDocument(out)) return true;
  if (error != nullptr) *error = parser.ErrorText();
  return false;
}

std::string QuoteJsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out.push_back(kHex[byte >> 4]);
          out.push_back(kHex[byte & 0xF]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace velquist
