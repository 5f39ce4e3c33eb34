#include "gui/ui/dialog_theme.h"

#include <QWidget>

#include "gui/ui/chrome_palette.h"
#include "ui/dialog_palette.h"

namespace velquist {

QPalette DialogQPalette(bool dark) {
  const DialogPalette& p = DialogPaletteFor(dark);
  const QColor window = ToQColor(p.Window);
  const QColor text = ToQColor(p.Text);
  const QColor disabled = ToQColor(p.TextDim);
  const QColor field = ToQColor(p.Base);
  const QColor button = ToQColor(p.Button);
  const QColor border = ToQColor(p.Border);
  QPalette palette;
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool off = group == QPalette::Disabled;
    palette.setColor(group, QPalette::Window, window);
    palette.setColor(group, QPalette::WindowText, off ? disabled : text);
    palette.setColor(group, QPalette::Base, off ? window : field);
    palette.setColor(group, QPalette::AlternateBase, ToQColor(p.AlternateBase));
    palette.setColor(group, QPalette::Text, off ? disabled : text);
    palette.setColor(group, QPalette::PlaceholderText, disabled);
    palette.setColor(group, QPalette::Button, button);
    palette.setColor(group, QPalette::ButtonText, off ? disabled : text);
    palette.setColor(group, QPalette::BrightText, ToQColor(p.HighlightedText));
    // The style draws frames and bevels from these.
    palette.setColor(group, QPalette::Light, dark ? button.lighter(130) : QColor(Qt::white));
    palette.setColor(group, QPalette::Midlight, button);
    palette.setColor(group, QPalette::Mid, border);
    palette.setColor(group, QPalette::Dark, border);
    palette.setColor(group, QPalette::Shadow, dark ? QColor(Qt::black) : border.darker(130));
    palette.setColor(group, QPalette::Highlight, off ? border : ToQColor(p.Highlight));
    palette.setColor(group, QPalette::HighlightedText, ToQColor(p.HighlightedText));
    palette.setColor(group, QPalette::Link, ToQColor(p.Link));
    palette.setColor(group, QPalette::LinkVisited, ToQColor(p.Link));
    palette.setColor(group, QPalette::ToolTipBase, field);
    palette.setColor(group, QPalette::ToolTipText, text);
  }
  return palette;
}

void ApplyDialogTheme(QWidget& dialog, bool dark) {
  const QPalette palette = DialogQPalette(dark);
  dialog.setPalette(palette);
  dialog.setAutoFillBackground(true);
  // The main window's style sheet (for its menus) reaches the dialog too, and a widget
  // under a style sheet keeps the palette it had when it was first polished instead of
  // its parent's: give the controls theirs in so many words.
  for (QWidget* child : dialog.findChildren<QWidget*>()) {
    if (!child->isWindow()) child->setPalette(palette);
  }
}

}  // namespace velquist
