#include "gui/app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velquist {
namespace {

bool OnSomeScreen(const QRect& rect) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(),
                     [&](const QScreen* screen) { return screen->geometry().intersects(rect); });
}

void ShowWith(QWidget& window, bool minimized, bool maximized) {
  if (minimized) {
    window.showMinimized();
  } else if (maximized) {
    window.showMaximized();
  } else {
    window.showNormal();
  }
}

}  // namespace

void RestorePlacement(QWidget& window, const SavedPlacement& placement, bool minimized) {
  // The stored coordinates are the right and bottom edges, exclusive, as rectangles of the
  // store are written.
  const QRect stored(QPoint(placement.Left, placement.Top),
                     QPoint(placement.Right - 1, placement.Bottom - 1));
  if (placement.Valid && OnSomeScreen(stored)) {
    window.setGeometry(stored);
    ShowWith(window, minimized, placement.Maximized);
    return;
  }
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1600, 1000);
  const int width = std::min(1360, work.width() * 85 / 100);
  const int height = std::min(900, work.height() * 85 / 100);
  window.setGeometry(work.left() + (work.width() - width) / 2,
                     work.top() + (work.height() - height) / 2, width, height);
  ShowWith(window, minimized, false);
}

void CapturePlacement(const QWidget& window, SavedPlacement& placement) {
  const QRect normal =
      window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
  if (!normal.isValid()) return;
  placement.Valid = true;
  placement.Left = normal.left();
  placement.Top = normal.top();
  placement.Right = normal.left() + normal.width();
  placement.Bottom = normal.top() + normal.height();
  placement.Maximized = window.windowState().testFlag(Qt::WindowMaximized);
}

}  // namespace velquist
