#include "print/page_margins.h"

#include <gtest/gtest.h>

#include "print/report.h"
#include "site_constants.h"

namespace velquist {
namespace {

ResultSet Set(std::string screener, std::size_t columns, std::string asof) {
  ResultSet set;
  set.screener = std::move(screener);
  set.asof = std::move(asof);
  for (std::size_t i = 0; i < columns; ++i) set.columns.push_back({"c", "C", "num", false});
  return set;
}

TEST(ReportMarginTexts, WordedAsThePageRules) {
  const struct {
    std::string screener;
    std::string title;
    std::string asof;
    std::string topLeft;
    std::string topRight;
  } cases[] = {
      {"stocks", "", "", "Stock screener", ""},
      {"etfs", "", "2024-05-03", "ETF screener", "Data as of 2024-05-03"},
      {"stocks", "Bob's <picks>", "2024-05-03", "Bob's <picks>", "Data as of 2024-05-03"},
  };
  for (const auto& c : cases) {
    const PageMarginTexts texts = ReportMarginTexts(Set(c.screener, 3, c.asof), c.title);
    EXPECT_EQ(texts.topLeft, c.topLeft);
    EXPECT_EQ(texts.topRight, c.topRight);
    EXPECT_EQ(texts.bottomLeft, std::string(SiteHost) + " \xE2\x80\xA2 Velquist");
  }
}

TEST(ReportMarginTexts, TheReportCarriesTheSameWords) {
  const ResultSet set = Set("stocks", 2, "2024-05-03");
  const PageMarginTexts texts = ReportMarginTexts(set, "Mine");
  const std::string report = BuildPrintReport(set, "Mine", "");
  EXPECT_NE(report.find("@top-left{content:\"" + texts.topLeft + "\""), std::string::npos);
  EXPECT_NE(report.find("@top-right{content:\"" + texts.topRight + "\""), std::string::npos);
}

TEST(PageShape, LandscapeFromNineColumns) {
  EXPECT_FALSE(IsLandscapeReport(Set("stocks", 1, "")));
  EXPECT_FALSE(IsLandscapeReport(Set("stocks", 8, "")));
  EXPECT_TRUE(IsLandscapeReport(Set("stocks", 9, "")));
  EXPECT_TRUE(IsLandscapeReport(Set("stocks", 64, "")));
  for (std::size_t n : {8u, 9u}) {
    const std::string report = BuildPrintReport(Set("stocks", n, ""), "", "");
    EXPECT_EQ(report.find("size:landscape") != std::string::npos,
              IsLandscapeReport(Set("stocks", n, "")));
  }
}

// The texts drawn on the pages have the type, and the pages the margins, that the report's
// page rules give them.
TEST(ReportMarginTexts, TheReportGivesTheSameTypeAndMargins) {
  EXPECT_EQ(MarginTextCss(), "font:8pt 'Segoe UI',Arial,sans-serif;color:#555");
  EXPECT_EQ(PageMarginCss(), "margin:13mm 10mm 13mm 10mm");
  const std::string report = BuildPrintReport(Set("stocks", 2, "2024-05-03"), "Mine", "");
  EXPECT_NE(report.find("@page{" + PageMarginCss() + ";"), std::string::npos);
  const std::string rule = MarginTextCss() + "}";
  for (std::string_view box : {"@top-left{", "@top-right{", "@bottom-left{", "@bottom-right{"}) {
    const std::size_t at = report.find(box);
    ASSERT_NE(at, std::string::npos) << box;
    EXPECT_EQ(report.substr(report.find(";font:", at) + 1, rule.size()), rule) << box;
  }
}

TEST(PlaceMarginBand, BandsAreTheMarginsAndTheRightTextEndsAtTheSideMargin) {
  const double mm = 72 / 25.4;
  const double side = 10 * mm;
  const double band = 13 * mm;
  const double a4w = 210 * mm;
  const double a4h = 297 * mm;
  const struct {
    double width;
    double height;
    bool top;
    double right;
    double bandTop;
    double rightX;
    double leftWidth;
  } cases[] = {
      // A4 portrait: the band is 190 mm wide; 12 pt stay free before the right text.
      {a4w, a4h, true, 100, 0, a4w - side - 100, a4w - 2 * side - 100 - 12},
      {a4w, a4h, false, 100, a4h - band, a4w - side - 100, a4w - 2 * side - 100 - 12},
      // Landscape: the same margins on the longer side.
      {a4h, a4w, false, 50, a4w - band, a4h - side - 50, a4h - 2 * side - 50 - 12},
      // No right text: the left text may take all but the gap.
      {a4w, a4h, true, 0, 0, a4w - side, a4w - 2 * side - 12},
      {a4w, a4h, true, -5, 0, a4w - side, a4w - 2 * side - 12},
      // A right text wider than the band leaves the left text no room.
      {a4w, a4h, true, 1000, 0, side + 12, 0},
      {a4w, a4h, true, a4w - 2 * side - 6, 0, side + 12, 0},
  };
  for (const auto& c : cases) {
    const MarginBandPlace place = PlaceMarginBand(c.width, c.height, c.top, c.right);
    EXPECT_NEAR(place.top, c.bandTop, 1e-9) << c.right;
    EXPECT_NEAR(place.height, band, 1e-9);
    EXPECT_NEAR(place.leftX, side, 1e-9);
    EXPECT_NEAR(place.rightX, c.rightX, 1e-9) << c.right;
    EXPECT_NEAR(place.leftWidth, c.leftWidth, 1e-9) << c.right;
  }
}

TEST(PageNumbers, TextsAndFirstPage) {
  EXPECT_EQ(PageNumberText(1, 1), "Page 1 of 1");
  EXPECT_EQ(PageNumberText(12, 345), "Page 12 of 345");
  EXPECT_FALSE(PageHasTopTexts(1));
  EXPECT_TRUE(PageHasTopTexts(2));
}

}  // namespace
}  // namespace velquist
