#include "gui/app/text_resource.h"

#include <QFile>

#include "app/files.h"

namespace velquist {

std::string ReadTextResource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  std::string bytes = file.readAll().toStdString();
  RemoveByteOrderMark(bytes);
  return bytes;
}

}  // namespace velquist
