#include "web/page_message.h"

#include "data/json.h"
#include "site/filter.h"
#include "site/url.h"
#include "web/display_text.h"

namespace velquist {
namespace {

WebMessageResult Hover(const JsonValue& message) {
  const std::string& href = message.Member("href").Text();
  WebMessageResult result;
  if (href.empty()) {
    result.action = WebMessageAction::Hover;
    return result;
  }
  UrlParts parts;
  if (href.size() >= MaxHoverUrlBytes || !ParseUrl(href, parts) ||
      (parts.scheme != "http" && parts.scheme != "https")) {
    return result;  // the previous hover text stays
  }
  // Show what a click would really open, referral tag included.
  NavigationDecision decision = ClassifyNavigation(href);
  result.action = WebMessageAction::Hover;
  result.url = decision.action == NavigationAction::OpenExternal ? std::move(decision.url) : href;
  return result;
}

std::vector<RowMenuTab> ReadTabs(const JsonValue& tabs) {
  std::vector<RowMenuTab> collected;
  for (const JsonValue& element : tabs.Elements()) {
    if (collected.size() >= MaxRowTabs) break;
    const std::string& path = element.Member("h").Text();
    std::string label = CleanDisplayText(element.Member("l").Text(), MaxRowTabLabelUnits);
    if (IsSectionPagePath(path) && !label.empty()) {
      collected.push_back({std::move(label), path});
    }
  }
  return collected;
}

WebMessageResult RowMenu(const JsonValue& message, ScreenerKind hostKind) {
  WebMessageResult result;
  RowMenuRequest& request = result.rowMenu;
  request.path = message.Member("path").Text();
  if (!IsQuotePagePath(request.path)) return result;
  request.hostKind = hostKind;
  request.isEtf = message.Member("kind").Text() == "etfs";
  request.symbol = CleanDisplayText(message.Member("sym").Text(), MaxRowSymbolUnits);
  request.tabs = ReadTabs(message.Member("tabs"));
  const JsonValue& ok = message.Member("ok");
  request.UseItems = ok.Kind() == JsonKind::Bool && ok.Bool() && !request.tabs.empty();
  result.action = WebMessageAction::RowMenu;
  return result;
}

}  // namespace

bool IsTrustedMessageSource(std::string_view source) {
  UrlParts parts;
  return ParseUrl(source, parts) && IsSiteScreenerUrl(parts);
}

WebMessageResult InterpretWebMessage(std::string_view source, std::string_view json,
                                     ScreenerKind hostKind, bool offline) {
  JsonValue message;
  if (!ParseJson(json, message) || message.Kind() != JsonKind::Object) return {};
  const std::string& type = message.Member("t").Text();
  if (type == "retry") {
    return {offline ? WebMessageAction::Retry : WebMessageAction::Ignore, {}, {}};
  }
  if (!IsTrustedMessageSource(source)) return {};
  if (type == "url") return {WebMessageAction::ReportUrl, message.Member("href").Text(), {}};
  if (type == "hover") return Hover(message);
  if (type == "ctx") return RowMenu(message, hostKind);
  return {};
}

}  // namespace velquist
