// The colours of the program's own chrome (toolbar, tab strip, status strip, menu bar),
// one set per colour mode, and the pixel rule for disabled toolbar icons.
#pragma once

#include <cstdint>

namespace velquist {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ChromePalette {
  Rgb Background;  // chrome background
  Rgb Text;        // main text
  Rgb TextDim;     // secondary and disabled text
  Rgb Border;      // 1-pixel separator lines
  Rgb HoverBack;   // hovered or pressed item background
  Rgb Accent;      // selected tab, links
  Rgb PageBack;    // background behind web content
};

const ChromePalette& PaletteFor(bool dark);

// Client background of the frame and of the toolbar's own area.
Rgb FrameBackground(bool dark);

// Background handed to the web hosts before a page paints.
Rgb HostBackground(bool dark);

// A disabled icon pixel: luminance grey with 40 % of the alpha. The pixel is 0xAARRGGBB,
// not premultiplied.
std::uint32_t DisabledIconPixel(std::uint32_t argb);

}  // namespace velquist
