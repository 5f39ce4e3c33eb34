#include "gui/ui/chrome_toolbar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "ui/chrome_commands.h"
#include "ui/chrome_metrics.h"
#include "ui/chrome_palette.h"

namespace velquist {

namespace {

constexpr int kMargin96 = 3;   // around the row of buttons
constexpr int kIconTop96 = 6;  // icon's distance from the button's top
constexpr int kCorner96 = 4;   // hover background corner radius

}  // namespace

CChromeToolBar::CChromeToolBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChromeToolBar"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  for (const ToolbarButtonInfo& info : ToolbarButtons()) {
    Button button;
    button.command = info.command;
    button.label = ToQString(info.label);
    button.separatorBefore = info.separatorBefore;
    CommandStrings strings;
    if (CommandText(info.command, &strings)) {
      button.prompt = ToQString(strings.prompt);
      button.toolTip = ToQString(strings.tooltip);
    }
    m_buttons.push_back(button);
  }
  SetImages(96);
}

QImage CChromeToolBar::LoadIconStrip() {
  QImage strip(QStringLiteral(":/images/toolbar.png"));
  if (strip.isNull() || strip.height() <= 0 || strip.width() < strip.height()) return {};
  return strip.convertToFormat(QImage::Format_ARGB32);
}

QImage CChromeToolBar::DisabledStrip(const QImage& strip) {
  QImage grey = strip.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) line[x] = DisabledIconPixel(line[x]);
  }
  return grey;
}

void CChromeToolBar::SetImages(int dpi) {
  m_dpi = dpi > 0 ? dpi : 96;
  m_iconSize = ScaleForDpi(chrome96::kToolbarIcon, m_dpi);
  const QImage strip = LoadIconStrip();
  if (!strip.isNull()) {
    // The icons are scaled once into one strip at device pixels, as the icon list is.
    const qreal ratio = devicePixelRatioF();
    const int side = qRound(m_iconSize * ratio);
    const int count = strip.width() / strip.height();
    const QImage scaled =
        strip.scaled(side * count, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage grey = DisabledStrip(scaled);
    for (std::size_t i = 0; i < m_buttons.size() && static_cast<int>(i) < count; ++i) {
      const QRect cell(static_cast<int>(i) * side, 0, side, side);
      m_buttons[i].normal = scaled.copy(cell);
      m_buttons[i].normal.setDevicePixelRatio(ratio);
      m_buttons[i].disabled = grey.copy(cell);
      m_buttons[i].disabled.setDevicePixelRatio(ratio);
    }
  }
  m_font = MakeUiFont(m_dpi, 400);
  const QFontMetrics metrics(m_font);
  int w = 0;
  for (const Button& b : m_buttons) w = std::max(w, metrics.horizontalAdvance(b.label));
  const int h = metrics.height();
  m_buttonSize = QSize(ScaleForDpi(chrome96::kToolbarPadX, m_dpi) + std::max(w, m_iconSize),
                       ScaleForDpi(chrome96::kToolbarPadY, m_dpi) + m_iconSize + h);
  Layout();
  updateGeometry();
  update();
}

void CChromeToolBar::Layout() {
  const int margin = ScaleForDpi(kMargin96, m_dpi);
  const int gap = ScaleForDpi(chrome96::kToolbarSeparator, m_dpi);
  int x = margin;
  for (Button& b : m_buttons) {
    if (b.separatorBefore) x += gap;
    b.rect = QRect(QPoint(x, margin), m_buttonSize);
    x += m_buttonSize.width();
  }
}

QSize CChromeToolBar::sizeHint() const {
  const int margin = ScaleForDpi(kMargin96, m_dpi);
  const int right = m_buttons.empty() ? 0 : m_buttons.back().rect.right() + 1;
  return QSize(right + margin, m_buttonSize.height() + 2 * margin);
}

QSize CChromeToolBar::minimumSizeHint() const { return QSize(0, sizeHint().height()); }

void CChromeToolBar::SetDark(bool dark) {
  if (dark == m_dark) return;
  m_dark = dark;
  update();
}

int CChromeToolBar::Find(int command) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttons[i].command == command) return static_cast<int>(i);
  }
  return -1;
}

void CChromeToolBar::RefreshStates() {
  if (!m_enableRule) return;
  for (const Button& b : m_buttons) SetButtonEnabled(b.command, m_enableRule(b.command));
}

bool CChromeToolBar::SetButtonEnabled(int command, bool enabled) {
  const int index = Find(command);
  if (index < 0 || m_buttons[index].enabled == enabled) return false;
  m_buttons[index].enabled = enabled;
  ++m_stateChanges;
  update(m_buttons[index].rect);
  return true;
}

bool CChromeToolBar::IsButtonEnabled(int command) const {
  const int index = Find(command);
  return index >= 0 && m_buttons[index].enabled;
}

void CChromeToolBar::SetButtonPressed(int command, bool pressed) {
  const int index = Find(command);
  if (index < 0 || m_buttons[index].pressed == pressed) return;
  m_buttons[index].pressed = pressed;
  update(m_buttons[index].rect);
}

bool CChromeToolBar::IsButtonPressed(int command) const {
  const int index = Find(command);
  return index >= 0 && m_buttons[index].pressed;
}

QRect CChromeToolBar::ButtonRect(int command) const {
  const int index = Find(command);
  return index >= 0 ? m_buttons[index].rect : QRect();
}

QString CChromeToolBar::ButtonLabel(int command) const {
  const int index = Find(command);
  return index >= 0 ? m_buttons[index].label : QString();
}

QString CChromeToolBar::ButtonToolTip(int command) const {
  const int index = Find(command);
  return index >= 0 ? m_buttons[index].toolTip : QString();
}

QImage CChromeToolBar::NormalIcon(int command) const {
  const int index = Find(command);
  return index >= 0 ? m_buttons[index].normal : QImage();
}

QImage CChromeToolBar::DisabledIcon(int command) const {
  const int index = Find(command);
  return index >= 0 ? m_buttons[index].disabled : QImage();
}

QImage CChromeToolBar::ButtonImage(int command) const {
  return IsButtonEnabled(command) ? NormalIcon(command) : DisabledIcon(command);
}

void CChromeToolBar::paintEvent(QPaintEvent*) {
  if (!m_buttons.empty() && !m_buttons.front().normal.isNull() &&
      m_buttons.front().normal.devicePixelRatio() != devicePixelRatioF()) {
    SetImages(m_dpi);  // moved to a screen of another scale
  }
  const ChromeColors c = ChromeColorsFor(m_dark);
  QPainter painter(this);
  painter.fillRect(rect(), c.background);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(m_font);
  const int iconTop = ScaleForDpi(kIconTop96, m_dpi);
  const qreal corner = ScaleForDpi(kCorner96, m_dpi);
  const int gap = ScaleForDpi(chrome96::kToolbarSeparator, m_dpi);
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    const Button& b = m_buttons[i];
    if (b.separatorBefore) {
      const int x = b.rect.left() - gap / 2 - 1;
      const int inset = b.rect.height() / 5;
      painter.fillRect(QRect(x, b.rect.top() + inset, 1, b.rect.height() - 2 * inset), c.border);
    }
    const bool hot = b.enabled && (b.pressed || static_cast<int>(i) == m_hovered);
    if (hot) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(c.hoverBack);
      painter.drawRoundedRect(QRectF(b.rect).adjusted(1, 1, -1, -1), corner, corner);
    }
    const QImage& icon = b.enabled ? b.normal : b.disabled;
    if (!icon.isNull()) {
      painter.drawImage(QRect(b.rect.left() + (b.rect.width() - m_iconSize) / 2,
                              b.rect.top() + iconTop, m_iconSize, m_iconSize),
                        icon);
    }
    const QRect textRect(b.rect.left(), b.rect.top() + iconTop + m_iconSize, b.rect.width(),
                         b.rect.bottom() - (b.rect.top() + iconTop + m_iconSize));
    painter.setPen(b.enabled ? c.text : c.textDim);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, b.label);
  }
}

int CChromeToolBar::ButtonAt(const QPoint& pos) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttons[i].rect.contains(pos)) return static_cast<int>(i);
  }
  return -1;
}

void CChromeToolBar::SetHovered(int index) {
  if (index == m_hovered) return;
  if (m_hovered >= 0) update(m_buttons[m_hovered].rect);
  m_hovered = index;
  if (m_hovered >= 0) update(m_buttons[m_hovered].rect);
  emit promptChanged(index >= 0 ? m_buttons[index].prompt : QString());
}

bool CChromeToolBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = ButtonAt(help->pos());
    if (index >= 0) {
      QToolTip::showText(help->globalPos(), m_buttons[index].toolTip, this, m_buttons[index].rect);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

void CChromeToolBar::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(ButtonAt(event->position().toPoint()));
}

void CChromeToolBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = ButtonAt(event->position().toPoint());
  if (index < 0 || !m_buttons[index].enabled) return;
  m_mouseDown = index;
  SetButtonPressed(m_buttons[index].command, true);
}

void CChromeToolBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_mouseDown < 0) return;
  const int index = m_mouseDown;
  m_mouseDown = -1;
  const int command = m_buttons[index].command;
  SetButtonPressed(command, false);
  if (ButtonAt(event->position().toPoint()) == index && m_buttons[index].enabled) {
    emit commandInvoked(command);
  }
}

void CChromeToolBar::leaveEvent(QEvent*) { SetHovered(-1); }

void CChromeToolBar::showEvent(QShowEvent*) { RefreshStates(); }

}  // namespace velquist
