#include "gui/web/page_context_menu.h"

#include <QMenu>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <array>
#include <utility>

namespace velquist {
namespace {

// The browser's names of the actions that may stay; Qt has no emoji item.
constexpr std::array<std::pair<QWebEnginePage::WebAction, const char*>, 8> kNames = {{
    {QWebEnginePage::Copy, "copy"},
    {QWebEnginePage::Cut, "cut"},
    {QWebEnginePage::Paste, "paste"},
    {QWebEnginePage::PasteAndMatchStyle, "pasteAndMatchStyle"},
    {QWebEnginePage::SelectAll, "selectAll"},
    {QWebEnginePage::Undo, "undo"},
    {QWebEnginePage::Redo, "redo"},
    {QWebEnginePage::CopyLinkToClipboard, "copyLinkLocation"},
}};

std::string ActionName(QWebEnginePage& page, const QAction* action) {
  for (const auto& [webAction, name] : kNames) {
    if (page.action(webAction) == action) return name;
  }
  return "other";
}

}  // namespace

QMenu* FilteredContextMenu(QWebEngineView& view, ContextMenuSet set, QAction* print) {
  QMenu* standard = view.createStandardContextMenu();
  QList<QAction*> actions = standard->actions();
  if (print) {
    actions.append(standard->addSeparator());
    actions.append(print);
  }
  std::vector<ContextMenuItem> items;
  for (int i = 0; i < actions.size(); ++i) {
    ContextMenuItem item;
    item.separator = actions[i]->isSeparator();
    if (!item.separator) {
      item.name = actions[i] == print ? "print" : ActionName(*view.page(), actions[i]);
    }
    item.id = i;
    items.push_back(std::move(item));
  }
  const std::vector<ContextMenuItem> kept = FilterContextMenu(items, set);
  if (kept.empty()) {
    delete standard;
    return nullptr;
  }
  auto* menu = new QMenu(&view);
  for (const ContextMenuItem& item : kept) {
    if (item.separator) {
      menu->addSeparator();
    } else {
      menu->addAction(actions[item.id]);
    }
  }
  // The kept actions belong to the page; the standard menu only listed them.
  delete standard;
  return menu;
}

}  // namespace velquist
