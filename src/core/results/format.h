// Every rule that turns a result value into text or a spreadsheet number, and the links
// and titles attached to a result set. Pure functions; number text always uses "." as the
// decimal point and "," between thousands, whatever the user's locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

// The shortest "%.15g" / "%.16g" / "%.17g" text that reads back to exactly v.
std::string FormatShortestReal(double v);
// The same text appended to out, for writers that build whole files.
void AppendShortestReal(std::string& out, double v);

// Decimal digits with "," between groups of three; "-" in front of negatives.
std::string FormatGroupedInteger(std::int64_t v);

// Fixed-point text ("%.*f", decimals capped at 6) with thousands groups; a minus sign only
// when a non-zero digit is shown. Empty for NaN and infinities.
std::string FormatFixedGrouped(double v, int decimals);

// "$" text with a K/M/B/T suffix, e.g. $2.50T, -$1.2K, $999.
std::string FormatMoneyCompact(double v);

// The "%.10g" text of a number in a column of no known type.
std::string FormatGeneralNumber(double v);

// The display text of one cell in the print report (plain text, not escaped).
std::string FormatPrintValue(const ResultCell& cell, const ResultColumn& column);

// "Strong Buy" ... "Strong Sell" for 0.5 <= x <= 5.5, else empty.
std::string_view RatingWord(double x);

// "Golden cross" above 0, "Death cross" below 0, empty (no word) for 0.
std::string_view SignalWord(double x);

// Exactly YYYY-MM-DD in ASCII digits.
bool IsIsoDate(std::string_view s);
// Days since 1899-12-30 (the spreadsheet day serial) for years from 1900.
bool IsoDateToSerial(std::string_view s, double& serial);

// The symbol's page on the site with the referral tag, or empty for a symbol that cannot
// name a page.
std::string SymbolPageUrl(const ResultSet& set, std::string_view symbol);
// The site page URL with its query replaced by the referral tag, fragment kept; empty for
// any URL outside the site.
std::string ScreenLinkUrl(std::string_view url);
// "Stock screener" or "ETF screener", with the as-of date when there is one.
std::string ScreenerTitle(const ResultSet& set);
// A file name (without extension) made from a title: no path or control characters, at
// most 120 bytes, never empty.
std::string SanitizeFileName(std::string_view title);

bool IsNumericColumnType(std::string_view type);
// The numeric types and "date": right-aligned in the print report.
bool IsPrintNumericType(std::string_view type);

}  // namespace velquist
