// Where a tab's screen URL comes in: the browser's source-changed event and the page's own
// "url" message both report it, often the same URL twice. The tracker keeps the current
// screen URL and the tab's history and says when the owner must hear of a new screen.
#pragma once

#include <string>
#include <string_view>

#include "web/screen_history.h"

namespace velquist {

class ScreenTracker {
 public:
  // Takes a reported URL. Only https URLs of a screener page of the site count, and only
  // when they differ from the current screen URL; those become current, go into the
  // history, and make this return true (tell the owner).
  bool Report(std::string_view url, TickMs now);

  // Empty until a screener page has reported one.
  const std::string& CurrentUrl() const { return m_currentUrl; }
  ScreenHistory& History() { return m_history; }
  const ScreenHistory& History() const { return m_history; }

 private:
  std::string m_currentUrl;
  ScreenHistory m_history;
};

}  // namespace velquist
