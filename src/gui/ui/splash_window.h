// The start-up splash: a picture over the main window for two seconds. It stays on top,
// has no taskbar entry and goes away after the two seconds, on the first key or mouse
// press anywhere in the program (which does nothing else), or when a dialog or message
// box opens, so that the splash never covers one. At most one exists.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace velquist {

class CSplashWnd : public QWidget {
  Q_OBJECT
 public:
  // Shows the splash centred over owner (ShowSplashWindow). Nothing when one exists
  // already or the picture cannot be prepared. Returns the splash shown, or null.
  static CSplashWnd* ShowOver(QWidget& owner);
  // The splash now shown, or null.
  static CSplashWnd* Current();
  // Takes the splash down, if there is one, and repaints its owner at once.
  static void HideSplash();

  ~CSplashWnd() override;

  // How long the splash stays, in milliseconds.
  static constexpr int kShowMs = 2000;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CSplashWnd(QWidget& owner, QPixmap picture);

  QPixmap m_picture;
};

}  // namespace velquist
