// The screens file reader (start-up) and the import reader on any bytes. Whatever they
// accept obeys the store's rules, and writing an accepted store and reading it back gives
// the same screens; importing a list into a store keeps (kind, name) unique.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "data/screens.h"
#include "fuzz_check.h"
#include "site/url.h"
#include "text/utf8.h"

namespace {

using namespace velquist;

void CheckStore(const ScreenStore& store) {
  FUZZ_CHECK(store.size() <= MaxSavedScreens);
  std::set<std::pair<ScreenerKind, std::string>> seen;
  for (const SavedScreen& screen : store) {
    FUZZ_CHECK(!screen.name.empty());
    FUZZ_CHECK(NormalizeScreenName(screen.name) == screen.name);
    FUZZ_CHECK(Utf8CharacterCount(screen.name) <= MaxScreenNameCharacters);
    FUZZ_CHECK(IsScreenerPath(screen.path));
    FUZZ_CHECK(IsEtfScreenerPath(screen.path) == (screen.kind == ScreenerKind::Etfs));
    FUZZ_CHECK(IsValidScreenHash(screen.hash));
    FUZZ_CHECK(seen.insert({screen.kind, screen.name}).second);
  }
}

void CheckOptions(const ScreensFileOptions& options) {
  FUZZ_CHECK(std::isfinite(options.zoom) && options.zoom >= 0.25 && options.zoom <= 5.0);
  if (options.colorMode) FUZZ_CHECK(*options.colorMode >= 0 && *options.colorMode <= 2);
  std::string joined;
  if (options.lastStocks) {
    FUZZ_CHECK(AcceptLastScreen(*options.lastStocks, ScreenerKind::Stocks, joined));
    FUZZ_CHECK(joined == *options.lastStocks);
  }
  if (options.lastEtfs) {
    FUZZ_CHECK(AcceptLastScreen(*options.lastEtfs, ScreenerKind::Etfs, joined));
    FUZZ_CHECK(joined == *options.lastEtfs);
  }
  if (options.window) {
    const FileWindowPlacement& w = *options.window;
    FUZZ_CHECK(IsPlacementSizeValid(w.left, w.top, w.right, w.bottom));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  ScreensFileOptions options;
  ScreenStore store;
  std::string error;
  if (ParseScreensFile(text, options, store, &error)) {
    CheckStore(store);
    CheckOptions(options);
    // What the program writes, it reads back as it was.
    ScreensFileOptions againOptions;
    ScreenStore again;
    FUZZ_CHECK(ParseScreensFile(ScreensFileText(store), againOptions, again));
    FUZZ_CHECK(again == store);
  } else {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(store.empty());
  }

  ScreenStore list;
  error.clear();
  if (ParseScreensList(text, list, &error)) {
    CheckStore(list);
    // Importing a list into a store that already holds it renames every screen.
    ScreenStore merged = list;
    const std::size_t added = ImportScreens(merged, list);
    FUZZ_CHECK(merged.size() == list.size() + added);
    FUZZ_CHECK(added == std::min(list.size(), MaxSavedScreens - list.size()));
    CheckStore(merged);
  } else {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(list.empty());
  }
  return 0;
}
