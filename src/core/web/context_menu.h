// The browser's own context menu, cut down to plain editing and copying: everything
// else (navigation, saving, inspecting, opening links in windows) is removed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velquist {

struct ContextMenuItem {
  std::string name;        // the browser's item name, such as "copy" or "selectAll"
  bool separator = false;  // separators have no name
  int id = 0;              // the caller's handle on the item; passed through unchanged
};

// Which view the menu is for: a screener page keeps editing and copying, the print
// window's report only copying and printing.
enum class ContextMenuSet { ScreenerPage, PrintReport };

// Screener page: "copy", "cut", "paste", "pasteAndMatchStyle", "selectAll", "undo", "redo",
// "emoji" and "copyLinkLocation"; print report: "copy", "selectAll", "copyLinkLocation"
// and "print". Matched exactly.
bool IsKeptContextMenuItem(std::string_view name,
                           ContextMenuSet set = ContextMenuSet::ScreenerPage);

// The kept items in their order, with separators tidied so that none is first, last, or
// directly after another. An empty result means no menu is to be shown at all.
std::vector<ContextMenuItem> FilterContextMenu(const std::vector<ContextMenuItem>& items,
                                               ContextMenuSet set = ContextMenuSet::ScreenerPage);

}  // namespace velquist
