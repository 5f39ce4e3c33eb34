// The zoom levels the browser steps through when the user zooms the page itself
// (Ctrl+wheel), as Chromium's own zoom does.
#pragma once

namespace velquist {

// The next level above (up) or below the zoom, or the zoom itself at either end.
double NextBrowserZoom(double zoom, bool up);

}  // namespace velquist
