#include "gui/ui/chrome_dpi.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "gui/ui/chrome_palette.h"

namespace velquist {

CChromeDpiWatcher::CChromeDpiWatcher(QWidget* widget)
    : QObject(widget), m_widget(widget), m_dpi(WidgetDpi(widget)) {
  widget->window()->installEventFilter(this);
  if (widget->window()->windowHandle()) Attach();
}

bool CChromeDpiWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_widget->window() && event->type() == QEvent::Show && !m_attached) Attach();
  return QObject::eventFilter(watched, event);
}

void CChromeDpiWatcher::Attach() {
  QWindow* window = m_widget->window()->windowHandle();
  if (!window) return;
  m_attached = true;
  connect(window, &QWindow::screenChanged, this, [this](QScreen* screen) {
    WatchScreen(screen);
    Check();
  });
  WatchScreen(window->screen());
  Check();
}

void CChromeDpiWatcher::WatchScreen(QScreen* screen) {
  disconnect(m_screenDpi);
  m_screen = screen;
  if (screen) {
    m_screenDpi = connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { Check(); });
  }
}

void CChromeDpiWatcher::Check() {
  const int dpi = m_screen ? qRound(m_screen->logicalDotsPerInch()) : WidgetDpi(m_widget);
  if (dpi <= 0 || dpi == m_dpi) return;
  m_dpi = dpi;
  emit dpiChanged(dpi);
}

}  // namespace velquist
