// Loading and saving everything the program keeps between runs: the saved screens in
// screens.json in the data folder, and the options in the options store. Both routines
// say what the user must be told; showing it is the caller's part.
#pragma once

#include <optional>
#include <string>

#include "app/option_store.h"
#include "app/options.h"
#include "data/screens.h"

namespace velquist {

// What the application holds for the whole run.
struct AppState {
  AppOptions options;
  ScreenStore screens;
  // Set once the options warning has been shown, so that it comes at most once a run.
  bool optionsWarningShown = false;
  // screens.json holds screens that were not loaded (it could not be read or parsed) and
  // it is still in place: it is moved to screens.json.bad before a save replaces it.
  bool screensFileToSetAside = false;
};

enum class NoticeIcon { Error, Warning };

// A message box for the user, captioned with the program's name.
struct Notice {
  NoticeIcon icon;
  std::string text;
};

struct SaveResult {
  bool screensWritten = false;
  std::optional<Notice> notice;
};

// The screens file inside a data folder.
std::string ScreensFilePath(const std::string& dataFolder);

// Start-up: reads screens.json from the data folder (DataFolder() in the program), then
// the options from the store, which override what the file carried. An unreadable file
// is passed over in silence; one that does not parse is renamed to screens.json.bad and
// the returned warning names the parser's error. A file that exists but was not loaded
// and could not be renamed yet is never overwritten (see screensFileToSetAside).
std::optional<Notice> LoadAppState(AppState& state, OptionStore& store,
                                   const std::string& dataFolder);

// Saves the options, then writes the whole screens file. A failed file write gives its
// error notice every time; a failed options save gives its warning once a run, and only
// when the file was written. A screens.json still to be set aside is renamed first; when
// that fails, the file is not written and the write error names the rename's failure.
SaveResult SaveAppState(AppState& state, OptionStore& store, const std::string& dataFolder);

}  // namespace velquist
