#include "gui/print/print_pages.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <algorithm>

namespace velquist {

int PrintRenderDpi(int printerDpi) { return std::clamp(printerDpi, 72, 300); }

bool PrintPdfPages(QPdfDocument& document, QPrinter& printer, int first, int last) {
  const int pages = document.pageCount();
  first = std::max(first, 1);
  last = std::min(last, pages);
  if (pages < 1 || first > last) return false;
  const QSizeF points = document.pagePointSize(first - 1);
  printer.setFullPage(true);
  printer.setPageOrientation(points.width() > points.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const int dpi = PrintRenderDpi(printer.resolution());
  for (int page = first; page <= last; ++page) {
    if (page > first && !printer.newPage()) break;
    const QSizeF size = document.pagePointSize(page - 1);
    const QSize pixels((size * dpi / 72.0).toSize());
    const QImage image = document.render(page - 1, pixels);
    if (image.isNull()) continue;
    // The page fills the paper, keeping its proportions.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    QSizeF target = size.scaled(paper.size(), Qt::KeepAspectRatio);
    const QRectF place(paper.topLeft() + QPointF((paper.width() - target.width()) / 2,
                                                 (paper.height() - target.height()) / 2),
                       target);
    painter.drawImage(place, image);
  }
  return painter.end();
}

}  // namespace velquist
