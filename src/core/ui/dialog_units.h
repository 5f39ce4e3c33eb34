// Dialog units, the measure dialog templates are laid out in, turned into pixels the way
// Windows does it for a dialog's font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
#pragma once

namespace velquist {

struct DialogBaseUnits {
  int x = 0;  // average character width in pixels
  int y = 0;  // character height in pixels
};

// The base units of a font from the width of the 52 letters "A" to "Z" and "a" to "z"
// set in one line and the font's height, both in pixels: the average width is rounded
// half up.
DialogBaseUnits DialogBaseUnitsFor(int lettersWidth, int height);

// Pixels for a horizontal or vertical length in dialog units, rounded as MulDiv does.
int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);

}  // namespace velquist
