// Where the splash picture and the About logo go: the splash's size, designed at 96 DPI and
// scaled like every other size, and a picture fitted into a box without distortion.
#pragma once

namespace velquist {

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The splash window: 480 x 240 at 96 DPI, scaled to dpi.
PixelSize SplashSize(int dpi);

// The picture made as large as fits into box with its aspect ratio kept, centred in the
// box. An empty rectangle at the box's origin when box or picture has no area.
PixelRect FitPicture(PixelRect box, PixelSize picture);

}  // namespace velquist
