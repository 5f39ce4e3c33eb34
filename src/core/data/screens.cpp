#include "data/screens.h"

#include <cmath>
#include <limits>

#include "site/screen_state.h"
#include "site/url.h"
#include "text/utf8.h"

namespace velquist {
namespace {

// The name's first bytes, at most ImportRenameBaseBytes, cut so that no UTF-8 character
// is split.
std::string_view RenameBase(std::string_view name) {
  return name.substr(0, Utf8CutLength(name, ImportRenameBaseBytes));
}

std::string FreeImportName(const ScreenStore& store, ScreenerKind kind, std::string_view name) {
  const std::string base(RenameBase(name));
  for (std::size_t n = 2;; ++n) {
    std::string candidate = NormalizeScreenName(base + " (" + std::to_string(n) + ")");
    if (FindScreen(store, kind, candidate) < 0) return candidate;
  }
}

bool ReadKind(const JsonValue& value, ScreenerKind& kind) {
  if (value.Kind() != JsonKind::String) return false;
  if (value.Text() == "stocks") {
    kind = ScreenerKind::Stocks;
  } else if (value.Text() == "etfs") {
    kind = ScreenerKind::Etfs;
  } else {
    return false;
  }
  return true;
}

// A JSON number truncated toward zero, when it fits a screen coordinate.
bool ReadCoordinate(const JsonValue& value, std::int32_t& out) {
  if (value.Kind() != JsonKind::Number) {
    out = 0;
    return true;
  }
  double truncated = std::trunc(value.Number());
  if (!(truncated >= std::numeric_limits<std::int32_t>::min() &&
        truncated <= std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  out = static_cast<std::int32_t>(truncated);
  return true;
}

std::optional<FileWindowPlacement> ReadWindow(const JsonValue& window) {
  if (window.Kind() != JsonKind::Object) return std::nullopt;
  FileWindowPlacement placement;
  if (!ReadCoordinate(window.Member("left"), placement.left) ||
      !ReadCoordinate(window.Member("top"), placement.top) ||
      !ReadCoordinate(window.Member("right"), placement.right) ||
      !ReadCoordinate(window.Member("bottom"), placement.bottom)) {
    return std::nullopt;
  }
  if (!IsPlacementSizeValid(placement.left, placement.top, placement.right, placement.bottom)) {
    return std::nullopt;
  }
  const JsonValue& maximized = window.Member("maximized");
  placement.maximized = maximized.Kind() == JsonKind::Bool && maximized.Bool();
  return placement;
}

std::optional<std::string> ReadLast(const JsonValue& value, ScreenerKind kind) {
  std::string state;
  if (value.Kind() != JsonKind::String || !AcceptLastScreen(value.Text(), kind, state)) {
    return std::nullopt;
  }
  return state;
}

bool BoolOrTrue(const JsonValue& value) {
  return value.Kind() == JsonKind::Bool ? value.Bool() : true;
}

void ReadFileOptions(const JsonValue& root, ScreensFileOptions& options) {
  ScreenerKind tab;
  if (ReadKind(root.Member("activeTab"), tab)) options.activeTab = tab;
  const JsonValue& last = root.Member("last");
  if (last.Kind() == JsonKind::Object) {
    options.lastStocks = ReadLast(last.Member("stocks"), ScreenerKind::Stocks);
    options.lastEtfs = ReadLast(last.Member("etfs"), ScreenerKind::Etfs);
  }
  options.restoreLast = BoolOrTrue(root.Member("restoreLast"));
  options.showSplash = BoolOrTrue(root.Member("showSplash"));
  const JsonValue& zoom = root.Member("zoom");
  double value = zoom.Kind() == JsonKind::Number ? zoom.Number() : 1.0;
  if (std::isfinite(value) && value >= 0.25 && value <= 5.0) options.zoom = value;
  const JsonValue& mode = root.Member("colorMode");
  if (mode.Kind() == JsonKind::String) {
    if (mode.Text() == "system") options.colorMode = 0;
    if (mode.Text() == "light") options.colorMode = 1;
    if (mode.Text() == "dark") options.colorMode = 2;
  }
  options.window = ReadWindow(root.Member("window"));
}

}  // namespace

std::string NormalizeScreenName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || byte == ' ') {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += c;
  }
  out.resize(Utf8CharactersLength(out, MaxScreenNameCharacters));
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

bool IsValidScreenHash(std::string_view text) { return IsValidScreenFragment(text); }

int FindScreen(const ScreenStore& store, ScreenerKind kind, std::string_view name) {
  for (std::size_t i = 0; i < store.size(); ++i) {
    if (store[i].kind == kind && store[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::size_t PutScreen(ScreenStore& store, const SavedScreen& screen) {
  int found = FindScreen(store, screen.kind, screen.name);
  if (found >= 0) {
    store[static_cast<std::size_t>(found)] = screen;
    return static_cast<std::size_t>(found);
  }
  store.push_back(screen);
  return store.size() - 1;
}

std::size_t ImportScreens(ScreenStore& store, const ScreenStore& list) {
  std::size_t added = 0;
  for (const SavedScreen& screen : list) {
    if (store.size() >= MaxSavedScreens) break;
    SavedScreen copy = screen;
    if (FindScreen(store, copy.kind, copy.name) >= 0) {
      copy.name = FreeImportName(store, copy.kind, copy.name);
    }
    store.push_back(std::move(copy));
    ++added;
  }
  return added;
}

std::string ScreensFileText(const ScreenStore& store) {
  std::string text = "{\n  \"version\": 1,\n  \"app\": \"Velquist\",\n  \"screens\": [";
  for (std::size_t i = 0; i < store.size(); ++i) {
    const SavedScreen& screen = store[i];
    text += i == 0 ? "\n    " : ",\n    ";
    text += "{ \"name\": " + QuoteJsonString(screen.name);
    text += ", \"tab\": " + QuoteJsonString(ScreenerKindName(screen.kind));
    text += ", \"path\": " + QuoteJsonString(screen.path);
    text += ", \"hash\": " + QuoteJsonString(screen.hash) + " }";
  }
  text += store.empty() ? "]\n" : "\n  ]\n";
  text += "}\n";
  return text;
}

bool ReadScreen(const JsonValue& value, SavedScreen& out) {
  if (value.Kind() != JsonKind::Object) return false;
  // Text() reads a member that is missing or not a string as "".
  out.name = NormalizeScreenName(value.Member("name").Text());
  if (out.name.empty() || !ReadKind(value.Member("tab"), out.kind)) return false;
  out.path = value.Member("path").Text();
  if (!IsScreenerPath(out.path)) return false;
  out.hash = value.Member("hash").Text();
  return IsValidScreenHash(out.hash) && ScreenerKindOfPath(out.path) == out.kind;
}

void ReadScreensList(const JsonValue& value, ScreenStore& list) {
  list.clear();
  if (value.Kind() != JsonKind::Array) return;
  for (const JsonValue& element : value.Elements()) {
    if (list.size() >= MaxSavedScreens) break;
    SavedScreen screen;
    if (ReadScreen(element, screen)) PutScreen(list, screen);
  }
}

bool AcceptLastScreen(std::string_view state, ScreenerKind kind, std::string& out) {
  std::string path, fragment;
  if (!SplitScreenState(state, path, fragment)) return false;
  if (IsEtfScreenerPath(path) != (kind == ScreenerKind::Etfs)) return false;
  out = JoinScreenState(path, fragment);
  return true;
}

bool IsPlacementSizeValid(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom) {
  // Differences of 32-bit coordinates always fit 64 bits.
  std::int64_t width = std::int64_t{right} - left;
  std::int64_t height = std::int64_t{bottom} - top;
  return width >= 200 && width <= 20000 && height >= 150 && height <= 20000;
}

bool ParseScreensFile(std::string_view text, ScreensFileOptions& options, ScreenStore& store,
                      std::string* error) {
  options = ScreensFileOptions{};
  store.clear();
  JsonValue root;
  if (!ParseJson(text, root, error)) return false;
  if (root.Kind() != JsonKind::Object) {
    if (error != nullptr) *error = "not a JSON object";
    return false;
  }
  ReadFileOptions(root, options);
  ReadScreensList(root.Member("screens"), store);
  return true;
}

bool ParseScreensList(std::string_view text, ScreenStore& list, std::string* error) {
  list.clear();
  JsonValue root;
  if (!ParseJson(text, root, error)) return false;
  const JsonValue& screens = root.Member("screens");
  if (root.Kind() != JsonKind::Object || screens.Kind() != JsonKind::Array) {
    if (error != nullptr) *error = "no \"screens\" list";
    return false;
  }
  ReadScreensList(screens, list);
  return true;
}

}  // namespace velquist
