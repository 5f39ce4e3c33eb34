#include "ui/dialog_palette.h"

namespace velquist {
namespace {

// The window, texts and links are the chrome's own colours; fields stand a step lighter
// than the window in both modes and get a frame that shows against both. Selected rows
// keep white text on a blue dark enough for it.
DialogPalette Make(bool dark) {
  const ChromePalette& chrome = PaletteFor(dark);
  DialogPalette p;
  p.Window = chrome.Background;
  p.Text = chrome.Text;
  p.TextDim = chrome.TextDim;
  p.Link = chrome.Accent;
  if (dark) {
    p.Base = {43, 43, 43};
    p.AlternateBase = {38, 38, 38};
    p.Button = {55, 55, 55};
    p.Border = {86, 86, 86};
    p.Highlight = {36, 84, 160};
  } else {
    p.Base = {255, 255, 255};
    p.AlternateBase = {248, 248, 248};
    p.Button = {253, 253, 253};
    p.Border = {190, 190, 190};
    p.Highlight = chrome.Accent;
  }
  p.HighlightedText = {255, 255, 255};
  return p;
}

const DialogPalette kLight = Make(false);
const DialogPalette kDark = Make(true);

}  // namespace

const DialogPalette& DialogPaletteFor(bool dark) { return dark ? kDark : kLight; }

}  // namespace velquist
