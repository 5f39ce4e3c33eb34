// The main window's menu bar: File, View, Screener, Tools and Help with the command ids of
// the string table. Prompts show while an item is highlighted; enabled states and the
// tab marks are asked for each time a menu opens.
#pragma once

#include <QString>
#include <functional>

class QAction;
class QMenuBar;

namespace velquist {

struct MenuBarHandlers {
  std::function<void(int)> run;
  std::function<bool(int)> enabled;
  std::function<bool(int)> checked;
  std::function<void(const QString&)> showPrompt;  // empty: back to the status
};

void BuildMenuBar(QMenuBar& bar, const MenuBarHandlers& handlers);

// The menu bar's action for a command, or nullptr.
QAction* FindMenuBarAction(const QMenuBar& bar, int command);

// Asks the handlers for every item's enabled and checked state.
void RefreshMenuBar(QMenuBar& bar, const MenuBarHandlers& handlers);

}  // namespace velquist
