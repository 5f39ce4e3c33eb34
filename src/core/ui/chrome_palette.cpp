#include "ui/chrome_palette.h"

namespace velquist {

namespace {

constexpr ChromePalette kLight{
    {243, 243, 243}, {27, 27, 27},  {96, 102, 112},  {224, 224, 224},
    {229, 231, 235}, {29, 78, 216}, {246, 247, 249},
};

constexpr ChromePalette kDark{
    {32, 32, 32}, {229, 233, 240}, {152, 162, 179}, {51, 51, 51},
    {51, 56, 64}, {77, 141, 255},  {15, 20, 28},
};

}  // namespace

const ChromePalette& PaletteFor(bool dark) { return dark ? kDark : kLight; }

Rgb FrameBackground(bool dark) { return PaletteFor(dark).Background; }

Rgb HostBackground(bool dark) { return PaletteFor(dark).PageBack; }

std::uint32_t DisabledIconPixel(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  const std::uint32_t r = (argb >> 16) & 0xFF;
  const std::uint32_t g = (argb >> 8) & 0xFF;
  const std::uint32_t b = argb & 0xFF;
  const std::uint32_t grey = (299 * r + 587 * g + 114 * b) / 1000;
  const std::uint32_t alpha = a * 40 / 100;
  return (alpha << 24) | (grey << 16) | (grey << 8) | grey;
}

}  // namespace velquist
