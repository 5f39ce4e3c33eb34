// Draws a dialog in the light or dark colours of the main window. Message boxes and file
// dialogs keep the desktop's own colours, as they do on Windows.
#pragma once

#include <QPalette>

class QWidget;

namespace velquist {

QPalette DialogQPalette(bool dark);

// Gives dialog and the controls it holds the palette of the mode. Call it once the
// controls exist.
void ApplyDialogTheme(QWidget& dialog, bool dark);

}  // namespace velquist
