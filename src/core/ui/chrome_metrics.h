// Chrome sizes are designed at 96 DPI and scaled to the window's DPI with the rounding of
// Windows' MulDiv, so that every size shows at the same multiple on every display.
#pragma once

namespace velquist {

// value * dpi / 96, rounded half away from zero.
int ScaleForDpi(int value, int dpi);

// value * numerator / denominator rounded half away from zero; -1 when denominator is 0.
int MulDiv(int value, int numerator, int denominator);

namespace chrome96 {
inline constexpr int kToolbarIcon = 32;      // toolbar icon side
inline constexpr int kToolbarPadX = 14;      // button width beyond the wider of icon and label
inline constexpr int kToolbarPadY = 12;      // button height beyond icon and label
inline constexpr int kToolbarSeparator = 9;  // width of a separator gap
inline constexpr int kTabStripHeight = 36;
inline constexpr int kTabStart = 12;    // x of the first tab
inline constexpr int kTabPadding = 28;  // tab width beyond its label
inline constexpr int kTabGap = 2;
inline constexpr int kTabHoverInset = 5;      // hover fill inset at top and bottom
inline constexpr int kTabUnderline = 3;       // selected tab's bar height
inline constexpr int kTabUnderlineInset = 8;  // bar inset at both sides
inline constexpr int kStatusStripHeight = 24;
inline constexpr int kStatusInset = 10;  // left and right margin, and gaps between texts
inline constexpr int kFontPixels = 12;   // UI font character height
inline constexpr int kMinFrameWidth = 640;
inline constexpr int kMinFrameHeight = 420;
}  // namespace chrome96

}  // namespace velquist
