#include "app/screens_file.h"

#include "app/files.h"

namespace velquist {

bool ReadScreensFile(const std::string& path, ScreenStore& list, std::string& error) {
  list.clear();
  error.clear();
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  return ParseScreensList(text, list, &error);
}

}  // namespace velquist
