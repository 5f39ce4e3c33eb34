// What the program does with a message the page script posts. Messages are JSON objects
// whose member "t" names the kind: "url" (the page rewrote its URL), "hover" (the link
// under the mouse), "ctx" (a result row was right-clicked) and "retry" (the offline
// page's button). Anything malformed, unknown, or sent by a document other than a
// screener page of the site is dropped silently.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "site/screener_kind.h"

namespace velquist {

// One page of the symbol, offered in the row menu.
struct RowMenuTab {
  std::string label;  // cleaned display text, not empty, at most 40 UTF-16 units
  std::string path;   // a section page path of the site
};

// A right-click on a result row, as the row menu needs it. Texts are UTF-8 and cleaned
// for display, with "&" still single: the menu code doubles it.
struct RowMenuRequest {
  ScreenerKind hostKind = ScreenerKind::Stocks;  // the tab whose page sent it
  bool isEtf = false;                            // the row is an ETF
  std::string symbol;                            // at most 16 UTF-16 units
  std::string path;                              // the symbol page path
  std::vector<RowMenuTab> tabs;                  // at most 40
  bool UseItems = false;  // list the tabs rather than the overview page alone
};

inline constexpr std::size_t MaxRowSymbolUnits = 16;
inline constexpr std::size_t MaxRowTabLabelUnits = 40;
inline constexpr std::size_t MaxRowTabs = 40;
// Hovered links this long or longer are not shown.
inline constexpr std::size_t MaxHoverUrlBytes = 2048;

enum class WebMessageAction {
  Ignore,     // nothing to do
  Retry,      // load the retry URL (only ever while the offline page is shown)
  ReportUrl,  // pass url to the screen-URL tracker
  Hover,      // show url as the hovered link; empty clears it
  RowMenu,    // hand rowMenu to the owner, after the current browser callback returns
};

struct WebMessageResult {
  WebMessageAction action = WebMessageAction::Ignore;
  std::string url;
  RowMenuRequest rowMenu;
};

// True when source (the URL of the posting document as the program knows it) is an https
// screener page of the site: the only documents whose messages count, bar "retry".
bool IsTrustedMessageSource(std::string_view source);

// Decides what a posted message asks for. hostKind and offline describe the receiving
// tab; "retry" counts only while offline, whoever sent it.
WebMessageResult InterpretWebMessage(std::string_view source, std::string_view json,
                                     ScreenerKind hostKind, bool offline);

}  // namespace velquist
