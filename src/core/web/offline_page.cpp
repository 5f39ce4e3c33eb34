#include "web/offline_page.h"

#include "site/url.h"

namespace velquist {
namespace {

void AppendEscapedHtml(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '"':
        out += "&quot;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

std::string FillOfflinePage(std::string_view page, std::string_view errorText) {
  const std::size_t at = page.find(OfflineErrorPlaceholder);
  if (at == std::string_view::npos) return std::string(page);
  std::string filled(page.substr(0, at));
  AppendEscapedHtml(filled, errorText);
  filled += page.substr(at + OfflineErrorPlaceholder.size());
  return filled;
}

std::string OfflineStatusText(std::string_view errorText) {
  return "Offline \u2014 " + std::string(errorText);
}

std::string ViewCreationErrorText(std::uint32_t code) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string digits(8, '0');
  for (int i = 7; i >= 0; --i, code >>= 4) digits[static_cast<std::size_t>(i)] = Hex[code & 0xF];
  return "The page view could not be created (error 0x" + digits + ").";
}

bool IsSiteNavigation(std::string_view url) {
  // Of the navigations the view keeps, exactly the screener pages go to the site itself.
  UrlParts parts;
  return ParseUrl(url, parts) && IsSiteScreenerUrl(parts);
}

std::string_view RetryUrl(std::string_view lastSiteNavigation, std::string_view startUrl) {
  return lastSiteNavigation.empty() ? startUrl : lastSiteNavigation;
}

}  // namespace velquist
