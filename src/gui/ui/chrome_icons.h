// The application icon at every size the window manager may ask for.
#pragma once

#include <QIcon>

namespace velquist {

QIcon AppIcon();

}  // namespace velquist
