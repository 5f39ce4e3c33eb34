#include "gui/ui/tab_strip.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/ui/chrome_palette.h"
#include "ui/chrome_commands.h"
#include "ui/chrome_metrics.h"

namespace velquist {

CTabStrip::CTabStrip(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabStrip"));
  // Painting covers every pixel, so Qt need not clear first; its backing store keeps the
  // painting off screen until the whole strip is drawn.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  SetTheme(false, 96);
}

void CTabStrip::SetLabels(const QStringList& labels) {
  m_labels = labels;
  m_rects.clear();
  update();
}

void CTabStrip::SetSelected(int index) {
  if (index == m_selected) return;
  m_selected = index;
  update();
}

void CTabStrip::SetTheme(bool dark, int dpi) {
  m_dark = dark;
  m_dpi = dpi > 0 ? dpi : 96;
  m_regular = MakeUiFont(m_dpi, 400);
  m_semiBold = MakeUiFont(m_dpi, 600);
  m_rects.clear();
  updateGeometry();
  update();
}

QSize CTabStrip::sizeHint() const {
  return QSize(ScaleForDpi(200, m_dpi), ScaleForDpi(chrome96::kTabStripHeight, m_dpi));
}

void CTabStrip::Relayout() const {
  m_rects.clear();
  const QFontMetrics metrics(m_semiBold);
  int x = ScaleForDpi(chrome96::kTabStart, m_dpi);
  for (const QString& label : m_labels) {
    const int width = metrics.horizontalAdvance(label) + ScaleForDpi(chrome96::kTabPadding, m_dpi);
    m_rects.emplace_back(x, 0, width, height());
    x += width + ScaleForDpi(chrome96::kTabGap, m_dpi);
  }
}

const std::vector<QRect>& CTabStrip::TabRects() const {
  if (m_rects.size() != static_cast<std::size_t>(m_labels.size())) Relayout();
  return m_rects;
}

int CTabStrip::TabAt(const QPoint& pos) const {
  const std::vector<QRect>& rects = TabRects();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (rects[i].contains(pos)) return static_cast<int>(i);
  }
  return -1;
}

void CTabStrip::paintEvent(QPaintEvent*) {
  const ChromeColors c = ChromeColorsFor(m_dark);
  QPainter painter(this);
  painter.fillRect(rect(), c.background);
  painter.fillRect(QRect(0, height() - 1, width(), 1), c.border);
  const std::vector<QRect>& rects = TabRects();
  const int hoverInset = ScaleForDpi(chrome96::kTabHoverInset, m_dpi);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const int index = static_cast<int>(i);
    const QRect& r = rects[i];
    const bool selected = index == m_selected;
    if (index == m_hovered && !selected) {
      painter.fillRect(r.adjusted(0, hoverInset, 0, -hoverInset), c.hoverBack);
    }
    painter.setFont(selected ? m_semiBold : m_regular);
    painter.setPen(selected ? c.accent : c.textDim);
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, m_labels[index]);
    if (selected) {
      const int inset = ScaleForDpi(chrome96::kTabUnderlineInset, m_dpi);
      const int bar = ScaleForDpi(chrome96::kTabUnderline, m_dpi);
      painter.fillRect(QRect(r.left() + inset, r.bottom() + 1 - bar, r.width() - 2 * inset, bar),
                       c.accent);
    }
  }
}

void CTabStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = TabAt(event->position().toPoint());
  if (index >= 0) emit commandInvoked(kCmdStocks + index);
}

void CTabStrip::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(TabAt(event->position().toPoint()));
}

void CTabStrip::leaveEvent(QEvent*) { SetHovered(-1); }

void CTabStrip::resizeEvent(QResizeEvent*) {
  m_rects.clear();
  update();
}

void CTabStrip::SetHovered(int index) {
  if (index == m_hovered) return;
  m_hovered = index;
  update();
}

}  // namespace velquist
