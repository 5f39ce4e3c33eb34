// The back/forward list of one screener tab. The site rewrites the URL fragment on every
// filter or sort change, so a quick burst of changes on one page is merged into a single
// entry; a change of page, or one after a pause, adds an entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquist {

// Milliseconds of a monotonic clock; the caller supplies "now" so that the list itself
// never reads a clock.
using TickMs = std::int64_t;

class ScreenHistory {
 public:
  static constexpr std::size_t MaxEntries = 100;
  // A report on the same page less than this after the last push replaces the entry.
  static constexpr TickMs MergeWindowMs = 1000;
  // After Back or Forward, the reloaded page may rewrite its fragment for this long
  // without cutting off the forward entries.
  static constexpr TickMs StepWindowMs = 1500;

  // Records a screen URL reported at now. Empty URLs and the current entry itself are
  // ignored; a same-page report replaces the current entry inside the step window, or
  // inside the merge window when the current entry is the last one; anything else drops
  // the forward entries and appends url.
  void Push(std::string_view url, TickMs now);

  bool CanGoBack() const;
  bool CanGoForward() const;
  // Move one entry back or forward and return its URL for the caller to open; false (and
  // url untouched) when there is no such entry.
  bool GoBack(TickMs now, std::string& url);
  bool GoForward(TickMs now, std::string& url);

  const std::vector<std::string>& Entries() const { return m_entries; }
  // Position of the current entry, -1 while the list is empty.
  int Index() const { return m_index; }

 private:
  // "Never": far in the past, so no difference with it can fall inside a window.
  static constexpr TickMs Never = static_cast<TickMs>(0xC000000000000000ull);

  std::vector<std::string> m_entries;
  int m_index = -1;
  TickMs m_lastPushTick = Never;
  TickMs m_suppressUntil = Never;
};

// Two URLs name the same page when they are equal up to the first "#".
bool IsSamePage(std::string_view a, std::string_view b);

}  // namespace velquist
