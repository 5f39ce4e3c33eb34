#include "gui/ui/status_strip.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "gui/web/external_opener.h"
#include "site/url.h"
#include "site_constants.h"
#include "ui/chrome_metrics.h"
#include "ui/chrome_text.h"

namespace velquist {

CStatusStrip::CStatusStrip(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("StatusStrip"));
  // See CTabStrip: painting covers everything and goes through Qt's backing store.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  SetTheme(false, 96);
}

std::string CStatusStrip::LinkTarget() { return AddReferralTag(std::string(SiteOrigin) + "/"); }

void CStatusStrip::SetText(const QString& text) {
  if (text == m_text) return;
  m_text = text;
  update();
}

void CStatusStrip::SetZoomText(const QString& text) {
  if (text == m_zoomText) return;
  m_zoomText = text;
  update();
}

void CStatusStrip::SetTheme(bool dark, int dpi) {
  m_dark = dark;
  m_dpi = dpi > 0 ? dpi : 96;
  m_font = MakeUiFont(m_dpi, 400);
  m_linkFont = m_font;
  m_linkFont.setUnderline(true);
  updateGeometry();
  update();
}

QSize CStatusStrip::sizeHint() const {
  return QSize(ScaleForDpi(200, m_dpi), ScaleForDpi(chrome96::kStatusStripHeight, m_dpi));
}

void CStatusStrip::paintEvent(QPaintEvent*) {
  const ChromeColors c = ChromeColorsFor(m_dark);
  QPainter painter(this);
  painter.fillRect(rect(), c.background);
  painter.fillRect(QRect(0, 0, width(), 1), c.border);
  const int inset = ScaleForDpi(chrome96::kStatusInset, m_dpi);
  QRect work = rect().adjusted(inset, 0, -inset, 0);
  const int flags = Qt::AlignVCenter | Qt::TextSingleLine;

  // The site link at the right.
  const QString link = ToQString(SiteHost);
  painter.setFont(m_linkHovered ? m_linkFont : m_font);
  const int linkWidth = QFontMetrics(m_font).horizontalAdvance(link);
  m_linkRect = QRect(work.right() + 1 - linkWidth, 1, linkWidth, height() - 1);
  painter.setPen(c.accent);
  painter.drawText(m_linkRect, flags | Qt::AlignRight, link);
  work.setRight(work.right() - linkWidth - 2 * inset);

  painter.setFont(m_font);
  const QFontMetrics metrics(m_font);
  m_zoomRect = QRect();
  if (!m_zoomText.isEmpty()) {
    const int zoomWidth = metrics.horizontalAdvance(m_zoomText);
    m_zoomRect = QRect(work.right() + 1 - zoomWidth, work.top(), zoomWidth, work.height());
    painter.setPen(c.textDim);
    painter.drawText(m_zoomRect, flags | Qt::AlignRight, m_zoomText);
    work.setRight(work.right() - zoomWidth - inset);
  }

  m_textRect = work;
  const auto measure = [&metrics](std::string_view s) {
    return metrics.horizontalAdvance(ToQString(s));
  };
  m_shownText = ToQString(ElideMiddle(ToUtf8(m_text), work.width(), measure));
  painter.setPen(c.text);
  painter.drawText(work, flags | Qt::AlignLeft, m_shownText);
}

void CStatusStrip::mouseMoveEvent(QMouseEvent* event) {
  SetLinkHovered(m_linkRect.contains(event->position().toPoint()));
}

void CStatusStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_linkRect.contains(event->position().toPoint())) {
    OpenInDefaultBrowser(LinkTarget());
  }
}

void CStatusStrip::leaveEvent(QEvent*) { SetLinkHovered(false); }

void CStatusStrip::SetLinkHovered(bool hovered) {
  if (hovered == m_linkHovered) return;
  m_linkHovered = hovered;
  setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
  update(m_linkRect);
}

}  // namespace velquist
