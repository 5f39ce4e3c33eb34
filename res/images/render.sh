#!/usr/bin/env bash
# Renders the program's pictures from the SVG drawings beside this script. The PNGs are
# committed; run this again after changing a drawing. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

rsvg-convert -w 1152 -h 96 toolbar.svg -o toolbar.png
rsvg-convert -w 960 -h 480 splash.svg -o splash.png
rsvg-convert -w 360 -h 120 about_logo.svg -o about_logo.png
for size in 16 20 24 32 40 48 64 128 256 512; do
  rsvg-convert -w "$size" -h "$size" app_icon.svg -o "app_icon_${size}.png"
done
