#include "web/screen_tracker.h"

#include "site/url.h"

namespace velquist {

bool ScreenTracker::Report(std::string_view url, TickMs now) {
  std::string path, fragment;
  if (!SplitScreenerUrl(url, path, fragment)) return false;
  if (url == m_currentUrl) return false;
  m_currentUrl = url;
  m_history.Push(url, now);
  return true;
}

}  // namespace velquist
