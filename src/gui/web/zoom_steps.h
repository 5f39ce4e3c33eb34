// The frame's zoom commands and the zoom text of the status strip.
#pragma once

#include <QString>

namespace velquist {

// Zoom In: the first step above zoom (by more than 0.001), else 2.0.
double ZoomStepUp(double zoom);
// Zoom Out: the first step below zoom (by more than 0.001), else 0.5.
double ZoomStepDown(double zoom);
// Limits a zoom to 0.25 ... 5.0; not-a-number gives 0.25.
double ClampZoom(double factor);
// "Zoom 110%", or empty when the zoom is 100 % within 0.001.
QString ZoomText(double zoom);

}  // namespace velquist
