#include "app/screens_file.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace velquist {
namespace {

using testing::ReadTestFile;
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

SavedScreen Stock(std::string name, std::string hash = {}) {
  return SavedScreen{std::move(name), ScreenerKind::Stocks, "/screener.html", std::move(hash)};
}

TEST(ImportScreensFile, AddsUnderFreeNamesAndCountsWhatDidNotFit) {
  TestFolder dir;
  ScreenStore source{Stock("Value", "a=1"), Stock("Growth"),
                     SavedScreen{"Value", ScreenerKind::Etfs, "/etf-screener.html", "b=2"}};
  ASSERT_TRUE(ExportScreensFile(dir / "out.json", source));
  EXPECT_EQ(ReadTestFile(dir / "out.json"), ScreensFileText(source));

  // Into an empty store: the same screens in the same order.
  ScreenStore store;
  ScreensImport result;
  std::string error = "stale";
  ASSERT_TRUE(ImportScreensFile(dir / "out.json", store, result, error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(store, source);
  EXPECT_EQ(result.added, 3u);
  EXPECT_EQ(result.leftOut, 0u);

  // Again: every screen is there already and comes in under a " (2)" name.
  ASSERT_TRUE(ImportScreensFile(dir / "out.json", store, result, error));
  ASSERT_EQ(store.size(), 6u);
  EXPECT_EQ(store[3], Stock("Value (2)", "a=1"));
  EXPECT_EQ(store[4].name, "Growth (2)");
  EXPECT_EQ(store[5].name, "Value (2)");
  EXPECT_EQ(store[5].kind, ScreenerKind::Etfs);
  EXPECT_EQ(result.added, 3u);

  // Two places left: one screen is left out.
  while (store.size() < MaxSavedScreens - 2)
    store.push_back(Stock("n" + std::to_string(store.size())));
  ASSERT_TRUE(ImportScreensFile(dir / "out.json", store, result, error));
  EXPECT_EQ(store.size(), MaxSavedScreens);
  EXPECT_EQ(result.added, 2u);
  EXPECT_EQ(result.leftOut, 1u);
  ASSERT_TRUE(ImportScreensFile(dir / "out.json", store, result, error));
  EXPECT_EQ(result.added, 0u);
  EXPECT_EQ(result.leftOut, 3u);
}

TEST(ImportScreensFile, EmptyListAddsNothingAndBadFilesChangeNothing) {
  TestFolder dir;
  const ScreenStore before{Stock("Value")};
  ScreenStore store = before;
  ScreensImport result{9, 9};
  std::string error;
  WriteTestFile(dir / "empty.json", R"({"screens": []})");
  ASSERT_TRUE(ImportScreensFile(dir / "empty.json", store, result, error));
  EXPECT_EQ(result.added, 0u);
  EXPECT_EQ(result.leftOut, 0u);
  EXPECT_EQ(store, before);

  for (const char* bytes : {"{\"screens\": [", "[]", "{\"screens\": {}}", "\x01"}) {
    WriteTestFile(dir / "bad.json", bytes);
    EXPECT_FALSE(ImportScreensFile(dir / "bad.json", store, result, error)) << bytes;
    EXPECT_FALSE(error.empty()) << bytes;
    EXPECT_EQ(store, before);
  }
  EXPECT_FALSE(ImportScreensFile(dir / "missing.json", store, result, error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(store, before);
}

TEST(ExportScreensFile, UnwritableTargetFails) {
  TestFolder dir;
  WriteTestFile(dir / "file", "x");
  // A path below a regular file cannot be created, whoever runs the test.
  EXPECT_FALSE(ExportScreensFile(dir / "file/out.json", {Stock("Value")}));
  EXPECT_EQ(ReadTestFile(dir / "file"), "x");
}

}  // namespace
}  // namespace velquist
