// The page shown in place of a screener page that could not be loaded, the status texts
// around it, and where "Try again" leads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquist {

// Marks the spot in the stored offline page where the error text goes.
inline constexpr std::string_view OfflineErrorPlaceholder = "{{ERROR}}";

// The stored page with its first placeholder replaced by errorText, HTML-escaped
// (", &, < and >). A page without the placeholder comes back unchanged.
std::string FillOfflinePage(std::string_view page, std::string_view errorText);

// "Offline — " + errorText, for the status line.
std::string OfflineStatusText(std::string_view errorText);

// The status text while a site page loads.
inline constexpr std::string_view LoadingStatusText = "Loading\u2026";

// The status text when the page view could not be created; code as eight upper-case
// hexadecimal digits.
std::string ViewCreationErrorText(std::uint32_t code);

// True for a navigation the view keeps that goes to the site itself (https on SiteHost):
// it becomes the retry target, ends the offline state and shows "Loading…".
bool IsSiteNavigation(std::string_view url);

// Where "Try again" goes: the last site navigation that started, else the start URL.
std::string_view RetryUrl(std::string_view lastSiteNavigation, std::string_view startUrl);

}  // namespace velquist
