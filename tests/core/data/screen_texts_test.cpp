#include "data/screen_texts.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(ScreenTexts, NamesGoBetweenCurlyQuotes) {
  EXPECT_EQ(ReplaceScreenQuestionText("Big caps"),
            "A screen named \xE2\x80\x9C"
            "Big caps\xE2\x80\x9D already exists. Replace it?");
  EXPECT_EQ(SavedScreenStatusText("Big caps"),
            "Saved \xE2\x80\x9C"
            "Big caps\xE2\x80\x9D");
  EXPECT_EQ(DeleteScreenQuestionText("Value"),
            "Delete the saved screen \xE2\x80\x9CValue\xE2\x80\x9D?");
  EXPECT_EQ(SaveScreenHintText("ETF"),
            "Saves the filters, columns, sort order and page of the ETF screener. Saved "
            "screens are listed under Open (Ctrl+O).");
}

TEST(ScreenTexts, StoreFullSaysWhyAndWhatToDo) {
  const std::string text = StoreFullText("New one");
  EXPECT_EQ(text.rfind("\xE2\x80\x9CNew one\xE2\x80\x9D was not saved", 0), 0u);
  EXPECT_NE(text.find("at most 500 saved screens"), std::string::npos);
  EXPECT_NE(text.find("Delete screens you no longer need"), std::string::npos);
  EXPECT_NE(text.find("replace it"), std::string::npos);
}

TEST(ScreenTexts, ImportCounts) {
  const struct {
    std::size_t added, leftOut;
    const char* text;
  } cases[] = {
      {0, 0, "Imported 0 screens."},
      {1, 0, "Imported 1 screen."},
      {2, 0, "Imported 2 screens."},
      {1, 1,
       "Imported 1 screen.\n\n1 screen was left out: Velquist keeps at most 500 saved "
       "screens. Delete screens you no longer need under Open (Ctrl+O) to make room for "
       "more."},
      {0, 7,
       "Imported 0 screens.\n\n7 screens were left out: Velquist keeps at most 500 saved "
       "screens. Delete screens you no longer need under Open (Ctrl+O) to make room for "
       "more."},
  };
  for (const auto& c : cases) EXPECT_EQ(ImportedScreensText(c.added, c.leftOut), c.text);
}

TEST(ScreenTexts, NotAScreensFile) {
  EXPECT_EQ(NotAScreensFileText(""), "This file does not contain saved screens.\n\n");
  EXPECT_EQ(NotAScreensFileText("no \"screens\" list"),
            "This file does not contain saved screens.\n\nno \"screens\" list");
}

}  // namespace
}  // namespace velquist
