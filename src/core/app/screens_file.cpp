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

bool ImportScreensFile(const std::string& path, ScreenStore& store, ScreensImport& result,
                       std::string& error) {
  result = ScreensImport{};
  ScreenStore list;
  if (!ReadScreensFile(path, list, error)) return false;
  result.added = ImportScreens(store, list);
  result.leftOut = list.size() - result.added;
  return true;
}

bool ExportScreensFile(const std::string& path, const ScreenStore& store) {
  return WriteFileAtomic(path, ScreensFileText(store));
}

}  // namespace velquist
