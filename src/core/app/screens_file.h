// Reading a screens file that the user offers for import.
#pragma once

#include <string>

#include "data/screens.h"

namespace velquist {

// Reads the file's "screens" list into list (cleared first; at most MaxSavedScreens,
// invalid entries skipped, repeated names replaced). False when the file cannot be read
// (error empty), is not JSON (the parser's error) or has no "screens" array.
bool ReadScreensFile(const std::string& path, ScreenStore& list, std::string& error);

}  // namespace velquist
