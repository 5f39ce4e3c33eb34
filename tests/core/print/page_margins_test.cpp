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

TEST(PageNumbers, TextsAndFirstPage) {
  EXPECT_EQ(PageNumberText(1, 1), "Page 1 of 1");
  EXPECT_EQ(PageNumberText(12, 345), "Page 12 of 345");
  EXPECT_FALSE(PageHasTopTexts(1));
  EXPECT_TRUE(PageHasTopTexts(2));
}

}  // namespace
}  // namespace velquist
