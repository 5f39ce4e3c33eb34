#include "data/screen_list.h"

#include "site/presets.h"
#include "site/screen_state.h"
#include "site/url.h"

namespace velquist {

std::string DefaultScreenName(std::string_view path) {
  const std::string_view label = PresetLabel(path);
  return label.empty() ? std::string("My screen") : ShownMenuLabel(label);
}

ScreenUrlCheck ScreenForUrl(std::string_view url, SavedScreen& out) {
  std::string path, fragment;
  if (!SplitScreenerUrl(url, path, fragment)) return ScreenUrlCheck::NotAScreenerPage;
  if (!IsValidScreenHash(fragment)) return ScreenUrlCheck::FragmentTooOdd;
  out.name.clear();
  out.kind = ScreenerKindOfPath(path);
  out.path = std::move(path);
  out.hash = std::move(fragment);
  return ScreenUrlCheck::Ready;
}

std::string_view ScreenerNoun(ScreenerKind kind) {
  return kind == ScreenerKind::Etfs ? "ETF" : "stock";
}

std::string_view ScreenerLabel(ScreenerKind kind) {
  return kind == ScreenerKind::Etfs ? "ETFs" : "Stocks";
}

SaveScreenAction DecideSaveScreen(const ScreenStore& store, const SavedScreen& screen) {
  if (FindScreen(store, screen.kind, screen.name) >= 0) return SaveScreenAction::Replace;
  return store.size() >= MaxSavedScreens ? SaveScreenAction::RefuseFull : SaveScreenAction::Add;
}

std::vector<std::size_t> ScreenListOrder(const ScreenStore& store, ScreenerKind first) {
  std::vector<std::size_t> order;
  order.reserve(store.size());
  for (const bool wanted : {true, false}) {
    for (std::size_t i = 0; i < store.size(); ++i) {
      if ((store[i].kind == first) == wanted) order.push_back(i);
    }
  }
  return order;
}

int SelectionAfterFill(const std::vector<std::size_t>& order, int position, int storeIndex) {
  if (order.empty()) return -1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (storeIndex >= 0 && order[i] == static_cast<std::size_t>(storeIndex)) {
      return static_cast<int>(i);
    }
  }
  const int last = static_cast<int>(order.size()) - 1;
  if (position < 0) return 0;
  return position > last ? last : position;
}

std::string ScreenFiltersText(const SavedScreen& screen) {
  std::string text;
  const std::string_view label = PresetLabel(screen.path);
  if (!label.empty()) text = ShownMenuLabel(label) + " \xC2\xB7 ";
  text += screen.hash.empty() ? std::string("default view") : PercentDecode(screen.hash);
  return text;
}

RenameResult RenameScreen(ScreenStore& store, std::size_t index, std::string_view text) {
  std::string name = NormalizeScreenName(text);
  if (name.empty()) return RenameResult::Unchanged;
  const int found = FindScreen(store, store[index].kind, name);
  if (found >= 0 && static_cast<std::size_t>(found) != index) return RenameResult::Taken;
  store[index].name = std::move(name);
  return RenameResult::Renamed;
}

}  // namespace velquist
