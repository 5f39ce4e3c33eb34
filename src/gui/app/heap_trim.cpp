#include "gui/app/heap_trim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velquist {

namespace {
constexpr int TrimIntervalMs = 30 * 1000;
}

CHeapTrimmer::CHeapTrimmer(QObject* parent) : QObject(parent) {
#if defined(__GLIBC__)
  m_timer.setInterval(TrimIntervalMs);
  m_timer.setTimerType(Qt::VeryCoarseTimer);
  connect(&m_timer, &QTimer::timeout, this, [] { malloc_trim(0); });
  m_timer.start();
#endif
}

}  // namespace velquist
