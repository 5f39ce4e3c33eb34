#include "site/filter.h"

#include <array>

#include "site/url.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::array<std::string_view, 3> DataFilePaths = {
    "/data/screener/screener.json", "/screener/data/etf-screener.json", "/data/search.json"};

constexpr std::array<std::string_view, 7> ImageExtensions = {".png",  ".svg",  ".ico", ".jpg",
                                                             ".jpeg", ".webp", ".gif"};

// Case-insensitive for ASCII letters; suffix is given in lower case.
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

bool IsAssetSlugPath(std::string_view path, std::string_view section, std::string_view extension) {
  std::string_view slug;
  return MatchPagePath(path, section, extension, &slug) && IsValidSlug(slug, true);
}

bool IsAlwaysAllowedLocal(const UrlParts& parts) {
  return parts.scheme == "data" || parts.scheme == "blob" ||
         (parts.scheme == "about" && parts.path == "blank");
}

// Paths that could step out of the folders the tests below look at, once a server
// decodes or normalises them.
bool HasUnsafePathBytes(std::string_view path) {
  return path.find("..") != std::string_view::npos || path.find("//") != std::string_view::npos ||
         path.find('\\') != std::string_view::npos || path.find('%') != std::string_view::npos;
}

// A browser drops TAB, CR and LF from a URL before it resolves dots, and other control
// bytes are no URL's at all: "/images/.<TAB>./data/x.json" would read as an image here and
// as "/data/x.json" on the network, so a URL holding any of them is never judged by parts.
bool HasControlByte(std::string_view uri) {
  for (char c : uri) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

bool IsDataFilePath(std::string_view path) {
  for (std::string_view dataPath : DataFilePaths) {
    if (path == dataPath) return true;
  }
  return false;
}

bool IsStaticAssetPath(std::string_view path) {
  if (IsAssetSlugPath(path, "css", ".css") || IsAssetSlugPath(path, "js", ".js") ||
      IsAssetSlugPath(path, "screener", ".js") || path == "/favicon.ico") {
    return true;
  }
  if (!path.starts_with("/images/")) return false;
  for (std::string_view extension : ImageExtensions) {
    if (EndsWithIgnoringCase(path, extension)) return true;
  }
  return false;
}

bool IsRequestAllowed(std::string_view method, std::string_view uri, RequestClass cls) {
  if (method != "GET" || HasControlByte(uri) || cls == RequestClass::Worker) return false;
  UrlParts parts;
  if (!ParseUrl(uri, parts)) return false;
  if (IsAlwaysAllowedLocal(parts)) return true;
  if (parts.scheme != "https" || parts.host != SiteHost) return false;
  const std::string_view path = parts.path;
  if (HasUnsafePathBytes(path)) return false;
  if (EndsWithIgnoringCase(path, ".php")) return false;
  if (path.starts_with("/data/") && !IsDataFilePath(path)) return false;
  switch (cls) {
    case RequestClass::Document:
      return IsScreenerPath(path);
    case RequestClass::DataFetch:
      return IsDataFilePath(path) || IsQuotePagePath(path);
    case RequestClass::Asset:
      return IsStaticAssetPath(path);
    case RequestClass::Worker:
      break;
  }
  return false;
}

NavigationDecision ClassifyNavigation(std::string_view url) {
  UrlParts parts;
  if (HasControlByte(url) || !ParseUrl(url, parts)) return {NavigationAction::Block, {}};
  if ((parts.scheme == "about" && parts.path == "blank") || parts.scheme == "data") {
    return {NavigationAction::StayInside, {}};
  }
  if (IsSiteScreenerUrl(parts)) return {NavigationAction::StayInside, {}};
  if (parts.scheme == "http" || parts.scheme == "https") {
    return {NavigationAction::OpenExternal, AddReferralTag(url)};
  }
  if (parts.scheme == "mailto") return {NavigationAction::OpenExternal, std::string(url)};
  return {NavigationAction::Block, {}};
}

std::string ExternalOpenUrl(std::string_view url) {
  NavigationDecision decision = ClassifyNavigation(url);
  switch (decision.action) {
    case NavigationAction::OpenExternal:
      return std::move(decision.url);
    case NavigationAction::StayInside:
      return url.starts_with("https://") ? AddReferralTag(url) : std::string();
    case NavigationAction::Block:
      break;
  }
  return {};
}

}  // namespace velquist
