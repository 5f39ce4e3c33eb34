// The texts of the print command around the report: the long-printout question, the
// print window's caption and the status texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velquist {

// More rows than this ask before printing.
inline constexpr std::size_t LongPrintoutRows = 1000;

inline constexpr std::string_view PrintPreviewFailedText = "The print preview could not be opened.";

bool IsLongPrintout(std::size_t rows);
// countText is ResultsCountText, e.g. "1,234 stocks".
std::string LongPrintoutQuestion(std::string_view countText);
std::string PrintWindowCaption(std::string_view displayTitle, std::string_view countText);
std::string PrintPreviewStatusText(std::string_view countText);

// The printed time in the report's meta line: local time as "YYYY-MM-DD hh:mm".
std::string PrintedTimeText(unsigned year, unsigned month, unsigned day, unsigned hour,
                            unsigned minute);

}  // namespace velquist
