// Where the main window opens and what is remembered of it when it closes.
#pragma once

#include "app/options.h"

class QWidget;

namespace velquist {

// Places and shows window: at the stored rectangle (maximised when it was) when the
// placement is valid and some screen shows part of it, else centred on its screen at
// 1360 x 900 or 85 % of the available area, whichever is smaller. minimized keeps a
// minimised start.
void RestorePlacement(QWidget& window, const SavedPlacement& placement, bool minimized);

// Records the window's normal rectangle and whether it is (or will restore to) maximised.
void CapturePlacement(const QWidget& window, SavedPlacement& placement);

}  // namespace velquist
