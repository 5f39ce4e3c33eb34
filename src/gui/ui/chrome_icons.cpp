#include "gui/ui/chrome_icons.h"

namespace velquist {

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 20, 24, 32, 40, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/images/app_icon_%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace velquist
