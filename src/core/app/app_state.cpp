#include "app/app_state.h"

#include <filesystem>
#include <system_error>

#include "app/files.h"

namespace velquist {
namespace {

Notice SetAsideNotice(const std::string& parserError) {
  return Notice{NoticeIcon::Warning,
                "The saved screens could not be read and were set aside as "
                "screens.json.bad.\n\n" +
                    parserError};
}

Notice WriteFailedNotice(const std::string& path, int error) {
  return Notice{NoticeIcon::Error, "The saved screens could not be written to\n" + path +
                                       "\n\nError " + std::to_string(error) + "."};
}

// Moves screens.json to screens.json.bad, replacing an older one. A file that is gone
// already has nothing left to keep. error tells why the move failed.
bool SetAside(const std::string& path, int& error) {
  if (MoveFileReplacing(path, path + ".bad")) return true;
  error = LastFileError();
  std::error_code ignored;
  return !std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

bool IsRegularFile(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ignored));
}

Notice OptionsNotSavedNotice() {
  return Notice{NoticeIcon::Warning,
                "The program options could not be saved to the registry key\n" +
                    std::string(OptionsKeyPath) + "."};
}

}  // namespace

std::string ScreensFilePath(const std::string& dataFolder) { return dataFolder + "/screens.json"; }

std::optional<Notice> LoadAppState(AppState& state, OptionStore& store,
                                   const std::string& dataFolder) {
  std::optional<Notice> notice;
  const std::string path = ScreensFilePath(dataFolder);
  std::string text;
  state.screensFileToSetAside = false;
  if (ReadWholeFile(path, text)) {
    ScreensFileOptions fileOptions;
    std::string error;
    bool parsed = ParseScreensFile(text, fileOptions, state.screens, &error);
    // Parsing starts from the defaults whether or not it succeeds.
    state.options = AppOptions{};
    if (parsed) {
      ApplyScreensFileOptions(fileOptions, state.options);
    } else {
      // Until the move succeeds, no save may replace the file.
      int ignored = 0;
      state.screensFileToSetAside = !SetAside(path, ignored);
      notice = SetAsideNotice(error);
    }
  } else {
    // A missing file is the normal first start; a file that is there but could not be
    // read holds screens that the user would lose to the next save.
    state.screensFileToSetAside = IsRegularFile(path);
  }
  LoadOptions(store, state.options);
  return notice;
}

SaveResult SaveAppState(AppState& state, OptionStore& store, const std::string& dataFolder) {
  SaveResult result;
  bool optionsSaved = SaveOptions(store, state.options);
  const std::string path = ScreensFilePath(dataFolder);
  if (state.screensFileToSetAside) {
    int error = 0;
    if (!SetAside(path, error)) {
      result.notice = WriteFailedNotice(path, error);
      return result;
    }
    state.screensFileToSetAside = false;
  }
  if (!WriteFileAtomic(path, ScreensFileText(state.screens))) {
    result.notice = WriteFailedNotice(path, LastFileError());
    return result;
  }
  result.screensWritten = true;
  if (!optionsSaved && !state.optionsWarningShown) {
    state.optionsWarningShown = true;
    result.notice = OptionsNotSavedNotice();
  }
  return result;
}

}  // namespace velquist
