// Draws a dialog in the light or dark colours of the main window. The palette reaches the
// dialog's controls and the message boxes and file dialogs opened over it.
#pragma once

#include <QPalette>

class QWidget;

namespace velquist {

QPalette DialogQPalette(bool dark);

// Gives dialog and the controls it holds the palette of the mode, also for the windows it
// parents. Call it once the controls exist.
void ApplyDialogTheme(QWidget& dialog, bool dark);

}  // namespace velquist
