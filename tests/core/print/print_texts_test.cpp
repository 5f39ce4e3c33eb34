#include "print/print_texts.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(IsLongPrintout, AsksFromTheThousandAndFirstRow) {
  EXPECT_FALSE(IsLongPrintout(1));
  EXPECT_FALSE(IsLongPrintout(1000));
  EXPECT_TRUE(IsLongPrintout(1001));
  EXPECT_TRUE(IsLongPrintout(50'000));
}

TEST(PrintTexts, Literals) {
  EXPECT_EQ(LongPrintoutQuestion("1,234 stocks"),
            "Print all 1,234 stocks?\n\nThat is a long printout. The print preview shows the "
            "number of pages, and you can print a page range or save a PDF there.");
  EXPECT_EQ(PrintWindowCaption("Penny stocks", "12 stocks"),
            "Print \xE2\x80\x94 Penny stocks (12 stocks)");
  EXPECT_EQ(PrintPreviewStatusText("1 ETF"), "Print preview: 1 ETF");
}

TEST(PrintedTimeText, PadsEveryField) {
  EXPECT_EQ(PrintedTimeText(2024, 5, 3, 7, 5), "2024-05-03 07:05");
  EXPECT_EQ(PrintedTimeText(2024, 12, 31, 23, 59), "2024-12-31 23:59");
  EXPECT_EQ(PrintedTimeText(999, 1, 1, 0, 0), "0999-01-01 00:00");
  EXPECT_EQ(PrintedTimeText(12345, 1, 1, 0, 0), "12345-01-01 00:00");
}

}  // namespace
}  // namespace velquist
