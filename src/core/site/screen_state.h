// How a screen travels outside the page: the screener path plus the URL fragment in which
// the site keeps filters, columns, sort order and page. This is the form stored as a
// tab's last screen, and the rules for the URL a tab opens with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "site/screener_kind.h"

namespace velquist {

// Longest fragment a stored screen may carry, in bytes.
inline constexpr std::size_t MaxScreenFragmentSize = 4096;

// "/screener.html" for Stocks, "/etf-screener.html" for Etfs.
std::string_view DefaultScreenerPath(ScreenerKind kind);

// Etfs when the path is an ETF screener page, Stocks otherwise.
ScreenerKind ScreenerKindOfPath(std::string_view path);

// A fragment that can be stored and put back into a URL: at most 4096 bytes and none of
// the control bytes, DEL, '"', '#', '<', '>' or '\'. UTF-8 bytes from 0x80 are fine.
bool IsValidScreenFragment(std::string_view fragment);

// path + "#" + fragment, or path alone when the fragment is empty.
std::string JoinScreenState(std::string_view path, std::string_view fragment);

// Splits a stored state at its first "#". Valid when the path is a screener page and the
// fragment passes IsValidScreenFragment; path and fragment are set only when valid.
bool SplitScreenState(std::string_view state, std::string& path, std::string& fragment);

// The last-screen state to keep for a screen URL that a tab of the given kind reported:
// false when url is no screener URL of the site or shows the other screener.
bool ScreenStateForUrl(std::string_view url, ScreenerKind kind, std::string& state);

// The URL a screener tab opens with: the stored last screen when restoreLast is on and
// lastScreen is a valid state of this kind, else the kind's default page.
std::string StartUrl(ScreenerKind kind, bool restoreLast, std::string_view lastScreen);

// Where Reset Filters leads: the screener page of currentUrl, or the kind's default page
// when currentUrl is no screener URL of the site, always without a fragment.
std::string ResetFiltersUrl(std::string_view currentUrl, ScreenerKind kind);

}  // namespace velquist
