#include "ui/chrome_commands.h"

#include <array>

#include "site_constants.h"

namespace velquist {

namespace {

// The string table; texts that name the site are assembled from the build constants.
bool LookUp(int id, std::string* text) {
  const std::string host(SiteHost);
  const std::string domain(SiteDomain);
  switch (id) {
    case kCmdSaveScreen:
      *text =
          "Save the current filters, columns and sort order as a named screen\n"
          "Save Screen (Ctrl+S)";
      return true;
    case kCmdOpenSavedScreen:
      *text = "Open, rename or delete your saved screens\nOpen Saved Screen (Ctrl+O)";
      return true;
    case kCmdPresets:
      *text = "Open one of the ready-made screens from " + domain + "\nPresets (F4)";
      return true;
    case kCmdResetFilters:
      *text = "Clear your changes and go back to the screener's default filters\nReset Filters";
      return true;
    case kCmdBack:
      *text = "Go back to the previous filters\nBack (Alt+Left)";
      return true;
    case kCmdForward:
      *text = "Go forward again\nForward (Alt+Right)";
      return true;
    case kCmdRefresh:
      *text = "Reload the screener and its latest data\nRefresh (F5)";
      return true;
    case kCmdOpenInBrowser:
      *text = "Open this screen on " + host + " in your web browser\nOpen in Browser (Ctrl+B)";
      return true;
    case kCmdSettings:
      *text = "Change the start-up options, page zoom and color mode\nSettings";
      return true;
    case kCmdHelpMenu:
      *text = "Help, " + domain + " and other Orvane Software programs\nHelp";
      return true;
    case kCmdManageScreens:
      *text = "Rename, delete, import or export saved screens\nManage Saved Screens";
      return true;
    case kCmdStocks:
      *text = "Show the stock screener\nStocks (Ctrl+1)";
      return true;
    case kCmdEtfs:
      *text = "Show the ETF screener\nETFs (Ctrl+2)";
      return true;
    case kCmdNextScreener:
      *text = "Switch between the stock and ETF screeners\nNext Screener (Ctrl+Tab)";
      return true;
    case kCmdZoomIn:
      *text = "Make the page larger\nZoom In (Ctrl+Plus)";
      return true;
    case kCmdZoomOut:
      *text = "Make the page smaller\nZoom Out (Ctrl+Minus)";
      return true;
    case kCmdActualSize:
      *text = "Reset the page zoom to 100%\nActual Size (Ctrl+0)";
      return true;
    case kCmdHelpGuide:
      *text = "Open the screener guide and FAQ on " + host + "\nScreener Help (F1)";
      return true;
    case kCmdVisitSite:
      *text = "Open " + host + " in your web browser\n" + domain;
      return true;
    case kCmdGraphwick:
      *text = "Graphwick: free stock charting software from Orvane Software\nGraphwick";
      return true;
    case kCmdPellmoor:
      *text = "Pellmoor: free sector tracking software from Orvane Software\nPellmoor";
      return true;
    case kCmdImportScreens:
      *text = "Add saved screens from a .json file\nImport Screens";
      return true;
    case kCmdExportScreens:
      *text = "Save all your saved screens to a .json file\nExport Screens";
      return true;
    case kCmdExportResults:
      *text =
          "Save all matching rows with the current columns to an Excel, CSV or plain CSV "
          "file\nExport Results (Ctrl+E)";
      return true;
    case kCmdPrintResults:
      *text =
          "Print all matching rows with the current columns, or save them as a PDF\n"
          "Print Results (Ctrl+P)";
      return true;
    case kCmdAbout:
      *text = "Program information, version and copyright\nAbout";
      return true;
    case kCmdExit:
      *text = "Close Velquist\nExit";
      return true;
    case kIdleStringId:
      *text = "Ready";
      return true;
    case kTitleStringId:
    case 128:
      *text = "Velquist";
      return true;
    default:
      return false;
  }
}

constexpr std::array<ToolbarButtonInfo, 12> kToolbar{{
    {kCmdSaveScreen, "Save", false},
    {kCmdOpenSavedScreen, "Open", false},
    {kCmdPresets, "Presets", false},
    {kCmdResetFilters, "Reset", false},
    {kCmdBack, "Back", true},
    {kCmdForward, "Forward", false},
    {kCmdRefresh, "Refresh", false},
    {kCmdExportResults, "Export", true},
    {kCmdPrintResults, "Print", false},
    {kCmdOpenInBrowser, "Browser", false},
    {kCmdSettings, "Settings", true},
    {kCmdHelpMenu, "Help", false},
}};

}  // namespace

std::string CommandStringTable(int id) {
  std::string text;
  return LookUp(id, &text) ? text : std::string();
}

bool CommandText(int id, CommandStrings* out) {
  std::string text;
  if (!LookUp(id, &text)) return false;
  const std::size_t br = text.find('\n');
  out->prompt = text.substr(0, br);
  out->tooltip = br == std::string::npos ? std::string() : text.substr(br + 1);
  return true;
}

std::span<const ToolbarButtonInfo> ToolbarButtons() { return kToolbar; }

std::vector<MenuLayout> MenuBarLayout() {
  const std::string visit = "&Visit " + std::string(SiteHost);
  return {
      {"&File",
       {{kCmdOpenSavedScreen, "&Open Saved Screen\u2026\tCtrl+O"},
        {kCmdSaveScreen, "&Save Screen\u2026\tCtrl+S"},
        {0, {}},
        {kCmdExportResults, "Export &Results\u2026\tCtrl+E"},
        {kCmdPrintResults, "&Print Results\u2026\tCtrl+P"},
        {0, {}},
        {kCmdImportScreens, "&Import Screens\u2026"},
        {kCmdExportScreens, "&Export Screens\u2026"},
        {0, {}},
        {kCmdExit, "E&xit\tAlt+F4"}}},
      {"&View",
       {{kCmdStocks, "&Stocks\tCtrl+1"},
        {kCmdEtfs, "&ETFs\tCtrl+2"},
        {0, {}},
        {kCmdBack, "&Back\tAlt+Left"},
        {kCmdForward, "&Forward\tAlt+Right"},
        {kCmdRefresh, "&Refresh\tF5"},
        {0, {}},
        {kCmdZoomIn, "Zoom &In\tCtrl+Plus"},
        {kCmdZoomOut, "Zoom &Out\tCtrl+Minus"},
        {kCmdActualSize, "&Actual Size\tCtrl+0"}}},
      {"&Screener",
       {{kCmdPresets, "&Presets\tF4"},
        {kCmdResetFilters, "&Reset Filters"},
        {0, {}},
        {kCmdOpenInBrowser, "Open in &Browser\tCtrl+B"}}},
      {"&Tools", {{kCmdSettings, "&Settings\u2026"}}},
      {"&Help",
       {{kCmdHelpGuide, "How to &Use the Screener\tF1"},
        {kCmdVisitSite, visit},
        {0, {}},
        {kCmdGraphwick, "&Graphwick Stock Charts"},
        {kCmdPellmoor, "&Pellmoor"},
        {0, {}},
        {kCmdAbout, "&About Velquist\u2026"}}},
  };
}

bool IsCommandEnabled(int id, const CommandContext& context) {
  switch (id) {
    case kCmdSaveScreen:
    case kCmdResetFilters:
    case kCmdOpenInBrowser:
    case kCmdExportResults:
    case kCmdPrintResults:
      return context.hasCurrentUrl;
    case kCmdBack:
      return context.canGoBack;
    case kCmdForward:
      return context.canGoForward;
    case kCmdExportScreens:
      return context.hasSavedScreens;
    default:
      return true;
  }
}

bool IsCommandChecked(int id, const CommandContext& context) {
  if (id == kCmdStocks) return context.activeTab == 0;
  if (id == kCmdEtfs) return context.activeTab == 1;
  return false;
}

}  // namespace velquist
