// The pop-up menus of the main window: presets and help under their toolbar buttons, and
// the row context menu at the mouse. Each menu is built from the entries the core
// decides on, shown, and its choice carried out through the owner's callbacks.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "site/screener_kind.h"
#include "ui/chrome_menus.h"
#include "web/page_message.h"

class QMenu;
class QWidget;

namespace velquist {

class CChromeToolBar;

// Adds the entries to menu; each action carries its command id as data, and the row
// menu's default entry is bold.
void FillPopupMenu(QMenu& menu, const std::vector<PopupEntry>& entries);

// Shows menu at a global position and returns the chosen entry's command id, 0 when it
// was dismissed.
int ExecPopupMenu(QMenu& menu, const QPoint& globalPos);

// Drops menu down under the toolbar button of command (at the cursor when there is no
// such button), shows the button pressed while the menu is open, and returns the chosen
// id or 0.
int TrackToolbarMenu(CChromeToolBar* toolBar, int command, QMenu& menu);

// What the menus need from the window that owns them.
struct MenuOwner {
  QWidget* window = nullptr;  // parent of the menus; its style sheet themes them
  CChromeToolBar* toolBar = nullptr;
  std::function<ScreenerKind()> activeKind;
  std::function<std::string()> currentUrl;           // the active tab's page
  std::function<void(const std::string&)> navigate;  // the active tab goes there
  std::function<void(const QString&)> showStatus;    // status strip text
  std::function<void(const QString&)> showPrompt;    // empty: back to the status
  std::function<void(int)> postCommand;              // run after the menu has closed
};

void ShowPresetsMenu(const MenuOwner& owner);
void ShowHelpMenu(const MenuOwner& owner);
// Opens the row menu at globalPos for a request of the active tab and returns at once;
// the choice is carried out by RunRowMenuChoice when it is made.
void ShowRowMenu(const MenuOwner& owner, const RowMenuRequest& request, const QPoint& globalPos);
// Copy link, or opening the chosen page of the row (only section pages of the site).
void RunRowMenuChoice(const MenuOwner& owner, const RowMenuRequest& request, int command);

// Opens the link of a help command (32789 to 32792); false for any other id.
bool RunHelpCommand(int command, ScreenerKind active);

// Connects a menu's highlighted entries to the owner's prompt callback.
void ShowPromptsOf(QMenu& menu, const std::function<void(const QString&)>& showPrompt);

}  // namespace velquist
