// The decisions that confine the screener views to the site: which requests may reach
// the network, and what happens to each top-level navigation and new-window request.
// Pure functions over the URL rules of url.h; they keep no state.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// What a request loads, from the browser's resource type: the page (or a frame) itself,
// a script's XMLHttpRequest or fetch, the script of a shared or service worker, or anything
// else (styles, scripts, images, fonts...). A type that cannot be read counts as Asset.
enum class RequestClass { Document, DataFetch, Asset, Worker };

// True when a request may go to the network. Only GET is allowed, of a URL without control
// bytes (below 0x20, and 0x7F); data:, blob: and
// about:blank always pass; otherwise only https on SiteHost, with a path free of "..",
// "//", "\" and "%", no .php, nothing under "/data/" but the site's data files, and then
// by class: screener pages as documents, data files and symbol pages for fetches, static
// assets for everything else. Shared and service workers never start: the engine lets their
// sockets past the filter, and the site needs neither.
bool IsRequestAllowed(std::string_view method, std::string_view uri, RequestClass cls);

// Style sheets, scripts, images under "/images/" and "/favicon.ico". Fonts never are.
bool IsStaticAssetPath(std::string_view path);

// Exactly the site's three data files.
bool IsDataFilePath(std::string_view path);

// A refused request is answered with this, so it never reaches the network.
inline constexpr int RefusalStatus = 403;
inline constexpr std::string_view RefusalReason = "Forbidden";
inline constexpr std::string_view RefusalHeaders =
    "Content-Type: text/plain\r\nCache-Control: no-store";

enum class NavigationAction { StayInside = 0, OpenExternal = 1, Block = 2 };

// url is set only for OpenExternal: the URL to hand to the default browser.
struct NavigationDecision {
  NavigationAction action;
  std::string url;
};

// Screener pages of the site, about:blank and data: stay inside the view; other http(s)
// links (site links with the referral tag) and mailto: go to the default browser;
// everything else (javascript:, file:, unparsable URLs, URLs with control bytes...) is
// dropped.
NavigationDecision ClassifyNavigation(std::string_view url);

// The URL to open in the default browser when a page asks to open url in a new window,
// or an empty string when nothing is to be opened. A screener page of the site also goes
// out, with the referral tag; about:blank and data: windows are dropped.
std::string ExternalOpenUrl(std::string_view url);

}  // namespace velquist
