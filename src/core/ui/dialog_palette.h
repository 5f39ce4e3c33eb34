// The colours of the program's dialogs in each colour mode, built on the chrome palette
// so that a dialog looks like the window it belongs to.
#pragma once

#include "ui/chrome_palette.h"

namespace velquist {

struct DialogPalette {
  Rgb Window;           // dialog background
  Rgb Text;             // labels and the text of fields and lists
  Rgb TextDim;          // disabled buttons and labels
  Rgb Base;             // background of edit boxes and lists
  Rgb AlternateBase;    // every other list row
  Rgb Button;           // push button face
  Rgb Border;           // frames of fields, lists and buttons
  Rgb Highlight;        // selected list row, selected text
  Rgb HighlightedText;  // text on Highlight
  Rgb Link;             // links in dialog texts
};

const DialogPalette& DialogPaletteFor(bool dark);

}  // namespace velquist
