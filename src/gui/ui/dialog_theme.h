// Draws the program's dialogs, message boxes and file dialogs in the light or dark colours
// of the main window.
#pragma once

#include <QPalette>

class QDialog;
class QWidget;

namespace velquist {

QPalette DialogQPalette(bool dark);

// Gives dialog and the controls it holds the palette of the mode. Call it once the
// controls exist.
void ApplyDialogTheme(QWidget& dialog, bool dark);

// The colour mode of the message boxes and file dialogs Qt makes for the program: the main
// window's, given each time the window takes a mode (and at start, for a message shown
// before the window exists).
void SetStockDialogMode(bool dark);

// Gives a message box or file dialog the palette of the program's colour mode, the lists
// it pops up included. Until a mode is given it keeps the desktop's colours.
void ApplyStockDialogTheme(QDialog& dialog);

}  // namespace velquist
