#include "site/url.h"

#include "site_constants.h"

namespace velquist {
namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

bool IsSchemeChar(char c) { return (c >= 'a' && c <= 'z') || c == '+' || c == '-' || c == '.'; }

bool IsHttpScheme(std::string_view scheme) { return scheme == "http" || scheme == "https"; }

// The authority of an http(s) URL, in lower case, with a default port removed.
bool ParseHost(std::string_view scheme, std::string_view authority, std::string& host) {
  // User information would let a URL name one host and reach another.
  if (authority.find('@') != std::string_view::npos) return false;
  host = AsciiLower(authority);
  const std::size_t colon = host.rfind(':');
  if (colon != std::string::npos) {
    const std::string port = host.substr(colon + 1);
    host.resize(colon);
    const bool defaultPort =
        port.empty() || (scheme == "https" && port == "443") || (scheme == "http" && port == "80");
    if (!defaultPort) host += ":" + port;
  }
  return !host.empty();
}

}  // namespace

bool ParseUrl(std::string_view url, UrlParts& out) {
  out = UrlParts{};
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string scheme = AsciiLower(url.substr(0, colon));
  for (char c : scheme) {
    if (!IsSchemeChar(c)) return false;
  }
  std::string_view rest = url.substr(colon + 1);
  std::string fragment;
  if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
    fragment = rest.substr(hash + 1);
    rest = rest.substr(0, hash);
  }
  if (!IsHttpScheme(scheme)) {
    out.scheme = std::move(scheme);
    out.path = rest;
    out.fragment = std::move(fragment);
    return true;
  }
  if (!rest.starts_with("//")) return false;
  rest.remove_prefix(2);
  std::string query;
  if (const std::size_t question = rest.find('?'); question != std::string_view::npos) {
    query = rest.substr(question + 1);
    rest = rest.substr(0, question);
  }
  std::string_view authority = rest;
  std::string_view path = "/";
  if (const std::size_t slash = rest.find('/'); slash != std::string_view::npos) {
    authority = rest.substr(0, slash);
    path = rest.substr(slash);
  }
  std::string host;
  if (!ParseHost(scheme, authority, host)) return false;
  out.scheme = std::move(scheme);
  out.host = std::move(host);
  out.path = path;
  out.query = std::move(query);
  out.fragment = std::move(fragment);
  return true;
}

bool IsValidSlug(std::string_view text, bool allowDot) {
  if (text.empty() || text.size() > 64) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    const bool inner = i > 0 && (c == '-' || (allowDot && c == '.'));
    if (!plain && !inner) return false;
  }
  return text.find("..") == std::string_view::npos;
}

bool MatchPagePath(std::string_view path, std::string_view section, std::string_view extension,
                   std::string_view* slug) {
  const std::size_t prefixSize = section.size() + 2;
  if (path.size() < prefixSize + extension.size()) return false;
  if (path[0] != '/' || path.substr(1, section.size()) != section || path[prefixSize - 1] != '/' ||
      !path.ends_with(extension)) {
    return false;
  }
  const std::string_view name =
      path.substr(prefixSize, path.size() - prefixSize - extension.size());
  if (name.find('/') != std::string_view::npos) return false;
  if (slug) *slug = name;
  return true;
}

bool IsScreenerPath(std::string_view path) {
  if (path == "/screener.html" || path == "/etf-screener.html") return true;
  std::string_view slug;
  return MatchPagePath(path, "screener", ".html", &slug) && IsValidSlug(slug, false);
}

bool IsEtfScreenerPath(std::string_view path) {
  if (path == "/etf-screener.html") return true;
  std::string_view slug;
  return MatchPagePath(path, "screener", ".html", &slug) && IsValidSlug(slug, false) &&
         slug.starts_with("etf-");
}

bool IsQuotePagePath(std::string_view path) {
  std::string_view slug;
  return (MatchPagePath(path, "stocks", ".html", &slug) ||
          MatchPagePath(path, "etfs", ".html", &slug)) &&
         IsValidSlug(slug, true);
}

bool IsSectionPagePath(std::string_view path) {
  if (path.size() < 4 || path[0] != '/') return false;
  const std::size_t second = path.find('/', 1);
  if (second == std::string_view::npos) return false;
  const std::string_view section = path.substr(1, second - 1);
  if (!IsValidSlug(section, false)) return false;
  for (char c : section) {
    if (c >= '0' && c <= '9') return false;
  }
  std::string_view slug;
  return MatchPagePath(path, section, ".html", &slug) && IsValidSlug(slug, true);
}

bool IsSiteScreenerUrl(const UrlParts& parts) {
  return parts.scheme == "https" && parts.host == SiteHost && IsScreenerPath(parts.path);
}

bool SplitScreenerUrl(std::string_view url, std::string& path, std::string& fragment) {
  UrlParts parts;
  if (!ParseUrl(url, parts) || !IsSiteScreenerUrl(parts)) return false;
  path = std::move(parts.path);
  fragment = std::move(parts.fragment);
  return true;
}

std::string BuildScreenerUrl(std::string_view path, std::string_view fragment) {
  std::string url(SiteOrigin);
  url += IsScreenerPath(path) ? path : std::string_view("/screener.html");
  if (!fragment.empty()) {
    url += '#';
    url += fragment;
  }
  return url;
}

std::string SiteUrlForPath(std::string_view path) {
  std::string url(SiteOrigin);
  url += path.starts_with('/') ? path : std::string_view("/");
  return url;
}

std::string AddReferralTag(std::string_view url) {
  UrlParts parts;
  if (!ParseUrl(url, parts) || !IsHttpScheme(parts.scheme) ||
      (parts.host != SiteHost && parts.host != SiteDomain)) {
    return std::string(url);
  }
  // Compare whole parameters: wrap both sides in "&" so "xsrc=vqs" is not taken for the tag.
  std::string wrappedQuery(1, '&');
  wrappedQuery.append(parts.query).append(1, '&');
  std::string wrappedTag(1, '&');
  wrappedTag.append(ReferralParameter).append(1, '&');
  if (wrappedQuery.find(wrappedTag) != std::string::npos) {
    return std::string(url);
  }
  const std::size_t hash = url.find('#');
  const std::string_view base = url.substr(0, hash);
  const std::string_view tail = hash == std::string_view::npos ? "" : url.substr(hash);
  std::string tagged(base);
  if (base.find('?') == std::string_view::npos) {
    tagged += '?';
  } else if (!base.ends_with('?') && !base.ends_with('&')) {
    tagged += '&';
  }
  tagged += ReferralParameter;
  tagged += tail;
  return tagged;
}

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
    if (low < 0) {
      out.push_back(text[i]);
      continue;
    }
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

}  // namespace velquist
