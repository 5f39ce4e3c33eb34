#include "gui/app/text_resource.h"

#include <QFile>

namespace velquist {

std::string ReadTextResource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  std::string bytes = file.readAll().toStdString();
  if (bytes.size() > 2 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  return bytes;
}

}  // namespace velquist
