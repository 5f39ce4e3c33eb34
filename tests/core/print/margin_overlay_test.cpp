#include "print/margin_overlay.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

std::size_t Count(const std::string& text, std::string_view needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

const PageMarginTexts Texts{"Bob's <picks> & co", "Data as of 2024-05-03",
                            "host \xE2\x80\xA2 Velquist"};

TEST(BuildMarginOverlay, OnePageBoxPerReportPage) {
  const std::string html = BuildMarginOverlay(Texts, 3, {210, 297});
  EXPECT_EQ(Count(html, "<div class=\"p\">"), 3u);
  for (const char* page : {"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}) {
    EXPECT_EQ(Count(html, page), 1u) << page;
  }
  EXPECT_EQ(Count(html, "host \xE2\x80\xA2 Velquist"), 3u);
}

TEST(BuildMarginOverlay, NoTopTextsOnTheFirstPage) {
  const std::string html = BuildMarginOverlay(Texts, 2, {210, 297});
  const std::size_t second = html.find("<div class=\"p\">", html.find("<div class=\"p\">") + 1);
  ASSERT_NE(second, std::string::npos);
  const std::string first = html.substr(0, second);
  EXPECT_EQ(Count(first, "Data as of"), 0u);
  EXPECT_EQ(Count(first, "class=\"t\""), 0u);
  EXPECT_EQ(Count(html.substr(second), "Data as of 2024-05-03"), 1u);
  EXPECT_EQ(Count(html.substr(second), "<div class=\"t\">"), 1u);
}

TEST(BuildMarginOverlay, TextsAreEscaped) {
  const std::string html = BuildMarginOverlay(Texts, 2, {210, 297});
  EXPECT_EQ(Count(html, "Bob&#39;s &lt;picks&gt; &amp; co"), 1u);
  EXPECT_EQ(Count(html, "<picks>"), 0u);
}

TEST(BuildMarginOverlay, PagesOfThePaperSizeWithTheReportsBands) {
  const std::string html = BuildMarginOverlay(Texts, 1, {297, 210});
  EXPECT_NE(html.find("@page{margin:0;size:297.00mm 210.00mm}"), std::string::npos);
  // A box a little shorter than the sheet, so no page spills onto a further one.
  EXPECT_NE(html.find("height:209.50mm"), std::string::npos);
  EXPECT_NE(html.find("left:10.00mm;right:10.00mm;height:13.00mm"), std::string::npos);
  EXPECT_NE(html.find("font:8pt 'Segoe UI',Arial,sans-serif;color:#555"), std::string::npos);
  EXPECT_NE(html.find("default-src 'none'"), std::string::npos);
}

TEST(BuildMarginOverlay, AtLeastOnePage) {
  EXPECT_EQ(Count(BuildMarginOverlay(Texts, 0, {210, 297}), "<div class=\"p\">"), 1u);
  EXPECT_EQ(Count(BuildMarginOverlay(Texts, -4, {210, 297}), "Page 1 of 1"), 1u);
}

}  // namespace
}  // namespace velquist
