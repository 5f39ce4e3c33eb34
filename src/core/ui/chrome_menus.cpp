#include "ui/chrome_menus.h"

#include <algorithm>
#include <cstddef>

#include "site/presets.h"
#include "site/screen_state.h"
#include "site/url.h"
#include "site_constants.h"
#include "ui/chrome_commands.h"

namespace velquist {

std::vector<PopupEntry> PresetsMenuEntries(ScreenerKind kind, std::string_view currentUrl) {
  std::string path;
  std::string fragment;
  if (!SplitScreenerUrl(currentUrl, path, fragment)) path.clear();
  std::vector<PopupEntry> entries;
  PopupEntry all;
  all.command = kPresetAllId;
  all.text = kind == ScreenerKind::Etfs ? "All ETFs" : "All stocks";
  all.checked = path == DefaultScreenerPath(kind);
  entries.push_back(all);
  entries.push_back({});
  int id = kPresetFirstId;
  for (const Preset& preset : Presets(kind)) {
    PopupEntry e;
    e.command = id++;
    e.text = preset.label;
    e.checked = path == preset.path;
    entries.push_back(e);
  }
  return entries;
}

std::string PresetsMenuTarget(ScreenerKind kind, int command) {
  if (command == kPresetAllId) return BuildScreenerUrl(DefaultScreenerPath(kind), {});
  const auto presets = Presets(kind);
  const int index = command - kPresetFirstId;
  if (index < 0 || index >= static_cast<int>(presets.size())) return {};
  return BuildScreenerUrl(presets[static_cast<std::size_t>(index)].path, {});
}

std::vector<PopupEntry> HelpMenuEntries() {
  std::vector<PopupEntry> entries;
  PopupEntry e;
  e.command = kCmdHelpGuide;
  e.text = "How to use the screener (" + std::string(SiteDomain) + ")\tF1";
  entries.push_back(e);
  e.command = kCmdVisitSite;
  e.text = "Visit " + std::string(SiteHost);
  entries.push_back(e);
  entries.push_back({});
  e.command = kCmdGraphwick;
  e.text = "Graphwick stock charts";
  entries.push_back(e);
  e.command = kCmdPellmoor;
  e.text = "Pellmoor";
  entries.push_back(e);
  entries.push_back({});
  e.command = kCmdAbout;
  e.text = "About Velquist\u2026";
  entries.push_back(e);
  return entries;
}

std::string SiteLink(std::string_view path) { return AddReferralTag(SiteUrlForPath(path)); }

std::string HelpCommandLink(int command, ScreenerKind active) {
  switch (command) {
    case kCmdHelpGuide:
      return SiteLink(DefaultScreenerPath(active));
    case kCmdVisitSite:
      return SiteLink("/");
    case kCmdGraphwick:
      return SiteLink("/graphwick.html");
    case kCmdPellmoor:
      return SiteLink("/pellmoor.html");
    default:
      return {};
  }
}

std::string EscapeMenuText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

std::vector<PopupEntry> RowMenuEntries(const RowMenuModel& model) {
  std::vector<PopupEntry> entries;
  PopupEntry title;
  title.text = EscapeMenuText(model.symbol) +
               (model.etf ? " \u2014 ETF on " : " \u2014 stock on ") + std::string(SiteDomain);
  title.enabled = false;
  // A disabled entry still needs an id of its own to be told apart from a separator.
  title.command = -1;
  entries.push_back(title);
  entries.push_back({});
  if (model.useItems && !model.items.empty()) {
    const std::size_t count = std::min<std::size_t>(model.items.size(), kRowMaxItems);
    for (std::size_t i = 0; i < count; ++i) {
      PopupEntry e;
      e.command = kRowItemFirstId + static_cast<int>(i);
      e.text = EscapeMenuText(model.items[i].label);
      e.isDefault = i == 0;
      entries.push_back(e);
    }
  } else {
    PopupEntry overview;
    overview.command = kRowOverviewId;
    overview.text = "Overview";
    overview.isDefault = true;
    entries.push_back(overview);
  }
  entries.push_back({});
  PopupEntry copy;
  copy.command = kRowCopyLinkId;
  copy.text = "Copy link";
  entries.push_back(copy);
  return entries;
}

std::string RowMenuLink(const RowMenuModel& model, int command) {
  if (command <= 0 || command == kRowCopyLinkId) return {};
  std::string_view path = model.defaultPath;
  const int index = command - kRowItemFirstId;
  if (index >= 0 && index < kRowMaxItems && static_cast<std::size_t>(index) < model.items.size()) {
    path = model.items[static_cast<std::size_t>(index)].path;
  }
  if (!IsSectionPagePath(path)) return {};
  return SiteLink(path);
}

std::string RowCopyLink(const RowMenuModel& model) { return SiteLink(model.defaultPath); }

std::string LinkCopiedStatus(std::string_view link) { return "Link copied: " + std::string(link); }

}  // namespace velquist
