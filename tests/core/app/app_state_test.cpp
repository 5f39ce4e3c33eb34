#include "app/app_state.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "data/json.h"
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

TEST(LoadAppState, MissingFileIsSilentAndTheOptionsStillLoad) {
  TestFolder dir;
  FakeOptionStore store;
  store.values["Zoom"] = 150u;
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  EXPECT_TRUE(state.screens.empty());
  EXPECT_EQ(state.options.Zoom, 1.5);
}

TEST(LoadAppState, FileOptionsThenStoredOptionsOnTop) {
  TestFolder dir;
  WriteTestFile(dir / "screens.json", "\xEF\xBB\xBF" + OneScreen);
  FakeOptionStore store;
  store.values["ColorMode"] = std::string("light");
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  ASSERT_EQ(state.screens.size(), 1u);
  EXPECT_EQ(state.screens[0].hash, "v=1");
  EXPECT_EQ(state.options.Zoom, 2.0);                      // from the file
  EXPECT_EQ(state.options.ActiveTab, ScreenerKind::Etfs);  // from the file
  EXPECT_EQ(state.options.ColorMode, ColorMode::Light);    // the store wins
}

TEST(LoadAppState, CorruptFileIsSetAsideWithTheParserError) {
  TestFolder dir;
  const std::string corrupt = "{\"screens\": [1, 2";
  WriteTestFile(dir / "screens.json", corrupt);
  WriteTestFile(dir / "screens.json.bad", "an older bad file");
  FakeOptionStore store;
  store.values["ShowSplash"] = 0u;
  AppState state;
  state.options.Zoom = 3;  // parsing starts from the defaults
  std::optional<Notice> notice = LoadAppState(state, store, dir.Path());

  JsonValue ignored;
  std::string parserError;
  ASSERT_FALSE(ParseJson(corrupt, ignored, &parserError));
  ASSERT_TRUE(notice.has_value());
  EXPECT_EQ(notice->icon, NoticeIcon::Warning);
  EXPECT_EQ(notice->text,
            "The saved screens could not be read and were set aside as screens.json.bad.\n\n" +
                parserError);
  EXPECT_FALSE(Exists(dir / "screens.json"));
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), corrupt);
  EXPECT_TRUE(state.screens.empty());
  EXPECT_EQ(state.options.Zoom, 1.0);
  EXPECT_FALSE(state.options.ShowSplash);  // the store is still read
}

TEST(LoadAppState, ArrayFileIsNotAnObject) {
  TestFolder dir;
  WriteTestFile(dir / "screens.json", "[]");
  FakeOptionStore store;
  AppState state;
  std::optional<Notice> notice = LoadAppState(state, store, dir.Path());
  ASSERT_TRUE(notice.has_value());
  EXPECT_TRUE(notice->text.ends_with("\n\nnot a JSON object"));
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), "[]");
}

TEST(LoadAppState, CorruptFileThatCannotBeSetAsideIsNotOverwritten) {
  TestFolder dir;
  const std::string corrupt = "{\"screens\": [{\"name\": \"Mine\"";
  WriteTestFile(dir / "screens.json", corrupt);
  // A folder with something in it under the set-aside name makes the move fail.
  ASSERT_TRUE(std::filesystem::create_directory(dir / "screens.json.bad"));
  WriteTestFile(dir / "screens.json.bad/x", "");
  FakeOptionStore store;
  AppState state;
  std::optional<Notice> notice = LoadAppState(state, store, dir.Path());
  ASSERT_TRUE(notice.has_value());
  EXPECT_EQ(notice->icon, NoticeIcon::Warning);
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), corrupt);

  state.screens.push_back(SavedScreen{"New", ScreenerKind::Stocks, "/screener.html", ""});
  SaveResult refused = SaveAppState(state, store, dir.Path());
  EXPECT_FALSE(refused.screensWritten);
  ASSERT_TRUE(refused.notice.has_value());
  EXPECT_EQ(refused.notice->icon, NoticeIcon::Error);
  EXPECT_TRUE(refused.notice->text.starts_with("The saved screens could not be written to\n" +
                                               (dir / "screens.json") + "\n\nError "))
      << refused.notice->text;
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), corrupt);

  // Once the way is free, the next save moves the old file aside first.
  std::filesystem::remove_all(dir / "screens.json.bad");
  SaveResult saved = SaveAppState(state, store, dir.Path());
  EXPECT_TRUE(saved.screensWritten);
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), corrupt);
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), ScreensFileText(state.screens));
  // Set aside once; later saves simply replace the file.
  WriteTestFile(dir / "screens.json.bad", "kept");
  EXPECT_TRUE(SaveAppState(state, store, dir.Path()).screensWritten);
  EXPECT_EQ(ReadTestFile(dir / "screens.json.bad"), "kept");
}

TEST(LoadAppState, UnreadableFileIsSetAsideBeforeTheFirstSave) {
  TestFolder dir;
  // Too large to read: the program starts without it and says nothing.
  const std::string big = "{\"screens\": []}" + std::string(MaxReadFileSize, ' ');
  WriteTestFile(dir / "screens.json", big);
  FakeOptionStore store;
  AppState state;
  EXPECT_FALSE(LoadAppState(state, store, dir.Path()).has_value());
  EXPECT_TRUE(state.screens.empty());

  EXPECT_TRUE(SaveAppState(state, store, dir.Path()).screensWritten);
  // Compared whole but not printed whole.
  EXPECT_TRUE(ReadTestFile(dir / "screens.json.bad") == big);
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), ScreensFileText(state.screens));
}

TEST(SaveAppState, WritesTheScreensFileAndTheOptions) {
  TestFolder dir;
  RegFileOptionStore store(dir / "Velquist.reg");
  AppState state;
  state.screens.push_back(SavedScreen{"Value", ScreenerKind::Stocks, "/screener.html", "v=1"});
  state.options.Zoom = 1.25;
  SaveResult result = SaveAppState(state, store, dir.Path());
  EXPECT_TRUE(result.screensWritten);
  EXPECT_FALSE(result.notice.has_value());
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), ScreensFileText(state.screens));

  AppState loaded;
  RegFileOptionStore again(dir / "Velquist.reg");
  EXPECT_FALSE(LoadAppState(loaded, again, dir.Path()).has_value());
  EXPECT_EQ(loaded.screens, state.screens);
  EXPECT_EQ(loaded.options.Zoom, 1.25);
}

// The error number of a file in a folder that does not exist, as the platform gives it.
#ifdef _WIN32
constexpr int MissingFolderError = 3;  // ERROR_PATH_NOT_FOUND
#else
constexpr int MissingFolderError = ENOENT;
#endif

TEST(SaveAppState, FailedFileWriteIsAnErrorEveryTime) {
  TestFolder dir;
  const std::string missing = dir / "gone";
  FakeOptionStore store;
  store.failFinishing = true;
  AppState state;
  for (int attempt = 0; attempt < 2; ++attempt) {
    SaveResult result = SaveAppState(state, store, missing);
    EXPECT_FALSE(result.screensWritten);
    ASSERT_TRUE(result.notice.has_value());
    EXPECT_EQ(result.notice->icon, NoticeIcon::Error);
    EXPECT_EQ(result.notice->text, "The saved screens could not be written to\n" + missing +
                                       "/screens.json\n\nError " +
                                       std::to_string(MissingFolderError) + ".");
  }
  // The options warning was not shown, so it is still owed.
  EXPECT_FALSE(state.optionsWarningShown);
}

TEST(SaveAppState, OptionsWarningOnlyOnceARun) {
  TestFolder dir;
  FakeOptionStore store;
  store.failOpenForWriting = true;
  AppState state;
  SaveResult first = SaveAppState(state, store, dir.Path());
  EXPECT_TRUE(first.screensWritten);
  ASSERT_TRUE(first.notice.has_value());
  EXPECT_EQ(first.notice->icon, NoticeIcon::Warning);
  EXPECT_EQ(first.notice->text,
            "The program options could not be saved to the registry key\n"
            "HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist.");
  SaveResult second = SaveAppState(state, store, dir.Path());
  EXPECT_TRUE(second.screensWritten);
  EXPECT_FALSE(second.notice.has_value());
}

TEST(SaveAppState, ScreensFileSurvivesAFailedSave) {
  TestFolder dir;
  FakeOptionStore store;
  AppState state;
  state.screens.push_back(SavedScreen{"Kept", ScreenerKind::Etfs, "/etf-screener.html", ""});
  ASSERT_TRUE(SaveAppState(state, store, dir.Path()).screensWritten);
  const std::string before = ReadTestFile(dir / "screens.json");
  // A folder where the temporary file would go makes the next write fail.
  ASSERT_TRUE(std::filesystem::create_directory(dir / "screens.json.tmp"));
  WriteTestFile(dir / "screens.json.tmp/x", "");
  state.screens.clear();
  SaveResult result = SaveAppState(state, store, dir.Path());
  EXPECT_FALSE(result.screensWritten);
  EXPECT_EQ(ReadTestFile(dir / "screens.json"), before);
}

}  // namespace
}  // namespace velquist
