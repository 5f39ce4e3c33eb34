#include "ui/zoom_choices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace velquist {
namespace {

TEST(ZoomChoices, TheElevenFactorsAndTheirTexts) {
  const std::vector<std::string> texts = {"50%",  "67%",  "75%",  "80%",  "90%", "100%",
                                          "110%", "125%", "150%", "175%", "200%"};
  ASSERT_EQ(ZoomChoices().size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(ZoomChoiceText(ZoomChoices()[i]), texts[i]) << i;
    if (i > 0) {
      EXPECT_LT(ZoomChoices()[i - 1], ZoomChoices()[i]) << i;
    }
  }
}

struct NearestCase {
  double zoom;
  const char* expected;
};

TEST(ZoomChoices, NearestEntryTiesToTheEarlierOne) {
  const NearestCase cases[] = {
      {1.0, "100%"},  {1.05, "100%"},  // as far from 1.0 as from 1.1
      {1.06, "110%"}, {1.04, "100%"}, {0.25, "50%"},   {0.6, "67%"},
      {0.7, "67%"},   {0.72, "75%"},  {1.375, "125%"}, {1.38, "150%"},  // 1.375 is an exact tie,
      {3.0, "200%"},  {5.0, "200%"},  {0.0, "50%"},    {-1.0, "50%"},
      {0.67, "67%"},  {1.75, "175%"}, {1.9, "200%"},   {1.875, "175%"},
  };
  for (const NearestCase& c : cases) {
    EXPECT_EQ(ZoomChoiceText(ZoomChoices()[NearestZoomChoice(c.zoom)]), c.expected) << c.zoom;
  }
}

TEST(ZoomChoices, NotANumberGivesTheFirstChoice) {
  EXPECT_EQ(NearestZoomChoice(std::numeric_limits<double>::quiet_NaN()), 0u);
  EXPECT_EQ(NearestZoomChoice(1e9), 10u);
}

}  // namespace
}  // namespace velquist
