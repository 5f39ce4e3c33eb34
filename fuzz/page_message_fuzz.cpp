// The handler of messages that pages post, on any message from any source. The first
// input byte chooses the receiving tab, whether it shows the offline page, and the
// sender's URL (one of a few typical ones, or text taken from the input up to its first
// NUL byte); the rest is the message. Whatever the handler asks for must be something a
// trusted page may ask for, within the limits of the menus and the status strip.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/json.h"
#include "fuzz_check.h"
#include "site/url.h"
#include "site_constants.h"
#include "text/utf16.h"
#include "web/page_message.h"

namespace {

using namespace velquist;

std::size_t Utf16Units(std::string_view utf8) { return Utf8ToUtf16Le(utf8).size() / 2; }

bool HasControlBytes(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

void CheckDisplayText(std::string_view text, std::size_t maxUnits) {
  FUZZ_CHECK(!HasControlBytes(text));
  FUZZ_CHECK(Utf16Units(text) <= maxUnits);
  FUZZ_CHECK(text.empty() || text.front() != ' ');
  // The text is trimmed before it is cut, so only a cut text may end in a space.
  FUZZ_CHECK(text.empty() || text.back() != ' ' || Utf16Units(text) + 1 >= maxUnits);
}

std::string MessageType(std::string_view json) {
  JsonValue message;
  if (!ParseJson(json, message)) return {};
  return message.Member("t").Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  const bool offline = (flags & 1) != 0;
  const ScreenerKind kind = (flags & 2) != 0 ? ScreenerKind::Etfs : ScreenerKind::Stocks;
  static const std::array<std::string, 7> sources = {
      std::string(SiteOrigin) + "/screener.html#f=cap",
      std::string(SiteOrigin) + "/etf-screener.html",
      std::string(SiteOrigin) + "/stocks/abc.html",
      "https://evil.example/screener.html",
      "http://" + std::string(SiteHost) + "/screener.html",
      "about:blank",
      "data:text/html,<p>x</p>",
  };
  std::string source;
  const std::size_t choice = (flags >> 2) & 7;
  if (choice < sources.size()) {
    source = sources[choice];
  } else {
    const std::size_t nul = rest.find('\0');
    source = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  }

  const WebMessageResult result = InterpretWebMessage(source, rest, kind, offline);
  const bool trusted = IsTrustedMessageSource(source);
  switch (result.action) {
    case WebMessageAction::Ignore:
      break;
    case WebMessageAction::Retry:
      FUZZ_CHECK(offline && MessageType(rest) == "retry");
      break;
    case WebMessageAction::ReportUrl:
      FUZZ_CHECK(trusted && MessageType(rest) == "url");
      break;
    case WebMessageAction::Hover: {
      FUZZ_CHECK(trusted && MessageType(rest) == "hover");
      if (result.url.empty()) break;
      UrlParts parts;
      FUZZ_CHECK(ParseUrl(result.url, parts));
      FUZZ_CHECK(parts.scheme == "http" || parts.scheme == "https");
      break;
    }
    case WebMessageAction::RowMenu: {
      FUZZ_CHECK(trusted && MessageType(rest) == "ctx");
      const RowMenuRequest& menu = result.rowMenu;
      FUZZ_CHECK(menu.hostKind == kind);
      FUZZ_CHECK(IsQuotePagePath(menu.path));
      CheckDisplayText(menu.symbol, MaxRowSymbolUnits);
      FUZZ_CHECK(menu.tabs.size() <= MaxRowTabs);
      for (const RowMenuTab& tab : menu.tabs) {
        FUZZ_CHECK(!tab.label.empty());
        CheckDisplayText(tab.label, MaxRowTabLabelUnits);
        FUZZ_CHECK(IsSectionPagePath(tab.path));
      }
      FUZZ_CHECK(!menu.UseItems || !menu.tabs.empty());
      break;
    }
  }
  return 0;
}
