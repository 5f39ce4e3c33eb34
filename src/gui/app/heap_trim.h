// Hands the free memory the C library keeps in its heaps back to the system now and then.
#pragma once

#include <QObject>
#include <QTimer>

namespace velquist {

// The browser engine runs inside our process and frees as much as it allocates, but the C
// library keeps most freed pages, scattered between live blocks, for reuse: over a day of
// screening the resident memory grows while the memory in use stays flat. A trim every
// half minute returns those pages; it takes a few milliseconds.
class CHeapTrimmer : public QObject {
 public:
  explicit CHeapTrimmer(QObject* parent = nullptr);

 private:
  QTimer m_timer;
};

}  // namespace velquist
