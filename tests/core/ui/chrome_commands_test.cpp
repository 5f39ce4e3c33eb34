#include "ui/chrome_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "site_constants.h"

namespace velquist {
namespace {

TEST(ChromeCommands, PromptAndTooltipSplitAtTheLineBreak) {
  CommandStrings s;
  ASSERT_TRUE(CommandText(kCmdSaveScreen, &s));
  EXPECT_EQ(s.prompt, "Save the current filters, columns and sort order as a named screen");
  EXPECT_EQ(s.tooltip, "Save Screen (Ctrl+S)");
  ASSERT_TRUE(CommandText(kCmdVisitSite, &s));
  EXPECT_EQ(s.prompt, "Open " + std::string(SiteHost) + " in your web browser");
  EXPECT_EQ(s.tooltip, std::string(SiteDomain));
  ASSERT_TRUE(CommandText(kCmdPresets, &s));
  EXPECT_EQ(s.prompt, "Open one of the ready-made screens from " + std::string(SiteDomain));
  ASSERT_TRUE(CommandText(kCmdActualSize, &s));
  EXPECT_EQ(s.prompt, "Reset the page zoom to 100%");
  EXPECT_EQ(s.tooltip, "Actual Size (Ctrl+0)");
}

// The whole string table: status-bar prompt, a line break, then the tooltip.
TEST(ChromeCommands, StringTable) {
  const std::string host(SiteHost);
  const std::string domain(SiteDomain);
  const struct {
    int id;
    std::string text;
  } table[] = {
      {32771,
       "Save the current filters, columns and sort order as a named screen\n"
       "Save Screen (Ctrl+S)"},
      {32772, "Open, rename or delete your saved screens\nOpen Saved Screen (Ctrl+O)"},
      {32773, "Open one of the ready-made screens from " + domain + "\nPresets (F4)"},
      {32774, "Clear your changes and go back to the screener's default filters\nReset Filters"},
      {32775, "Go back to the previous filters\nBack (Alt+Left)"},
      {32776, "Go forward again\nForward (Alt+Right)"},
      {32777, "Reload the screener and its latest data\nRefresh (F5)"},
      {32779, "Open this screen on " + host + " in your web browser\nOpen in Browser (Ctrl+B)"},
      {32780, "Change the start-up options, page zoom and color mode\nSettings"},
      {32781, "Help, " + domain + " and other Orvane Software programs\nHelp"},
      {32782, "Rename, delete, import or export saved screens\nManage Saved Screens"},
      {32783, "Show the stock screener\nStocks (Ctrl+1)"},
      {32784, "Show the ETF screener\nETFs (Ctrl+2)"},
      {32785, "Switch between the stock and ETF screeners\nNext Screener (Ctrl+Tab)"},
      {32786, "Make the page larger\nZoom In (Ctrl+Plus)"},
      {32787, "Make the page smaller\nZoom Out (Ctrl+Minus)"},
      {32788, "Reset the page zoom to 100%\nActual Size (Ctrl+0)"},
      {32789, "Open the screener guide and FAQ on " + host + "\nScreener Help (F1)"},
      {32790, "Open " + host + " in your web browser\n" + domain},
      {32791, "Graphwick: free stock charting software from Orvane Software\nGraphwick"},
      {32792, "Pellmoor: free sector tracking software from Orvane Software\nPellmoor"},
      {32794, "Add saved screens from a .json file\nImport Screens"},
      {32795, "Save all your saved screens to a .json file\nExport Screens"},
      {32796,
       "Save all matching rows with the current columns to an Excel, CSV or plain CSV "
       "file\nExport Results (Ctrl+E)"},
      {32797,
       "Print all matching rows with the current columns, or save them as a PDF\n"
       "Print Results (Ctrl+P)"},
      {57664, "Program information, version and copyright\nAbout"},
      {57665, "Close Velquist\nExit"},
      {57345, "Ready"},
      {57344, "Velquist"},
      {128, "Velquist"},
  };
  for (const auto& row : table) EXPECT_EQ(CommandStringTable(row.id), row.text) << row.id;
}

TEST(ChromeCommands, IdleTextHasNoTooltip) {
  CommandStrings s;
  ASSERT_TRUE(CommandText(kIdleStringId, &s));
  EXPECT_EQ(s.prompt, "Ready");
  EXPECT_EQ(s.tooltip, "");
  EXPECT_EQ(CommandStringTable(kTitleStringId), "Velquist");
}

TEST(ChromeCommands, UnknownIdHasNoText) {
  CommandStrings s;
  EXPECT_FALSE(CommandText(32778, &s));
  EXPECT_FALSE(CommandText(0, &s));
  EXPECT_EQ(CommandStringTable(32793), "");
}

TEST(ChromeCommands, EveryMenuAndToolbarCommandHasText) {
  CommandStrings s;
  for (const ToolbarButtonInfo& b : ToolbarButtons()) {
    EXPECT_TRUE(CommandText(b.command, &s)) << b.command;
  }
  for (const MenuLayout& m : MenuBarLayout()) {
    for (const MenuEntry& e : m.entries) {
      if (e.command != 0) {
        EXPECT_TRUE(CommandText(e.command, &s)) << e.command;
      }
    }
  }
}

TEST(ChromeCommands, ToolbarOrderLabelsAndSeparators) {
  const auto buttons = ToolbarButtons();
  ASSERT_EQ(buttons.size(), 12u);
  const int ids[] = {32771, 32772, 32773, 32774, 32775, 32776,
                     32777, 32796, 32797, 32779, 32780, 32781};
  const char* labels[] = {"Save",    "Open",   "Presets", "Reset",   "Back",     "Forward",
                          "Refresh", "Export", "Print",   "Browser", "Settings", "Help"};
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(buttons[i].command, ids[i]);
    EXPECT_EQ(buttons[i].label, labels[i]);
    EXPECT_EQ(buttons[i].separatorBefore, i == 4 || i == 7 || i == 10) << i;
  }
}

TEST(ChromeCommands, MenuBarLayout) {
  const std::vector<MenuLayout> menus = MenuBarLayout();
  ASSERT_EQ(menus.size(), 5u);
  EXPECT_EQ(menus[0].title, "&File");
  EXPECT_EQ(menus[1].title, "&View");
  EXPECT_EQ(menus[2].title, "&Screener");
  EXPECT_EQ(menus[3].title, "&Tools");
  EXPECT_EQ(menus[4].title, "&Help");
  const std::vector<int> file = {32772, 32771, 0, 32796, 32797, 0, 32794, 32795, 0, 57665};
  ASSERT_EQ(menus[0].entries.size(), file.size());
  for (std::size_t i = 0; i < file.size(); ++i) EXPECT_EQ(menus[0].entries[i].command, file[i]);
  EXPECT_EQ(menus[0].entries[0].text, "&Open Saved Screen\u2026\tCtrl+O");
  EXPECT_EQ(menus[0].entries[9].text, "E&xit\tAlt+F4");
  const std::vector<int> view = {32783, 32784, 0, 32775, 32776, 32777, 0, 32786, 32787, 32788};
  ASSERT_EQ(menus[1].entries.size(), view.size());
  for (std::size_t i = 0; i < view.size(); ++i) EXPECT_EQ(menus[1].entries[i].command, view[i]);
  EXPECT_EQ(menus[1].entries[7].text, "Zoom &In\tCtrl+Plus");
  ASSERT_EQ(menus[2].entries.size(), 4u);
  EXPECT_EQ(menus[2].entries[3].text, "Open in &Browser\tCtrl+B");
  ASSERT_EQ(menus[3].entries.size(), 1u);
  EXPECT_EQ(menus[3].entries[0].text, "&Settings\u2026");
  const std::vector<int> help = {32789, 32790, 0, 32791, 32792, 0, 57664};
  ASSERT_EQ(menus[4].entries.size(), help.size());
  for (std::size_t i = 0; i < help.size(); ++i) EXPECT_EQ(menus[4].entries[i].command, help[i]);
  EXPECT_EQ(menus[4].entries[0].text, "How to &Use the Screener\tF1");
  EXPECT_EQ(menus[4].entries[1].text, "&Visit " + std::string(SiteHost));
  EXPECT_EQ(menus[4].entries[6].text, "&About Velquist\u2026");
}

// Every item's text, with its access key and key text; separators have none.
TEST(ChromeCommands, MenuBarTexts) {
  const std::vector<std::vector<std::string>> texts = {
      {"&Open Saved Screen\u2026\tCtrl+O", "&Save Screen\u2026\tCtrl+S", "",
       "Export &Results\u2026\tCtrl+E", "&Print Results\u2026\tCtrl+P", "", "&Import Screens\u2026",
       "&Export Screens\u2026", "", "E&xit\tAlt+F4"},
      {"&Stocks\tCtrl+1", "&ETFs\tCtrl+2", "", "&Back\tAlt+Left", "&Forward\tAlt+Right",
       "&Refresh\tF5", "", "Zoom &In\tCtrl+Plus", "Zoom &Out\tCtrl+Minus", "&Actual Size\tCtrl+0"},
      {"&Presets\tF4", "&Reset Filters", "", "Open in &Browser\tCtrl+B"},
      {"&Settings\u2026"},
      {"How to &Use the Screener\tF1", "&Visit " + std::string(SiteHost), "",
       "&Graphwick Stock Charts", "&Pellmoor", "", "&About Velquist\u2026"},
  };
  const std::vector<MenuLayout> menus = MenuBarLayout();
  ASSERT_EQ(menus.size(), texts.size());
  for (std::size_t m = 0; m < menus.size(); ++m) {
    ASSERT_EQ(menus[m].entries.size(), texts[m].size()) << menus[m].title;
    for (std::size_t i = 0; i < texts[m].size(); ++i) {
      EXPECT_EQ(menus[m].entries[i].text, texts[m][i]) << menus[m].title << " " << i;
    }
  }
}

TEST(ChromeCommands, EnableRulesFollowTheActiveTab) {
  CommandContext empty;
  for (int id : {32771, 32774, 32779, 32796, 32797, 32775, 32776, 32795}) {
    EXPECT_FALSE(IsCommandEnabled(id, empty)) << id;
  }
  for (int id : {32772, 32773, 32777, 32780, 32781, 32783, 32786, 57664, 57665}) {
    EXPECT_TRUE(IsCommandEnabled(id, empty)) << id;
  }
  CommandContext page;
  page.hasCurrentUrl = true;
  page.canGoBack = true;
  EXPECT_TRUE(IsCommandEnabled(kCmdSaveScreen, page));
  EXPECT_TRUE(IsCommandEnabled(kCmdBack, page));
  EXPECT_FALSE(IsCommandEnabled(kCmdForward, page));
  page.canGoForward = true;
  EXPECT_TRUE(IsCommandEnabled(kCmdForward, page));
  page.hasSavedScreens = true;
  EXPECT_TRUE(IsCommandEnabled(kCmdExportScreens, page));
}

TEST(ChromeCommands, RadioMarkOnTheActiveTab) {
  CommandContext c;
  EXPECT_TRUE(IsCommandChecked(kCmdStocks, c));
  EXPECT_FALSE(IsCommandChecked(kCmdEtfs, c));
  c.activeTab = 1;
  EXPECT_FALSE(IsCommandChecked(kCmdStocks, c));
  EXPECT_TRUE(IsCommandChecked(kCmdEtfs, c));
  EXPECT_FALSE(IsCommandChecked(kCmdBack, c));
}

}  // namespace
}  // namespace velquist
