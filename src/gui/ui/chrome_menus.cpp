#include "gui/ui/chrome_menus.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

#include "gui/text/qt_text.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/web/external_opener.h"
#include "ui/chrome_commands.h"

namespace velquist {

namespace {

RowMenuModel ModelOf(const RowMenuRequest& request) {
  RowMenuModel model;
  model.etf = request.isEtf;
  model.symbol = request.symbol;
  model.defaultPath = request.path;
  for (const RowMenuTab& tab : request.tabs) model.items.push_back({tab.label, tab.path});
  model.useItems = request.UseItems;
  return model;
}

QString PromptOf(int command) {
  CommandStrings strings;
  return CommandText(command, &strings) ? ToQString(strings.prompt) : QString();
}

}  // namespace

void FillPopupMenu(QMenu& menu, const std::vector<PopupEntry>& entries) {
  for (const PopupEntry& entry : entries) {
    if (entry.command == 0) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQString(entry.text));
    action->setData(entry.command);
    action->setEnabled(entry.enabled);
    action->setStatusTip(PromptOf(entry.command));
    if (entry.checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    if (entry.isDefault) {
      QFont bold = action->font();
      bold.setBold(true);
      action->setFont(bold);
      menu.setDefaultAction(action);
    }
  }
}

int ExecPopupMenu(QMenu& menu, const QPoint& globalPos) {
  const QAction* chosen = menu.exec(globalPos);
  if (!chosen || !chosen->isEnabled()) return 0;
  return chosen->data().toInt();
}

int TrackToolbarMenu(CChromeToolBar* toolBar, int command, QMenu& menu) {
  QPoint at = QCursor::pos();
  const bool hasButton = toolBar && toolBar->HasButton(command);
  if (hasButton) {
    at = toolBar->mapToGlobal(toolBar->ButtonRect(command).bottomLeft() + QPoint(0, 1));
    toolBar->SetButtonPressed(command, true);
  }
  const int chosen = ExecPopupMenu(menu, at);
  if (hasButton) toolBar->SetButtonPressed(command, false);
  return chosen;
}

void ShowPromptsOf(QMenu& menu, const std::function<void(const QString&)>& showPrompt) {
  if (!showPrompt) return;
  QObject::connect(&menu, &QMenu::hovered, &menu,
                   [showPrompt](QAction* action) { showPrompt(action->statusTip()); });
  QObject::connect(&menu, &QMenu::aboutToHide, &menu, [showPrompt] { showPrompt({}); });
}

void ShowPresetsMenu(const MenuOwner& owner) {
  const ScreenerKind kind = owner.activeKind();
  QMenu menu(owner.window);
  FillPopupMenu(menu, PresetsMenuEntries(kind, owner.currentUrl()));
  ShowPromptsOf(menu, owner.showPrompt);
  const int chosen = TrackToolbarMenu(owner.toolBar, kCmdPresets, menu);
  const std::string target = PresetsMenuTarget(kind, chosen);
  if (!target.empty()) owner.navigate(target);
}

void ShowHelpMenu(const MenuOwner& owner) {
  QMenu menu(owner.window);
  FillPopupMenu(menu, HelpMenuEntries());
  ShowPromptsOf(menu, owner.showPrompt);
  const int chosen = TrackToolbarMenu(owner.toolBar, kCmdHelpMenu, menu);
  if (chosen != 0 && owner.postCommand) owner.postCommand(chosen);
}

bool RunHelpCommand(int command, ScreenerKind active) {
  const std::string link = HelpCommandLink(command, active);
  if (link.empty()) return false;
  OpenInDefaultBrowser(link);
  return true;
}

void RunRowMenuChoice(const MenuOwner& owner, const RowMenuRequest& request, int command) {
  const RowMenuModel model = ModelOf(request);
  if (command <= 0) return;
  if (command == kRowCopyLinkId) {
    const std::string link = RowCopyLink(model);
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(ToQString(link));
    if (owner.showStatus) owner.showStatus(ToQString(LinkCopiedStatus(link)));
    return;
  }
  const std::string link = RowMenuLink(model, command);
  if (!link.empty()) OpenInDefaultBrowser(link);
}

void ShowRowMenu(const MenuOwner& owner, const RowMenuRequest& request, const QPoint& globalPos) {
  // The menu runs without a nested event loop: the page that asked for it keeps running,
  // and the choice is carried out when the menu reports it.
  auto* menu = new QMenu(owner.window);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  FillPopupMenu(*menu, RowMenuEntries(ModelOf(request)));
  QObject::connect(menu, &QMenu::triggered, menu, [owner, request](QAction* action) {
    if (action->isEnabled()) RunRowMenuChoice(owner, request, action->data().toInt());
  });
  menu->popup(globalPos);
}

}  // namespace velquist
