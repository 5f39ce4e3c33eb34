// Reading a screens file that the user offers for import.
#pragma once

#include <cstddef>
#include <string>

#include "data/screens.h"

namespace velquist {

// Reads the file's "screens" list into list (cleared first; at most MaxSavedScreens,
// invalid entries skipped, repeated names replaced). False when the file cannot be read
// (error empty), is not JSON (the parser's error) or has no "screens" array.
bool ReadScreensFile(const std::string& path, ScreenStore& list, std::string& error);

// What importing a screens file did to the store.
struct ScreensImport {
  std::size_t added = 0;    // screens appended
  std::size_t leftOut = 0;  // screens of the file the store had no room left for
};

// Reads the file as ReadScreensFile does and appends its screens to store
// (ImportScreens). False, with the store unchanged, when ReadScreensFile fails.
bool ImportScreensFile(const std::string& path, ScreenStore& store, ScreensImport& result,
                       std::string& error);

// Writes the whole store to path as a screens file, atomically.
bool ExportScreensFile(const std::string& path, const ScreenStore& store);

}  // namespace velquist
