#include "gui/ui/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

#include "gui/ui/chrome_palette.h"

namespace velquist {

DialogUnits::DialogUnits(const QWidget& widget) : DialogUnits(widget.font(), &widget) {}

DialogUnits::DialogUnits(const QFont& font, const QWidget* device) {
  const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_base = DialogBaseUnitsFor(letters, metrics.height());
}

void PlaceControl(QWidget& control, QRect rect) {
  rect.setHeight(qMax(rect.height(), control.sizeHint().height()));
  control.setGeometry(rect);
}

QFont DialogFont(const QWidget* widget) { return MakeUiFont(WidgetDpi(widget), 400); }

}  // namespace velquist
