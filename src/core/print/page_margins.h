// The texts in the margins of every printed report page and the page's shape, as the
// report's page rules give them. The browser engine does not draw page-margin boxes, so
// the print preview puts these texts on the pages itself.
#pragma once

#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

// Reports with more columns than this are printed on landscape pages.
inline constexpr std::size_t LandscapeAboveColumns = 8;

// Page margins in millimetres: top and bottom, left and right.
inline constexpr double PageMarginTopBottomMm = 13;
inline constexpr double PageMarginLeftRightMm = 10;

// The font and colour of the margin texts.
inline constexpr std::string_view MarginTextFont = "8pt 'Segoe UI',Arial,sans-serif";
inline constexpr std::string_view MarginTextColor = "#555";

struct PageMarginTexts {
  std::string topLeft;     // the display title
  std::string topRight;    // "Data as of " + the as-of date, or empty without one
  std::string bottomLeft;  // the site's host, a bullet and the program's name
};

bool IsLandscapeReport(const ResultSet& set);

// title is the screen's name as given to BuildPrintReport (empty when it has none).
PageMarginTexts ReportMarginTexts(const ResultSet& set, std::string_view title);

// "Page 3 of 12", the bottom-right text of page `page` (counted from 1).
std::string PageNumberText(int page, int pages);

// The first page carries no top texts.
bool PageHasTopTexts(int page);

}  // namespace velquist
