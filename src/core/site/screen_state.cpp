#include "site/screen_state.h"

#include "site/url.h"

namespace velquist {

std::string_view DefaultScreenerPath(ScreenerKind kind) {
  return kind == ScreenerKind::Etfs ? "/etf-screener.html" : "/screener.html";
}

ScreenerKind ScreenerKindOfPath(std::string_view path) {
  return IsEtfScreenerPath(path) ? ScreenerKind::Etfs : ScreenerKind::Stocks;
}

bool IsValidScreenFragment(std::string_view fragment) {
  if (fragment.size() > MaxScreenFragmentSize) return false;
  for (char c : fragment) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '"' || c == '#' || c == '<' || c == '>' || c == '\\') {
      return false;
    }
  }
  return true;
}

std::string JoinScreenState(std::string_view path, std::string_view fragment) {
  std::string state(path);
  if (!fragment.empty()) {
    state += '#';
    state += fragment;
  }
  return state;
}

bool SplitScreenState(std::string_view state, std::string& path, std::string& fragment) {
  const std::size_t hash = state.find('#');
  const std::string_view statePath = state.substr(0, hash);
  const std::string_view stateFragment =
      hash == std::string_view::npos ? std::string_view() : state.substr(hash + 1);
  if (!IsScreenerPath(statePath) || !IsValidScreenFragment(stateFragment)) return false;
  path = statePath;
  fragment = stateFragment;
  return true;
}

bool ScreenStateForUrl(std::string_view url, ScreenerKind kind, std::string& state) {
  std::string path, fragment;
  if (!SplitScreenerUrl(url, path, fragment) || ScreenerKindOfPath(path) != kind) return false;
  state = JoinScreenState(path, fragment);
  return true;
}

std::string StartUrl(ScreenerKind kind, bool restoreLast, std::string_view lastScreen) {
  std::string path, fragment;
  if (restoreLast && SplitScreenState(lastScreen, path, fragment) &&
      ScreenerKindOfPath(path) == kind) {
    return BuildScreenerUrl(path, fragment);
  }
  return BuildScreenerUrl(DefaultScreenerPath(kind), "");
}

std::string ResetFiltersUrl(std::string_view currentUrl, ScreenerKind kind) {
  std::string path, fragment;
  if (!SplitScreenerUrl(currentUrl, path, fragment)) path = DefaultScreenerPath(kind);
  return BuildScreenerUrl(path, "");
}

}  // namespace velquist
