#include "web/screen_history.h"

namespace velquist {
namespace {

// a - b as a signed difference, wrapping instead of overflowing for far-apart ticks.
TickMs TickDifference(TickMs a, TickMs b) {
  return static_cast<TickMs>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

TickMs TickAfter(TickMs tick, TickMs delta) {
  return static_cast<TickMs>(static_cast<std::uint64_t>(tick) + static_cast<std::uint64_t>(delta));
}

}  // namespace

bool IsSamePage(std::string_view a, std::string_view b) {
  return a.substr(0, a.find('#')) == b.substr(0, b.find('#'));
}

void ScreenHistory::Push(std::string_view url, TickMs now) {
  if (url.empty()) return;
  if (m_index >= 0) {
    std::string& current = m_entries[static_cast<std::size_t>(m_index)];
    if (url == current) return;
    const bool samePage = IsSamePage(url, current);
    if (samePage && TickDifference(now, m_suppressUntil) < 0) {
      current = url;
      return;
    }
    const bool atEnd = static_cast<std::size_t>(m_index) + 1 == m_entries.size();
    if (samePage && atEnd && TickDifference(now, m_lastPushTick) < MergeWindowMs) {
      current = url;
      m_lastPushTick = now;
      return;
    }
  }
  m_lastPushTick = now;
  m_suppressUntil = Never;
  m_entries.resize(static_cast<std::size_t>(m_index + 1));
  m_entries.emplace_back(url);
  m_index = static_cast<int>(m_entries.size()) - 1;
  if (m_entries.size() > MaxEntries) {
    m_entries.erase(m_entries.begin());
    --m_index;
  }
}

bool ScreenHistory::CanGoBack() const { return m_index > 0; }

bool ScreenHistory::CanGoForward() const {
  return m_index >= 0 && static_cast<std::size_t>(m_index) + 1 < m_entries.size();
}

bool ScreenHistory::GoBack(TickMs now, std::string& url) {
  if (!CanGoBack()) return false;
  m_suppressUntil = TickAfter(now, StepWindowMs);
  --m_index;
  url = m_entries[static_cast<std::size_t>(m_index)];
  return true;
}

bool ScreenHistory::GoForward(TickMs now, std::string& url) {
  if (!CanGoForward()) return false;
  ++m_index;
  m_suppressUntil = TickAfter(now, StepWindowMs);
  url = m_entries[static_cast<std::size_t>(m_index)];
  return true;
}

}  // namespace velquist
