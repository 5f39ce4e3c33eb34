#include "ui/dialog_units.h"

#include "ui/chrome_metrics.h"

namespace velquist {

DialogBaseUnits DialogBaseUnitsFor(int lettersWidth, int height) {
  return {(lettersWidth / 26 + 1) / 2, height};
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.x, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.y, 8);
}

}  // namespace velquist
