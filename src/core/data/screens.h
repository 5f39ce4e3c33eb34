// Saved screens: named bookmarks of a screener's path and URL fragment, the rules for
// their names, the store that holds them in order, and the text of the screens file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/json.h"
#include "site/screener_kind.h"

namespace velquist {

// Loading and importing stop adding screens at this count.
inline constexpr std::size_t MaxSavedScreens = 500;
// Longest name, in characters (bytes that are not UTF-8 continuation bytes).
inline constexpr std::size_t MaxScreenNameCharacters = 80;
// Longest prefix of a name kept when an import makes a "Name (n)" variant, in bytes.
inline constexpr std::size_t ImportRenameBaseBytes = 74;

struct SavedScreen {
  std::string name;
  ScreenerKind kind = ScreenerKind::Stocks;
  std::string path;
  std::string hash;  // the URL fragment without "#", possibly empty

  bool operator==(const SavedScreen&) const = default;
};

// In order of adding; (kind, name) is unique, names compared byte for byte.
using ScreenStore = std::vector<SavedScreen>;

// Control bytes and DEL become spaces, runs of spaces fold to one, the ends are trimmed,
// and the text is cut to 80 characters without leaving a space at the end.
std::string NormalizeScreenName(std::string_view text);
// A fragment that may be stored: at most 4096 bytes, none of the control bytes, DEL,
// '"', '#', '<', '>' or '\'.
bool IsValidScreenHash(std::string_view text);

// Index of the first screen of that kind with a byte-equal name, or -1.
int FindScreen(const ScreenStore& store, ScreenerKind kind, std::string_view name);
// Overwrites the screen of the same kind and name in place, else appends; returns its
// index. The store's size limit is not tested here.
std::size_t PutScreen(ScreenStore& store, const SavedScreen& screen);
// Appends the list's screens while the store holds fewer than MaxSavedScreens, giving a
// screen whose kind and name are taken a free "Name (n)" name. Returns how many were
// added.
std::size_t ImportScreens(ScreenStore& store, const ScreenStore& list);

// The whole screens file: UTF-8 without byte-order mark, line feeds only.
std::string ScreensFileText(const ScreenStore& store);

// One screen from a JSON object; false when any field is invalid (out is then partly set).
bool ReadScreen(const JsonValue& value, SavedScreen& out);
// Clears list, then puts the valid elements of an Array into it, up to MaxSavedScreens;
// a later element with the same kind and name replaces the earlier one in its place.
void ReadScreensList(const JsonValue& value, ScreenStore& list);

// The rule for a stored last screen of a screener: a valid screen state (screener path,
// optional "#" and fragment) whose path belongs to that kind. out gets the state in its
// joined form when accepted.
bool AcceptLastScreen(std::string_view state, ScreenerKind kind, std::string& out);
// The size rule for a stored window rectangle: width 200 to 20000, height 150 to 20000,
// computed without overflow.
bool IsPlacementSizeValid(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom);

// A window rectangle as a screens file may carry it, before the size rule is applied.
struct FileWindowPlacement {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool maximized = false;
};

// Options that older screens files carry. Members the file leaves out, or gives with a
// type or value that is not allowed, stay empty; restoreLast, showSplash and zoom follow
// the file's defaults (true, true, 1). Locations and the window pass the same rules as
// the stored options (AcceptLastScreen, IsPlacementSizeValid) before they are set.
struct ScreensFileOptions {
  std::optional<ScreenerKind> activeTab;
  std::optional<std::string> lastStocks;
  std::optional<std::string> lastEtfs;
  bool restoreLast = true;
  bool showSplash = true;
  double zoom = 1.0;
  std::optional<int> colorMode;  // 0 system, 1 light, 2 dark
  std::optional<FileWindowPlacement> window;
};

// Parses the text of screens.json into options and store, both reset first. False with
// the JSON parser's error, or "not a JSON object", when the text is not a JSON object.
bool ParseScreensFile(std::string_view text, ScreensFileOptions& options, ScreenStore& store,
                      std::string* error = nullptr);

// Reads a screens file offered for import: only its "screens" list counts. False with the
// parser's error, or "no \"screens\" list" when the top value is not an object with an
// array "screens"; list is cleared first.
bool ParseScreensList(std::string_view text, ScreenStore& list, std::string* error = nullptr);

}  // namespace velquist
