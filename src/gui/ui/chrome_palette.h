// The chrome colours as Qt colours, the DPI the chrome scales its 96-DPI sizes with, and
// the UI font.
#pragma once

#include <QColor>
#include <QFont>

#include "ui/chrome_palette.h"

class QWidget;

namespace velquist {

inline QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

struct ChromeColors {
  QColor background;
  QColor text;
  QColor textDim;
  QColor border;
  QColor hoverBack;
  QColor accent;
  QColor pageBack;
};

ChromeColors ChromeColorsFor(bool dark);

// The logical DPI of the screen the widget is on (96 when it has none). The device pixel
// ratio is applied by Qt on top of the logical sizes.
int WidgetDpi(const QWidget* widget);

// The UI font at a DPI: the application's font with the given weight (400 regular,
// 600 semi-bold); when that font has no size, 12 pixels at 96 DPI.
QFont MakeUiFont(int dpi, int weight);

}  // namespace velquist
