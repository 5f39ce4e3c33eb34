#include "ui/picture_layout.h"

#include "ui/chrome_metrics.h"

namespace velquist {

PixelSize SplashSize(int dpi) { return {ScaleForDpi(480, dpi), ScaleForDpi(240, dpi)}; }

PixelRect FitPicture(PixelRect box, PixelSize picture) {
  if (box.width <= 0 || box.height <= 0 || picture.width <= 0 || picture.height <= 0) {
    return {box.x, box.y, 0, 0};
  }
  // Full width first; a picture that is then too tall takes the full height instead.
  int width = box.width;
  int height = MulDiv(box.width, picture.height, picture.width);
  if (height < 0 || height > box.height) {
    height = box.height;
    width = MulDiv(box.height, picture.width, picture.height);
  }
  return {box.x + (box.width - width) / 2, box.y + (box.height - height) / 2, width, height};
}

}  // namespace velquist
