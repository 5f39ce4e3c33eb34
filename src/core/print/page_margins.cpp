#include "print/page_margins.h"

#include "print/report.h"
#include "site_constants.h"

namespace velquist {

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

}  // namespace velquist
