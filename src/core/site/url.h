// The program's own URL parser and the tests that say what a site path is: screener
// pages, symbol pages and section pages, screener URLs, site links and the referral tag.
// Everything here is pure and works on UTF-8 byte strings.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// A URL split by ParseUrl. scheme and host are lower case; for http and https the host
// carries ":" + port when the port is not the scheme's default, and path is never empty.
// For other schemes path is everything between the ":" and the fragment.
struct UrlParts {
  std::string scheme, host, path, query, fragment;
};

// Splits url into out (reset first). False for empty text, a missing or malformed scheme,
// an http(s) URL without "//", user information ("@") or an empty host. Nothing is
// percent-decoded and "." / ".." segments are kept as written.
bool ParseUrl(std::string_view url, UrlParts& out);

// A page-name segment: 1 to 64 bytes of a-z and 0-9, plus "-" (and "." when allowDot)
// anywhere but first, never "..".
bool IsValidSlug(std::string_view text, bool allowDot);

// True when path is "/" + section + "/" + slug + extension with no "/" in slug; slug
// (which may be empty) is stored in *slug when given. The slug is not validated here.
bool MatchPagePath(std::string_view path, std::string_view section, std::string_view extension,
                   std::string_view* slug = nullptr);

// "/screener.html", "/etf-screener.html" or "/screener/<slug>.html": a screener page of
// either kind.
bool IsScreenerPath(std::string_view path);
// "/etf-screener.html" or "/screener/etf-<rest>.html".
bool IsEtfScreenerPath(std::string_view path);
// A symbol page: "/stocks/<slug>.html" or "/etfs/<slug>.html", dots allowed in the slug.
bool IsQuotePagePath(std::string_view path);
// A page one folder below the root: "/<section>/<slug>.html", the section of letters and
// "-" only.
bool IsSectionPagePath(std::string_view path);

// A parsed https URL of SiteHost (an explicit port 443 is fine) whose path is a screener
// page: the only pages the view shows and the only documents whose messages count.
bool IsSiteScreenerUrl(const UrlParts& parts);

// True for an https URL of the site whose path is a screener page (an explicit port 443
// is fine); path and fragment are returned, the query is dropped.
bool SplitScreenerUrl(std::string_view url, std::string& path, std::string& fragment);

// SiteOrigin + path (or "/screener.html" when path is no screener page) + "#" + fragment
// when the fragment is not empty.
std::string BuildScreenerUrl(std::string_view path, std::string_view fragment);

// SiteOrigin + path when path begins with "/", else SiteOrigin + "/".
std::string SiteUrlForPath(std::string_view path);

// The query parameter that marks links the program hands to the outside.
inline constexpr std::string_view ReferralParameter = "src=vqs";

// Inserts the referral parameter into an http(s) URL of the site (SiteHost or
// SiteDomain) before its fragment. Other URLs, and URLs that already carry the parameter
// as a whole query parameter, come back unchanged.
std::string AddReferralTag(std::string_view url);

// Every "%" followed by two hexadecimal digits becomes the byte they give; every other
// byte, "+" included, stays as it is. The result need not be UTF-8.
std::string PercentDecode(std::string_view text);

}  // namespace velquist
