#include "gui/print/margin_pages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include "gui/print/margin_font.h"
#include "gui/text/qt_text.h"

namespace velquist {
namespace {

void DrawBand(QPainter& painter, const QSizeF& page, bool top, const std::string& left,
              const QString& right) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double rightWidth = right.isEmpty() ? 0 : metrics.horizontalAdvance(right);
  const MarginBandPlace place = PlaceMarginBand(page.width(), page.height(), top, rightWidth);
  const QString shown = metrics.elidedText(ToQString(left), Qt::ElideRight, place.leftWidth);
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  if (!shown.isEmpty()) {
    painter.drawText(QRectF(place.leftX, place.top, place.leftWidth, place.height), flags, shown);
  }
  if (!right.isEmpty()) {
    painter.drawText(QRectF(place.rightX, place.top, rightWidth, place.height), flags, right);
  }
}

}  // namespace

QByteArray DrawMarginPages(const PageMarginTexts& texts, int pages, const QPageLayout& layout) {
  if (pages < 1) return {};
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  const QSizeF page = layout.fullRect(QPageLayout::Point).size();
  {
    QPdfWriter writer(&buffer);
    // One device unit to the point: the bands' places are in points.
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("Velquist"));
    // The paper of the report without margins: the painter's origin is the page's corner.
    QPageLayout bare = layout;
    bare.setMinimumMargins(QMarginsF());
    bare.setMargins(QMarginsF());
    writer.setPageLayout(bare);
    QPainter painter;
    if (!painter.begin(&writer)) return {};
    painter.setFont(MarginTextFont());
    painter.setPen(QColor(ToQString(MarginTextColor)));
    for (int number = 1; number <= pages; ++number) {
      if (number > 1 && !writer.newPage()) return {};
      if (PageHasTopTexts(number))
        DrawBand(painter, page, true, texts.topLeft, ToQString(texts.topRight));
      DrawBand(painter, page, false, texts.bottomLeft, ToQString(PageNumberText(number, pages)));
    }
    if (!painter.end()) return {};
  }
  return pdf;
}

}  // namespace velquist
