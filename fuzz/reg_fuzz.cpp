// The options file reader on any bytes: ParseRegFile must never crash, what it accepts it
// writes out in a form that reads back the same, and the options loaded from such a file
// through the program's own store obey every value rule.
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/files.h"
#include "app/options.h"
#include "app/reg_file.h"
#include "app/reg_file_option_store.h"
#include "fuzz_check.h"

namespace {

using namespace velquist;

bool SameFile(const RegFile& a, const RegFile& b) {
  if (a.keys.size() != b.keys.size()) return false;
  for (std::size_t k = 0; k < a.keys.size(); ++k) {
    const RegKey& x = a.keys[k];
    const RegKey& y = b.keys[k];
    if (x.path != y.path || x.values.size() != y.values.size()) return false;
    for (std::size_t v = 0; v < x.values.size(); ++v) {
      if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
          x.values[v].data != y.values[v].data) {
        return false;
      }
    }
  }
  return true;
}

// The options file the store reads, in a folder of this run's own (memory-backed where
// the system has one, so that the per-input write costs little).
const std::string& OptionsPath() {
  static const std::string path = [] {
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "";
    if (base.empty()) {
      const char* tmp = getenv("TMPDIR");
      base = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    }
    std::string folder = base + "/velquist-reg-fuzz.XXXXXX";
    FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
    return folder + "/Velquist.reg";
  }();
  static const bool cleanedAtExit = [] {
    return atexit([] {
             unlink(OptionsPath().c_str());
             rmdir(OptionsPath().substr(0, OptionsPath().rfind('/')).c_str());
           }) == 0;
  }();
  (void)cleanedAtExit;
  return path;
}

void CheckOptions(const AppOptions& options) {
  FUZZ_CHECK(std::isfinite(options.Zoom) && options.Zoom >= MinZoom && options.Zoom <= MaxZoom);
  const int mode = static_cast<int>(options.ColorMode);
  FUZZ_CHECK(mode >= 0 && mode <= 2);
  std::string joined;
  FUZZ_CHECK(AcceptLastScreen(options.LastStocks, ScreenerKind::Stocks, joined));
  FUZZ_CHECK(AcceptLastScreen(options.LastEtfs, ScreenerKind::Etfs, joined));
  const SavedPlacement& p = options.Placement;
  if (p.Valid) FUZZ_CHECK(IsPlacementSizeValid(p.Left, p.Top, p.Right, p.Bottom));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  RegFile file;
  std::string error;
  if (ParseRegFile(text, file, &error)) {
    RegFile again;
    std::string againError;
    const std::string written = RegFileText(file);
    FUZZ_CHECK(ParseRegFile(written, again, &againError));
    FUZZ_CHECK(SameFile(file, again));
    FUZZ_CHECK(RegFileText(again) == written);
  } else {
    FUZZ_CHECK(!error.empty());
  }

  FUZZ_CHECK(WriteFileAtomic(OptionsPath(), text));
  RegFileOptionStore store(OptionsPath());
  AppOptions options;
  // The store reads what ReadWholeFile gives, a leading byte-order mark removed; it finds
  // the key only in a file the parser accepts.
  const std::string_view stored =
      size > 2 && text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
  RegFile parsed;
  if (LoadOptions(store, options)) FUZZ_CHECK(ParseRegFile(stored, parsed));
  CheckOptions(options);
  return 0;
}
