// Reading what a widget painted: a pixel at a logical position, and colour comparison
// that allows for the rounding of blended edges.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <QtGlobal>

namespace velquist {

inline bool Near(const QColor& a, const QColor& b) {
  return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
         qAbs(a.blue() - b.blue()) <= 2;
}

inline QColor PixelAt(QWidget& widget, QPoint logical) {
  return widget.grab().toImage().pixelColor(logical * widget.devicePixelRatioF());
}

}  // namespace velquist
