#include "app/screens_file.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace velquist {
namespace {

using testing::TestFolder;
using testing::WriteTestFile;

TEST(ReadScreensFile, ReadsTheScreensListOnly) {
  TestFolder dir;
  WriteTestFile(dir / "in.json",
                "\xEF\xBB\xBF{\"zoom\": 3, \"screens\": ["
                R"({"name":"A","tab":"etfs","path":"/etf-screener.html","hash":"x"},)"
                R"({"name":"bad","tab":"etfs","path":"/screener.html"}]})");
  ScreenStore list = {SavedScreen{"Old", ScreenerKind::Stocks, "/screener.html", ""}};
  std::string error = "stale";
  ASSERT_TRUE(ReadScreensFile(dir / "in.json", list, error));
  EXPECT_EQ(error, "");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], (SavedScreen{"A", ScreenerKind::Etfs, "/etf-screener.html", "x"}));
}

TEST(ReadScreensFile, Failures) {
  TestFolder dir;
  ScreenStore list;
  std::string error = "stale";
  EXPECT_FALSE(ReadScreensFile(dir / "missing.json", list, error));
  EXPECT_EQ(error, "");
  WriteTestFile(dir / "object.json", R"({"version": 1})");
  EXPECT_FALSE(ReadScreensFile(dir / "object.json", list, error));
  EXPECT_EQ(error, "no \"screens\" list");
  WriteTestFile(dir / "text.json", "screens");
  EXPECT_FALSE(ReadScreensFile(dir / "text.json", list, error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(error, "no \"screens\" list");
}

}  // namespace
}  // namespace velquist
