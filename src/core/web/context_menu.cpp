#include "web/context_menu.h"

#include <array>

namespace velquist {
namespace {

constexpr std::array<std::string_view, 9> KeptItemNames = {
    "copy", "cut",  "paste", "pasteAndMatchStyle", "selectAll",
    "undo", "redo", "emoji", "copyLinkLocation"};
constexpr std::array<std::string_view, 4> KeptReportItemNames = {"copy", "selectAll",
                                                                 "copyLinkLocation", "print"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::string_view kept : names) {
    if (name == kept) return true;
  }
  return false;
}

}  // namespace

bool IsKeptContextMenuItem(std::string_view name, ContextMenuSet set) {
  return set == ContextMenuSet::PrintReport ? Contains(KeptReportItemNames, name)
                                            : Contains(KeptItemNames, name);
}

std::vector<ContextMenuItem> FilterContextMenu(const std::vector<ContextMenuItem>& items,
                                               ContextMenuSet set) {
  std::vector<ContextMenuItem> kept;
  for (const ContextMenuItem& item : items) {
    if (item.separator) {
      // A separator only ever stands between two kept items.
      if (!kept.empty() && !kept.back().separator) kept.push_back(item);
    } else if (IsKeptContextMenuItem(item.name, set)) {
      kept.push_back(item);
    }
  }
  if (!kept.empty() && kept.back().separator) kept.pop_back();
  return kept;
}

}  // namespace velquist
