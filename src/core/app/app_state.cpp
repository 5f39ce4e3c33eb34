#include "app/app_state.h"

#include <cerrno>
#include <cstdio>

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
  if (ReadWholeFile(path, text)) {
    ScreensFileOptions fileOptions;
    std::string error;
    bool parsed = ParseScreensFile(text, fileOptions, state.screens, &error);
    // Parsing starts from the defaults whether or not it succeeds.
    state.options = AppOptions{};
    if (parsed) {
      ApplyScreensFileOptions(fileOptions, state.options);
    } else {
      // rename() replaces an older screens.json.bad.
      std::rename(path.c_str(), (path + ".bad").c_str());
      notice = SetAsideNotice(error);
    }
  }
  LoadOptions(store, state.options);
  return notice;
}

SaveResult SaveAppState(AppState& state, OptionStore& store, const std::string& dataFolder) {
  SaveResult result;
  bool optionsSaved = SaveOptions(store, state.options);
  const std::string path = ScreensFilePath(dataFolder);
  errno = 0;
  if (!WriteFileAtomic(path, ScreensFileText(state.screens))) {
    result.notice = WriteFailedNotice(path, errno);
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
