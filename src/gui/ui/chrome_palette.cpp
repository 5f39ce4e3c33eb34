#include "gui/ui/chrome_palette.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "ui/chrome_metrics.h"

namespace velquist {

ChromeColors ChromeColorsFor(bool dark) {
  const ChromePalette& p = PaletteFor(dark);
  return {ToQColor(p.Background), ToQColor(p.Text),   ToQColor(p.TextDim), ToQColor(p.Border),
          ToQColor(p.HoverBack),  ToQColor(p.Accent), ToQColor(p.PageBack)};
}

int WidgetDpi(const QWidget* widget) {
  const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
  if (!screen) return 96;
  const int dpi = qRound(screen->logicalDotsPerInch());
  return dpi > 0 ? dpi : 96;
}

QFont MakeUiFont(int dpi, int weight) {
  QFont font = QApplication::font();
  font.setWeight(weight >= 600 ? QFont::DemiBold : QFont::Normal);
  // Point sizes already follow the logical DPI; only a font without one is sized here.
  if (font.pointSizeF() <= 0 && font.pixelSize() <= 0) {
    font.setPixelSize(ScaleForDpi(chrome96::kFontPixels, dpi));
  }
  return font;
}

}  // namespace velquist
