#include "gui/ui/splash_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "gui/ui/chrome_palette.h"
#include "ui/picture_layout.h"

namespace velquist {
namespace {

CSplashWnd* g_current = nullptr;

bool IsPress(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
      return true;
    default:
      return false;
  }
}

// The owner's centre, kept inside the work area of the owner's screen.
QPoint CentredOver(const QWidget& owner, QSize size) {
  const QRect frame = owner.frameGeometry();
  QPoint topLeft(frame.center().x() - size.width() / 2, frame.center().y() - size.height() / 2);
  const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect work = screen->availableGeometry();
    topLeft.setX(
        qBound(work.left(), topLeft.x(), qMax(work.left(), work.right() + 1 - size.width())));
    topLeft.setY(
        qBound(work.top(), topLeft.y(), qMax(work.top(), work.bottom() + 1 - size.height())));
  }
  return topLeft;
}

}  // namespace

CSplashWnd* CSplashWnd::ShowOver(QWidget& owner) {
  if (g_current) return nullptr;
  const QImage image(QStringLiteral(":/images/splash.png"));
  if (image.isNull()) return nullptr;
  const PixelSize size = SplashSize(WidgetDpi(&owner));
  // Prepared once, at the screen's pixel ratio, with smooth scaling.
  const qreal ratio = owner.devicePixelRatioF();
  QImage scaled = image.scaled(qRound(size.width * ratio), qRound(size.height * ratio),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (scaled.isNull()) return nullptr;
  scaled.setDevicePixelRatio(ratio);
  auto* splash = new CSplashWnd(owner, QPixmap::fromImage(scaled));
  splash->setFixedSize(size.width, size.height);
  splash->move(CentredOver(owner, splash->size()));
  splash->show();
  splash->repaint();
  return splash;
}

CSplashWnd* CSplashWnd::Current() { return g_current; }

void CSplashWnd::HideSplash() {
  CSplashWnd* splash = g_current;
  if (!splash) return;
  g_current = nullptr;
  qApp->removeEventFilter(splash);
  QWidget* owner = splash->parentWidget();
  splash->hide();
  // Deleted later: the event that ends it may be on its way to the splash itself.
  splash->deleteLater();
  if (owner) owner->repaint();
}

CSplashWnd::CSplashWnd(QWidget& owner, QPixmap picture)
    : QWidget(&owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(std::move(picture)) {
  setObjectName(QStringLiteral("splash"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  g_current = this;
  qApp->installEventFilter(this);
  QTimer::singleShot(kShowMs, this, [] { HideSplash(); });
}

CSplashWnd::~CSplashWnd() {
  if (g_current == this) {
    g_current = nullptr;
    qApp->removeEventFilter(this);
  }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_picture);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  if (g_current != this) return false;
  const QEvent::Type type = event->type();
  if (type == QEvent::ShortcutOverride) {
    // Claimed for the key press that follows, so that no shortcut runs a command on it.
    event->accept();
    return true;
  }
  if (IsPress(type)) {
    HideSplash();
    return true;
  }
  if (type == QEvent::Show && qobject_cast<QDialog*>(watched)) HideSplash();
  return false;
}

}  // namespace velquist
