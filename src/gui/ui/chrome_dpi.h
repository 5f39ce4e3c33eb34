// Tells the chrome when the window's logical DPI changes: the window moved to a screen
// of another DPI, or the screen's DPI setting changed. Device pixel ratio changes need no
// report, since Qt scales the logical sizes itself.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QScreen;
class QWidget;

namespace velquist {

class CChromeDpiWatcher : public QObject {
  Q_OBJECT
 public:
  // Watches the top-level window of widget once it has a native window.
  explicit CChromeDpiWatcher(QWidget* widget);

  int Dpi() const { return m_dpi; }

 signals:
  void dpiChanged(int dpi);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Attach();
  void WatchScreen(QScreen* screen);
  void Check();

  QWidget* m_widget;
  QPointer<QScreen> m_screen;
  QMetaObject::Connection m_screenDpi;
  bool m_attached = false;
  int m_dpi;
};

}  // namespace velquist
