#include "gui/web/zoom_steps.h"

#include <cmath>

#include "ui/zoom_choices.h"

namespace velquist {

double ZoomStepUp(double zoom) {
  const auto steps = ZoomChoices();
  for (double step : steps) {
    if (step > zoom + 0.001) return step;
  }
  return steps.back();
}

double ZoomStepDown(double zoom) {
  const auto steps = ZoomChoices();
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    if (*it < zoom - 0.001) return *it;
  }
  return steps.front();
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
