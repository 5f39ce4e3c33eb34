#include "print/page_margins.h"

#include <algorithm>

#include "print/report.h"
#include "results/format.h"
#include "site_constants.h"

namespace velquist {

std::string PageMarginCss() {
  const std::string vertical = FormatShortestReal(PageMarginTopBottomMm) + "mm";
  const std::string horizontal = FormatShortestReal(PageMarginLeftRightMm) + "mm";
  return "margin:" + vertical + " " + horizontal + " " + vertical + " " + horizontal;
}

std::string MarginTextCss() {
  std::string css = "font:" + FormatShortestReal(MarginTextPointSize) + "pt ";
  for (std::string_view family : MarginTextFamilies) {
    if (family != MarginTextFamilies[0]) css += ",";
    // Family names with spaces are quoted; single words and generic families are not.
    const bool quoted = family.find(' ') != std::string_view::npos;
    css += quoted ? "'" + std::string(family) + "'" : std::string(family);
  }
  return css + ";color:" + std::string(MarginTextColor);
}

bool IsLandscapeReport(const ResultSet& set) { return set.columns.size() > LandscapeAboveColumns; }

PageMarginTexts ReportMarginTexts(const ResultSet& set, std::string_view title) {
  PageMarginTexts texts;
  texts.topLeft = PrintDisplayTitle(set, title);
  if (!set.asof.empty()) texts.topRight = "Data as of " + set.asof;
  texts.bottomLeft = std::string(SiteHost) + " \xE2\x80\xA2 Velquist";
  return texts;
}

std::string PageNumberText(int page, int pages) {
  return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

bool PageHasTopTexts(int page) { return page > 1; }

MarginBandPlace PlaceMarginBand(double pageWidthPt, double pageHeightPt, bool top,
                                double rightTextWidthPt) {
  const double side = PageMarginLeftRightMm * PointsPerMm;
  MarginBandPlace place;
  place.height = PageMarginTopBottomMm * PointsPerMm;
  place.top = top ? 0 : pageHeightPt - place.height;
  place.leftX = side;
  const double right = pageWidthPt - side;
  const double width = std::max(0.0, rightTextWidthPt);
  // A right text wider than the band pushes out of its right end, keeping the gap from
  // the band's left end; the left text then has no room at all.
  place.rightX = std::max(right - width, side + MarginTextGapPt);
  place.leftWidth = std::max(0.0, place.rightX - MarginTextGapPt - side);
  return place;
}

}  // namespace velquist
