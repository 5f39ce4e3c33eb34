// Acts on a modal dialog from inside the event loop that runs it: once a dialog of type D
// is the active modal window, act runs with it (once). Make it before the call that shows
// the dialog; Ran() tells afterwards whether the dialog came.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace velquist::test {

template <typename D>
class WhenModal {
 public:
  explicit WhenModal(std::function<void(D&)> act, int timeoutMs = 20000)
      : m_act(std::move(act)), m_timeoutMs(timeoutMs) {
    m_clock.start();
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start();
  }

  bool Ran() const { return m_ran; }

 private:
  void Poll() {
    if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
      m_timer.stop();
      m_ran = true;
      m_act(*dialog);
    } else if (m_clock.elapsed() > m_timeoutMs) {
      m_timer.stop();
    }
  }

  std::function<void(D&)> m_act;
  int m_timeoutMs;
  QElapsedTimer m_clock;
  QTimer m_timer;
  bool m_ran = false;
};

}  // namespace velquist::test
