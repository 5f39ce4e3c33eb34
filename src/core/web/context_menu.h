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

// "copy", "cut", "paste", "pasteAndMatchStyle", "selectAll", "undo", "redo", "emoji" and
// "copyLinkLocation", matched exactly.
bool IsKeptContextMenuItem(std::string_view name);

// The kept items in their order, with separators tidied so that none is first, last, or
// directly after another. An empty result means no menu is to be shown at all.
std::vector<ContextMenuItem> FilterContextMenu(const std::vector<ContextMenuItem>& items);

}  // namespace velquist
