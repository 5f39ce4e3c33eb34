// The main window's commands: identifiers, their prompt and tooltip texts, the toolbar's
// buttons, the menu bar and the rules that enable or mark them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquist {

enum CommandId : int {
  kCmdSaveScreen = 32771,
  kCmdOpenSavedScreen = 32772,
  kCmdPresets = 32773,
  kCmdResetFilters = 32774,
  kCmdBack = 32775,
  kCmdForward = 32776,
  kCmdRefresh = 32777,
  kCmdOpenInBrowser = 32779,
  kCmdSettings = 32780,
  kCmdHelpMenu = 32781,
  kCmdManageScreens = 32782,
  kCmdStocks = 32783,
  kCmdEtfs = 32784,
  kCmdNextScreener = 32785,
  kCmdZoomIn = 32786,
  kCmdZoomOut = 32787,
  kCmdActualSize = 32788,
  kCmdHelpGuide = 32789,
  kCmdVisitSite = 32790,
  kCmdGraphwick = 32791,
  kCmdPellmoor = 32792,
  kCmdImportScreens = 32794,
  kCmdExportScreens = 32795,
  kCmdExportResults = 32796,
  kCmdPrintResults = 32797,
  kCmdAbout = 57664,
  kCmdExit = 57665,
};

// String-table ids that are not commands.
inline constexpr int kIdleStringId = 57345;  // "Ready"
inline constexpr int kTitleStringId = 57344;

// The prompt shown in the status strip while the command is highlighted, and its tooltip.
struct CommandStrings {
  std::string prompt;
  std::string tooltip;
};

// False for an id without a string-table entry.
bool CommandText(int id, CommandStrings* out);

// The whole string-table text: the prompt, "\n" and the tooltip ("Ready" and the title
// have no line break).
std::string CommandStringTable(int id);

struct ToolbarButtonInfo {
  int command;
  std::string_view label;
  bool separatorBefore;  // a gap with a line in front of this button
};

// The twelve toolbar buttons in order; button i shows icon i of the icon strip.
std::span<const ToolbarButtonInfo> ToolbarButtons();

// One menu entry; command 0 is a separator. The text uses "&" for access keys and "\t"
// in front of the accelerator text.
struct MenuEntry {
  int command;
  std::string text;
};

struct MenuLayout {
  std::string title;
  std::vector<MenuEntry> entries;
};

std::vector<MenuLayout> MenuBarLayout();

// What the enable and mark rules look at: the active tab and its host.
struct CommandContext {
  int activeTab = 0;  // 0 Stocks, 1 ETFs
  bool hasCurrentUrl = false;
  bool canGoBack = false;
  bool canGoForward = false;
  bool hasSavedScreens = false;
};

// The frame's enable rules; commands without a rule are always enabled.
bool IsCommandEnabled(int id, const CommandContext& context);

// The radio mark on the active tab's menu item.
bool IsCommandChecked(int id, const CommandContext& context);

}  // namespace velquist
