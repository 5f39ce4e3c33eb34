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

// The margin texts' type: 8 points in the first of these families the system has, grey.
inline constexpr double MarginTextPointSize = 8;
inline constexpr std::string_view MarginTextFamilies[] = {"Segoe UI", "Arial", "sans-serif"};
inline constexpr std::string_view MarginTextColor = "#555";
// The least room between a band's left and right texts, in points.
inline constexpr double MarginTextGapPt = 12;

// The margins and the margin texts' type as the report's page rules write them:
// "margin:13mm 10mm 13mm 10mm" and "font:8pt 'Segoe UI',Arial,sans-serif;color:#555".
std::string PageMarginCss();
std::string MarginTextCss();

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

// Where the two texts of a page's top or bottom band go, in points from the page's top
// left corner. The band is the page's top or bottom margin between the side margins; the
// texts are centred in its height. The right text keeps its width and ends at the band's
// right end; the left text starts at the band's left end and is cut to leftWidth (with an
// ellipsis) when it is longer.
struct MarginBandPlace {
  double top = 0;
  double height = 0;
  double leftX = 0;
  double leftWidth = 0;
  double rightX = 0;
};

inline constexpr double PointsPerMm = 72 / 25.4;

MarginBandPlace PlaceMarginBand(double pageWidthPt, double pageHeightPt, bool top,
                                double rightTextWidthPt);

}  // namespace velquist
