#include "gui/web/zoom_steps.h"

#include <array>
#include <cmath>

namespace velquist {
namespace {

constexpr std::array<double, 11> kSteps = {0.5, 0.67, 0.75, 0.8,  0.9, 1.0,
                                           1.1, 1.25, 1.5,  1.75, 2.0};

}  // namespace

double ZoomStepUp(double zoom) {
  for (double step : kSteps) {
    if (step > zoom + 0.001) return step;
  }
  return kSteps.back();
}

double ZoomStepDown(double zoom) {
  for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it) {
    if (*it < zoom - 0.001) return *it;
  }
  return kSteps.front();
}

double ClampZoom(double factor) {
  // Written so that a not-a-number factor fails the first test.
  double z = factor > 0.25 ? factor : 0.25;
  if (!(z < 5.0)) z = 5.0;
  return z;
}

QString ZoomText(double zoom) {
  if (std::fabs(zoom - 1.0) <= 0.001) return {};
  return QStringLiteral("Zoom %1%").arg(static_cast<int>(zoom * 100 + 0.5));
}

}  // namespace velquist
