#include "gui/web/browser_zoom.h"

#include <array>

namespace velquist {
namespace {

constexpr std::array<double, 17> kLevels = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                            1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

}  // namespace

double NextBrowserZoom(double zoom, bool up) {
  if (up) {
    for (double level : kLevels) {
      if (level > zoom + 0.001) return level;
    }
  } else {
    for (auto it = kLevels.rbegin(); it != kLevels.rend(); ++it) {
      if (*it < zoom - 0.001) return *it;
    }
  }
  return zoom;
}

}  // namespace velquist
