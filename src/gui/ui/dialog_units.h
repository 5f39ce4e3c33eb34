// Lays out dialogs in the dialog units of their templates. The units follow the dialog's
// font as on Windows (a quarter of its average letter width across, an eighth of its line
// height down), and Qt sizes the font for the screen's logical DPI (and the device pixel
// ratio on top), so a dialog keeps its designed proportions at every DPI and font size.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "ui/dialog_units.h"

class QWidget;

namespace velquist {

class DialogUnits {
 public:
  // For the font of widget on the screen it is on.
  explicit DialogUnits(const QWidget& widget);
  explicit DialogUnits(const QFont& font, const QWidget* device = nullptr);

  int X(int units) const { return DialogUnitsToPixelsX(units, m_base); }
  int Y(int units) const { return DialogUnitsToPixelsY(units, m_base); }
  QSize Size(int width, int height) const { return {X(width), Y(height)}; }
  // Both edges are mapped, so that rectangles that touch in units touch in pixels.
  QRect Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(x + width) - X(x), Y(y + height) - Y(y)};
  }

  // The font's average letter width and line height in pixels.
  int BaseWidth() const { return m_base.x; }
  int BaseHeight() const { return m_base.y; }

 private:
  DialogBaseUnits m_base;
};

// Places a control at rect (in pixels, as DialogUnits::Rect gives it); a control that
// needs more height than the design gives it keeps its top and grows down.
void PlaceControl(QWidget& control, QRect rect);

// The font dialogs are drawn in at the widget's DPI: the chrome's UI font.
QFont DialogFont(const QWidget* widget);

}  // namespace velquist
