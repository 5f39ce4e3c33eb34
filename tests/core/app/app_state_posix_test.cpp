// SaveAppState with what only POSIX file systems give: symbolic links, and the error
// number of a folder where the file should be.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "app/files.h"
#include "fake_option_store.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::FakeOptionStore;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

const std::string OneScreen =
    R"({"screens":[{"name":"Value","tab":"stocks","path":"/screener.html","hash":"v=1"}],)"
    R"("zoom":2,"colorMode":"dark","activeTab":"etfs"})";

// screens.json as a symbolic link: read through it, and replaced by the save as the
// replacing move replaces any file, so that what the link points at is never written.
TEST(LoadAppState, LinkedFileIsReadAndTheSaveReplacesTheLinkNotItsTarget) {
  TestFolder dir;
  const std::string elsewhere = dir / "synced.json";
  WriteTestFile(elsewhere, OneScreen);
  ASSERT_EQ(symlink(elsewhere.c_str(), (dir / "screens.json").c_str()), 0);
  FakeOptionStore store;
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  ASSERT_EQ(state.screens.size(), 1u);

  EXPECT_TRUE(SaveAppState(state, store, dir.Path()).screensWritten);
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "screens.json"));
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), ScreensFileText(state.screens));
  EXPECT_EQ(ReadTestFile(elsewhere), OneScreen);
}

// A link to a file too large to read loads nothing, is not set aside (the screens are not
// in the link), and the file it points at survives the save.
TEST(LoadAppState, LinkToAnOversizedFileKeepsThatFile) {
  TestFolder dir;
  const std::string elsewhere = dir / "big.json";
  const std::string big = "{\"screens\": []}" + std::string(MaxReadFileSize + 1 - 15, ' ');
  ASSERT_EQ(big.size(), MaxReadFileSize + 1);
  WriteTestFile(elsewhere, big);
  ASSERT_EQ(symlink(elsewhere.c_str(), (dir / "screens.json").c_str()), 0);
  FakeOptionStore store;
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  EXPECT_TRUE(state.screens.empty());
  EXPECT_FALSE(state.screensFileToSetAside);

  EXPECT_TRUE(SaveAppState(state, store, dir.Path()).screensWritten);
  EXPECT_TRUE(ReadTestFile(elsewhere) == big);
  EXPECT_FALSE(Exists(dir / "screens.json.bad"));
}

// A folder named screens.json: nothing to load, and every save fails with the error
// message (the folder cannot be replaced by a file), leaving the folder as it was.
TEST(LoadAppState, FolderInPlaceOfTheFileFailsEverySaveAndStaysIntact) {
  TestFolder dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir / "screens.json"));
  WriteTestFile(dir / "screens.json/mine.txt", "the user's");
  FakeOptionStore store;
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  EXPECT_TRUE(state.screens.empty());
  for (int attempt = 0; attempt < 2; ++attempt) {
    SaveResult result = SaveAppState(state, store, dir.Path());
    EXPECT_FALSE(result.screensWritten);
    ASSERT_TRUE(result.notice.has_value());
    EXPECT_EQ(result.notice->icon, NoticeIcon::Error);
    EXPECT_EQ(result.notice->text, "The saved screens could not be written to\n" +
                                       (dir / "screens.json") + "\n\nError 21.");
  }
  EXPECT_EQ(ReadTestFile(dir / "screens.json/mine.txt"), "the user's");
  EXPECT_FALSE(Exists(dir / "screens.json.tmp"));
}

}  // namespace
}  // namespace velquist
