// The URL parser and the decisions built on it, on any text. The request filter's promise
// is checked against the way a browser reads the same text (its URL standard's parsing,
// written out below independently of ParseUrl): a request the filter lets through goes
// over https to exactly SiteHost, and the path the server will see after the browser's
// clean-up is one the filter would let through too. Navigation decisions keep inside the
// view only what the browser, too, reads as a screener page of the site.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "site/filter.h"
#include "site/url.h"
#include "site_constants.h"

namespace {

using namespace velquist;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

// How a browser reads a URL typed or requested without a base: the parts that decide
// where a request goes.
struct BrowserUrl {
  bool valid = false;
  std::string scheme, host, port, path;
};

bool IsDotSegment(std::string_view segment) {
  return segment == "." || AsciiLower(segment) == "%2e";
}

bool IsDoubleDotSegment(std::string_view segment) {
  const std::string lower = AsciiLower(segment);
  return lower == ".." || lower == ".%2e" || lower == "%2e." || lower == "%2e%2e";
}

// Removes "." and ".." segments as the URL standard does for special schemes.
std::string ResolveDots(std::string_view path) {
  std::vector<std::string> segments;
  std::size_t start = 1;  // path begins with "/"
  while (true) {
    const std::size_t slash = path.find('/', start);
    const std::string_view segment = path.substr(
        start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    const bool last = slash == std::string_view::npos;
    if (IsDoubleDotSegment(segment)) {
      if (!segments.empty()) segments.pop_back();
      if (last) segments.emplace_back();
    } else if (IsDotSegment(segment)) {
      if (last) segments.emplace_back();
    } else {
      segments.emplace_back(segment);
    }
    if (last) break;
    start = slash + 1;
  }
  std::string out;
  for (const std::string& segment : segments) out += "/" + segment;
  return out.empty() ? "/" : out;
}

BrowserUrl ReadAsBrowser(std::string_view raw) {
  BrowserUrl url;
  // Leading and trailing C0 controls and spaces go, then every tab and line break.
  while (!raw.empty() && static_cast<unsigned char>(raw.front()) <= 0x20) raw.remove_prefix(1);
  while (!raw.empty() && static_cast<unsigned char>(raw.back()) <= 0x20) raw.remove_suffix(1);
  std::string text;
  for (char c : raw) {
    if (c != '\t' && c != '\n' && c != '\r') text += c;
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || !IsAlpha(text[0])) return url;
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = text[i];
    if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return url;
  }
  url.scheme = AsciiLower(text.substr(0, colon));
  std::string_view rest = std::string_view(text).substr(colon + 1);
  url.valid = true;
  if (url.scheme != "http" && url.scheme != "https") {
    url.path = rest.substr(0, rest.find('#'));
    return url;
  }
  // Any run of slashes and backslashes introduces the authority of a special scheme.
  while (!rest.empty() && (rest.front() == '/' || rest.front() == '\\')) rest.remove_prefix(1);
  const std::size_t authorityEnd = rest.find_first_of("/\\?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  rest = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  std::string_view hostText = authority;
  if (const std::size_t portColon = authority.rfind(':');
      portColon != std::string_view::npos &&
      authority.find(']', portColon) == std::string_view::npos) {
    hostText = authority.substr(0, portColon);
    std::string_view port = authority.substr(portColon + 1);
    while (port.size() > 1 && port.front() == '0') port.remove_prefix(1);
    url.port = port;
  }
  url.host = AsciiLower(PercentDecode(hostText));
  const std::size_t pathEnd = rest.find_first_of("?#");
  std::string path(rest.substr(0, pathEnd));
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
  url.path = ResolveDots(path);
  return url;
}

bool IsDefaultPort(const BrowserUrl& url) {
  return url.port.empty() || (url.scheme == "https" && url.port == "443") ||
         (url.scheme == "http" && url.port == "80");
}

bool ReachesOnlyTheSite(const BrowserUrl& url) {
  return url.valid && url.scheme == "https" && url.host == SiteHost && IsDefaultPort(url);
}

bool IsLocalScheme(const UrlParts& parts) {
  return parts.scheme == "data" || parts.scheme == "blob" ||
         (parts.scheme == "about" && parts.path == "blank");
}

void CheckRequest(std::string_view text, RequestClass cls) {
  if (!IsRequestAllowed("GET", text, cls)) return;
  FUZZ_CHECK(!IsRequestAllowed("POST", text, cls));
  UrlParts parts;
  FUZZ_CHECK(ParseUrl(text, parts));
  const BrowserUrl browser = ReadAsBrowser(text);
  FUZZ_CHECK(browser.valid && browser.scheme == parts.scheme);
  if (IsLocalScheme(parts)) return;
  FUZZ_CHECK(parts.scheme == "https" && parts.host == SiteHost);
  FUZZ_CHECK(ReachesOnlyTheSite(browser));
  // What the server is asked for must pass the same rules.
  FUZZ_CHECK(IsRequestAllowed("GET", std::string(SiteOrigin) + browser.path, cls));
}

bool IsOutsideScheme(std::string_view url) {
  UrlParts parts;
  return ParseUrl(url, parts) &&
         (parts.scheme == "http" || parts.scheme == "https" || parts.scheme == "mailto");
}

void CheckNavigation(std::string_view text) {
  const NavigationDecision decision = ClassifyNavigation(text);
  const BrowserUrl browser = ReadAsBrowser(text);
  switch (decision.action) {
    case NavigationAction::StayInside:
      FUZZ_CHECK(decision.url.empty());
      FUZZ_CHECK(browser.valid);
      if (browser.scheme == "data" || (browser.scheme == "about" && browser.path == "blank")) {
        break;
      }
      FUZZ_CHECK(ReachesOnlyTheSite(browser) && IsScreenerPath(browser.path));
      break;
    case NavigationAction::OpenExternal:
      FUZZ_CHECK(IsOutsideScheme(decision.url));
      break;
    case NavigationAction::Block:
      FUZZ_CHECK(decision.url.empty());
      break;
  }
  const std::string external = ExternalOpenUrl(text);
  FUZZ_CHECK(external.empty() || IsOutsideScheme(external));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  UrlParts parts;
  if (ParseUrl(text, parts)) {
    FUZZ_CHECK(AsciiLower(parts.scheme) == parts.scheme && !parts.scheme.empty());
    if (parts.scheme == "http" || parts.scheme == "https") {
      FUZZ_CHECK(!parts.host.empty() && !parts.path.empty() && parts.path.front() == '/');
      FUZZ_CHECK(AsciiLower(parts.host) == parts.host);
    }
  }
  CheckRequest(text, RequestClass::Document);
  CheckRequest(text, RequestClass::DataFetch);
  CheckRequest(text, RequestClass::Asset);
  // Shared and service workers never start, whatever their script's address.
  FUZZ_CHECK(!IsRequestAllowed("GET", text, RequestClass::Worker));
  CheckNavigation(text);
  return 0;
}
