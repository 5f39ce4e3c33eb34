// The contents of the three pop-up menus the main window builds at run time (presets,
// help, row context) and what each choice leads to. The window only shows the entries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "site/screener_kind.h"

namespace velquist {

inline constexpr int kPresetAllId = 40000;
inline constexpr int kPresetFirstId = 40001;   // 40001..40014 in table order
inline constexpr int kRowItemFirstId = 40600;  // 40600.. one per page item
inline constexpr int kRowMaxItems = 40;
inline constexpr int kRowCopyLinkId = 40640;
inline constexpr int kRowOverviewId = 40641;

// One pop-up entry; command 0 is a separator. text is a menu text ("&" marks the access
// key, "&&" shows one "&", "\t" comes before the key name).
struct PopupEntry {
  int command = 0;
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool isDefault = false;  // shown bold
};

// "All stocks"/"All ETFs", a separator and the screener's presets; the entry whose path
// equals the current page's path carries the check mark, whatever the fragment.
std::vector<PopupEntry> PresetsMenuEntries(ScreenerKind kind, std::string_view currentUrl);

// The URL a presets menu choice navigates to; empty for an id that is not in the menu.
std::string PresetsMenuTarget(ScreenerKind kind, int command);

std::vector<PopupEntry> HelpMenuEntries();

// A site path as a link for the outside: the site URL of the path with the referral tag.
std::string SiteLink(std::string_view path);

// The link a help command opens (the guide of the active screener, the site's home page
// or a sibling product's page); empty for any other id.
std::string HelpCommandLink(int command, ScreenerKind active);

// The row the page asked a menu for. Texts are UTF-8 as the page bridge delivered them.
struct RowMenuItem {
  std::string label;
  std::string path;
};

struct RowMenuModel {
  bool etf = false;
  std::string symbol;
  std::string defaultPath;
  std::vector<RowMenuItem> items;
  bool useItems = false;
};

// Disabled title, separator, the page's items (first one default) or "Overview",
// separator, "Copy link". Page texts are escaped so that "&" shows as written.
std::vector<PopupEntry> RowMenuEntries(const RowMenuModel& model);

// The link a row menu choice opens: the chosen item's path (the default path for
// "Overview"), only when it is a section page; empty otherwise and for Copy link.
std::string RowMenuLink(const RowMenuModel& model, int command);

// The link "Copy link" puts on the clipboard, and the status text shown afterwards.
std::string RowCopyLink(const RowMenuModel& model);
std::string LinkCopiedStatus(std::string_view link);

// "&" doubled so that a menu shows the text as written.
std::string EscapeMenuText(std::string_view text);

}  // namespace velquist
