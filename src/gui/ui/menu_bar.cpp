#include "gui/ui/menu_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "gui/text/qt_text.h"
#include "gui/ui/chrome_menus.h"
#include "ui/chrome_commands.h"

namespace velquist {

namespace {

bool IsTabCommand(int command) { return command == kCmdStocks || command == kCmdEtfs; }

void RefreshMenu(QMenu& menu, const MenuBarHandlers& handlers) {
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    const int command = action->data().toInt();
    if (handlers.enabled) action->setEnabled(handlers.enabled(command));
    if (action->isCheckable() && handlers.checked) action->setChecked(handlers.checked(command));
  }
}

}  // namespace

void BuildMenuBar(QMenuBar& bar, const MenuBarHandlers& handlers) {
  for (const MenuLayout& layout : MenuBarLayout()) {
    QMenu* menu = bar.addMenu(ToQString(layout.title));
    auto* tabs = new QActionGroup(menu);
    for (const MenuEntry& entry : layout.entries) {
      if (entry.command == 0) {
        menu->addSeparator();
        continue;
      }
      // The text after "\t" is shown as the key; the keys themselves belong to the
      // window's key table.
      QAction* action = menu->addAction(ToQString(entry.text));
      action->setData(entry.command);
      CommandStrings strings;
      if (CommandText(entry.command, &strings)) {
        action->setStatusTip(ToQString(strings.prompt));
        action->setToolTip(ToQString(strings.tooltip));
      }
      if (IsTabCommand(entry.command)) {
        action->setCheckable(true);
        tabs->addAction(action);
      }
      const int command = entry.command;
      QObject::connect(action, &QAction::triggered, &bar, [run = handlers.run, command] {
        if (run) run(command);
      });
    }
    ShowPromptsOf(*menu, handlers.showPrompt);
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, handlers] { RefreshMenu(*menu, handlers); });
  }
}

QAction* FindMenuBarAction(const QMenuBar& bar, int command) {
  for (QAction* top : bar.actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->data().toInt() == command) return action;
    }
  }
  return nullptr;
}

void RefreshMenuBar(QMenuBar& bar, const MenuBarHandlers& handlers) {
  for (QAction* top : bar.actions()) {
    if (QMenu* menu = top->menu()) RefreshMenu(*menu, handlers);
  }
}

}  // namespace velquist
