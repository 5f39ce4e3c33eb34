#include "ui/zoom_choices.h"

#include <array>
#include <cmath>

namespace velquist {
namespace {

constexpr std::array<double, 11> kChoices = {0.5, 0.67, 0.75, 0.8,  0.9, 1.0,
                                             1.1, 1.25, 1.5,  1.75, 2.0};

}  // namespace

std::span<const double> ZoomChoices() { return kChoices; }

std::string ZoomChoiceText(double factor) {
  return std::to_string(static_cast<int>(factor * 100 + 0.5)) + "%";
}

std::size_t NearestZoomChoice(double zoom) {
  std::size_t best = 0;
  double bestDistance = std::fabs(kChoices[0] - zoom);
  for (std::size_t i = 1; i < kChoices.size(); ++i) {
    const double distance = std::fabs(kChoices[i] - zoom);
    // Strictly nearer only: a tie keeps the earlier choice.
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace velquist
