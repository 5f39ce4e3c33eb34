#include "gui/ui/dialog_theme.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QLineEdit>
#include <QWidget>
#include <optional>

#include "gui/ui/chrome_palette.h"
#include "ui/dialog_palette.h"

namespace velquist {
namespace {

std::optional<bool> g_stockDialogsDark;

}  // namespace

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

void SetStockDialogMode(bool dark) { g_stockDialogsDark = dark; }

void ApplyStockDialogTheme(QDialog& dialog) {
  if (!g_stockDialogsDark) return;
  // Polished now, not when shown: polishing a file dialog under the main window's style
  // sheet would give it back the palette it had before.
  dialog.ensurePolished();
  ApplyDialogTheme(dialog, *g_stockDialogsDark);
  // The drop-down lists of combo boxes and the completion list of a name box are windows
  // of their own, which a palette given to the dialog does not reach.
  const QPalette palette = dialog.palette();
  for (QComboBox* combo : dialog.findChildren<QComboBox*>()) {
    combo->view()->window()->setPalette(palette);
    combo->view()->setPalette(palette);
  }
  for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
    if (edit->completer()) edit->completer()->popup()->setPalette(palette);
  }
}

}  // namespace velquist
