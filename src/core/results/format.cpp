#include "results/format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "site/url.h"
#include "site_constants.h"
#include "text/utf8.h"

namespace velquist {
namespace {

// Large enough for "%.6f" of the largest double (309 integer digits).
constexpr std::size_t FixedBufferSize = 400;

// Appends digits with "," before every group of three counted from the right.
void AppendGrouped(std::string_view digits, std::string& out) {
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
}

bool HasNonZeroDigit(std::string_view text) {
  return text.find_first_of("123456789") != std::string_view::npos;
}

std::string FormatGeneral(double v, int precision) {
  std::array<char, 40> buf{};
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, precision);
  return std::string(buf.data(), res.ptr);
}

// The first of %.{first}g ... %.17g whose text reads back to exactly v.
std::string ReadBackGeneral(double v, int first) {
  std::string text;
  for (int precision = first; precision <= 17; ++precision) {
    text = FormatGeneral(v, precision);
    double back = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), back);
    if (res.ec == std::errc() && back == v) break;
  }
  return text;
}

bool IsPowerOfTwo(double v) {
  int exponent = 0;
  return std::fabs(std::frexp(v, &exponent)) == 0.5;
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

int DigitsValue(std::string_view s) {
  int v = 0;
  for (const char c : s) v = v * 10 + (c - '0');
  return v;
}

// Days from 1970-01-01 to the given proleptic Gregorian date (civil-from-days inverse:
// March-based years so the leap day falls at the end, 400-year eras of 146097 days).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr std::int64_t SerialOfUnixEpoch = 25569;  // 1970-01-01 counted from 1899-12-30

std::string FormatPrice(double v) {
  const std::string t = FormatFixedGrouped(std::fabs(v), 2);
  return (v < 0 && t != "0.00" ? "-$" : "$") + t;
}

std::string FormatPercent(double v, bool isSigned) {
  std::string t = FormatFixedGrouped(v, 2);
  if (isSigned && v > 0 && t != "0.00") t.insert(t.begin(), '+');
  t.push_back('%');
  return t;
}

}  // namespace

void AppendShortestReal(std::string& out, double v) {
  // Subnormal values carry fewer digits than the reasoning below needs; infinities and
  // NaN have no digits.
  if (!std::isnormal(v) && v != 0) {
    out.append(ReadBackGeneral(v, 15));
    return;
  }
  std::array<char, 40> buf{};
  // A whole number below 10^15 shows all its digits and nothing else (what the layout
  // below gives it too); negative zero keeps its sign there.
  if (std::fabs(v) < 1e15 && v == std::trunc(v) && !(v == 0 && std::signbit(v))) {
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::int64_t>(v));
    out.append(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    return;
  }
  // The shortest digits that read back exactly, as d.ddde±xx. The first of %.15g, %.16g,
  // %.17g that reads back shows these same digits: with at most 15 of them the 15-digit
  // rounding gives them back (every 15-digit decimal survives a trip through a double);
  // with 16 or 17 the correctly rounded text is the nearest such decimal, which is the
  // one the shortest conversion picks. Only a power of two breaks this, where the lower
  // neighbour is closer than the upper one: there the nearest 16-digit text may not read
  // back, so that case takes the printf way. What remains is the layout of %g.
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::scientific);
  const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t e = sci.rfind('e');  // among the last five characters
  const bool negative = sci.front() == '-';
  std::array<char, 17> digits{};
  std::size_t count = 0;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
    if (sci[i] != '.') digits[count++] = sci[i];
  }
  if (count == 16 && IsPowerOfTwo(v)) {
    out.append(ReadBackGeneral(v, 16));
    return;
  }
  int exponent = 0;
  const char* expBegin = sci.data() + e + (sci[e + 1] == '+' ? 2 : 1);
  std::from_chars(expBegin, sci.data() + sci.size(), exponent);
  const int precision = count > 15 ? static_cast<int>(count) : 15;
  if (exponent < -4 || exponent >= precision) {
    out.append(sci);  // %g's exponent form: no trailing zeros, at least two exponent digits
    return;
  }
  if (negative) out.push_back('-');
  const std::string_view shown(digits.data(), count);
  if (exponent < 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(shown);
    return;
  }
  const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (count <= integerDigits) {
    out.append(shown);
    out.append(integerDigits - count, '0');
    return;
  }
  out.append(shown.substr(0, integerDigits));
  out.push_back('.');
  out.append(shown.substr(integerDigits));
}

std::string FormatShortestReal(double v) {
  std::string text;
  AppendShortestReal(text, v);
  return text;
}

std::string FormatGroupedInteger(std::int64_t v) {
  // Through the unsigned magnitude so that the most negative value works too.
  const std::uint64_t magnitude =
      v < 0 ? ~static_cast<std::uint64_t>(v) + 1 : static_cast<std::uint64_t>(v);
  std::array<char, 24> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude);
  std::string out;
  if (v < 0) out.push_back('-');
  AppendGrouped(std::string_view(buf.data(), static_cast<std::size_t>(res.ptr - buf.data())), out);
  return out;
}

std::string FormatFixedGrouped(double v, int decimals) {
  if (!std::isfinite(v)) return {};
  decimals = decimals < 0 ? 0 : (decimals > 6 ? 6 : decimals);
  std::array<char, FixedBufferSize> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                 std::chars_format::fixed, decimals);
  const std::string_view plain(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t dot = plain.find('.');
  std::string out;
  out.reserve(plain.size() + plain.size() / 3 + 2);
  if (v < 0 && HasNonZeroDigit(plain)) out.push_back('-');
  AppendGrouped(plain.substr(0, dot), out);
  if (dot != std::string_view::npos) out.append(plain.substr(dot));
  return out;
}

std::string FormatMoneyCompact(double v) {
  if (!std::isfinite(v)) return {};
  const double a = std::fabs(v);
  std::string t;
  if (a >= 999'995'000'000.0) {
    t = FormatFixedGrouped(a / 1e12, 2) + "T";
  } else if (a >= 999'995'000.0) {
    t = FormatFixedGrouped(a / 1e9, 2) + "B";
  } else if (a >= 999'950.0) {
    t = FormatFixedGrouped(a / 1e6, 2) + "M";
  } else if (a >= 999.5) {
    t = FormatFixedGrouped(a / 1000.0, 1) + "K";
  } else {
    t = FormatFixedGrouped(a, 0);
  }
  return (v < 0 && HasNonZeroDigit(t) ? "-$" : "$") + t;
}

std::string FormatGeneralNumber(double v) { return FormatGeneral(v, 10); }

std::string FormatPrintValue(const ResultCell& cell, const ResultColumn& column) {
  if (cell.kind == CellKind::Missing) return {};
  if (cell.kind == CellKind::Text) return cell.text;
  const double v = cell.number;
  const std::string_view type = column.type;
  if (type == "money") return FormatMoneyCompact(v);
  if (type == "price") return FormatPrice(v);
  if (type == "pct") return FormatPercent(v, column.isSigned);
  if (type == "num" || type == "score") return FormatFixedGrouped(v, 2);
  if (type == "int" || type == "cnt") return FormatFixedGrouped(v, 0);
  if (type == "lev") return FormatFixedGrouped(v, 1) + "x";
  return FormatGeneralNumber(v);
}

std::string_view RatingWord(double x) {
  if (!std::isfinite(x) || x < 0.5 || x > 5.5) return {};
  if (x >= 4.5) return "Strong Buy";
  if (x >= 3.5) return "Buy";
  if (x >= 2.5) return "Hold";
  if (x >= 1.5) return "Sell";
  return "Strong Sell";
}

std::string_view SignalWord(double x) {
  if (x > 0) return "Golden cross";
  if (x < 0) return "Death cross";
  return {};
}

bool IsIsoDate(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
  for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsAsciiDigit(s[i])) return false;
  }
  return true;
}

bool IsoDateToSerial(std::string_view s, double& serial) {
  if (!IsIsoDate(s)) return false;
  const int year = DigitsValue(s.substr(0, 4));
  const int month = DigitsValue(s.substr(5, 2));
  const int day = DigitsValue(s.substr(8, 2));
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1900) return false;
  // Day 31 of a short month runs on into the next month, as spreadsheet programs do.
  serial = static_cast<double>(DaysFromCivil(year, month, day) + SerialOfUnixEpoch);
  return true;
}

std::string SymbolPageUrl(const ResultSet& set, std::string_view symbol) {
  if (symbol.empty() || symbol.size() > 16) return {};
  std::string slug;
  slug.reserve(symbol.size());
  for (char c : symbol) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const bool ok = (c >= 'a' && c <= 'z') || IsAsciiDigit(c) || c == '-' || c == '.';
    if (!ok) return {};
    slug.push_back(c);
  }
  const std::string path = (set.screener == "etfs" ? "/etfs/" : "/stocks/") + slug + ".html";
  return AddReferralTag(SiteUrlForPath(path));
}

std::string ScreenLinkUrl(std::string_view url) {
  const std::string prefix = std::string(SiteOrigin) + "/";
  if (url.substr(0, prefix.size()) != prefix) return {};
  std::string_view base = url;
  std::string_view fragment;
  if (const std::size_t hash = url.find('#'); hash != std::string_view::npos) {
    base = url.substr(0, hash);
    fragment = url.substr(hash);
    if (fragment == "#") fragment = {};
  }
  base = base.substr(0, base.find('?'));
  std::string out(base);
  out += "?";
  out += ReferralParameter;
  out += fragment;
  return out;
}

std::string ScreenerTitle(const ResultSet& set) {
  std::string title = set.screener == "etfs" ? "ETF screener" : "Stock screener";
  if (!set.asof.empty()) title += " " + set.asof;
  return title;
}

std::string SanitizeFileName(std::string_view title) {
  constexpr std::string_view forbidden = "\\/:*?\"<>|";
  std::string out;
  out.reserve(title.size());
  for (char c : title) {
    if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string_view::npos) {
      c = ' ';
    }
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out.push_back(c);
  }
  out.resize(Utf8CutLength(out, 120));
  while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
  const std::size_t first = out.find_first_not_of(' ');
  out.erase(0, first == std::string::npos ? out.size() : first);
  return out.empty() ? "Screener results" : out;
}

bool IsNumericColumnType(std::string_view type) {
  return type == "money" || type == "price" || type == "num" || type == "int" || type == "cnt" ||
         type == "lev" || type == "pct" || type == "score";
}

bool IsPrintNumericType(std::string_view type) {
  return IsNumericColumnType(type) || type == "date";
}

}  // namespace velquist
