// How the saved-screens dialogs show and change the store: the name and noun Save Screen
// proposes, what saving does at the store's limit, the list's order and the item selected
// after it is filled, the filters text of a screen, and renaming.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/screens.h"

namespace velquist {

// The name Save Screen proposes for a screen on path: the preset's label as the menu shows
// it on a preset's page (the fragment does not matter), else "My screen".
std::string DefaultScreenName(std::string_view path);

enum class ScreenUrlCheck {
  Ready,             // out holds the screen, without a name
  NotAScreenerPage,  // the URL is no screener page of the site
  FragmentTooOdd     // the fragment is too long or holds bytes a stored screen may not
};

// The screen Save Screen keeps for a tab's current URL: its path and fragment, and the
// screener the path belongs to (a tab may have been led to the other screener's page; a
// screen stored under the tab's kind would then be dropped at the next start). A fragment
// that IsValidScreenHash refuses would be dropped the same way and is refused here.
ScreenUrlCheck ScreenForUrl(std::string_view url, SavedScreen& out);

// "stock" or "ETF", as the Save Screen hint names the screener.
std::string_view ScreenerNoun(ScreenerKind kind);
// "Stocks" or "ETFs", as the tabs and the list name the screener.
std::string_view ScreenerLabel(ScreenerKind kind);

enum class SaveScreenAction {
  Add,        // a new screen
  Replace,    // the store holds a screen of this kind and name; ask first
  RefuseFull  // a new screen beyond MaxSavedScreens would be dropped at the next start
};

// What saving screen into store does. Replacing is allowed at any size.
SaveScreenAction DecideSaveScreen(const ScreenStore& store, const SavedScreen& screen);

// The store indexes in list order: the screens of kind first, then the others, each group
// in store order.
std::vector<std::size_t> ScreenListOrder(const ScreenStore& store, ScreenerKind first);

// The list position selected after a fill: the item of storeIndex; when no item shows it
// (storeIndex -1, say), the item at position; when that is past the end, the last item.
// -1 for an empty list.
int SelectionAfterFill(const std::vector<std::size_t>& order, int position, int storeIndex);

// The Filters column: "<preset label> · " on a preset's page, then "default view" for an
// empty fragment, else the fragment with every "%" and two hexadecimal digits decoded to
// the byte they give (the result may hold bytes that are not UTF-8).
std::string ScreenFiltersText(const SavedScreen& screen);

enum class RenameResult {
  Unchanged,  // the text normalises to nothing
  Taken,      // another screen of this screener has that name; nothing changes
  Renamed     // the screen has the normalised name (possibly the name it had)
};

// Renames the screen at index (within the store) to the normalised text.
RenameResult RenameScreen(ScreenStore& store, std::size_t index, std::string_view text);

}  // namespace velquist
