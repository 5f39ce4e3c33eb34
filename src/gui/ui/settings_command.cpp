#include "gui/ui/settings_command.h"

#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/settings_dialog.h"

namespace velquist {

void RunSettingsCommand(CMainFrame& frame, CScreenerApp& app) {
  AppOptions& options = app.Options();
  CSettingsDlg dialog(
      {options.ShowSplash, options.RestoreLast, options.Zoom, static_cast<int>(options.ColorMode)},
      frame.IsDark(), &frame);
  if (dialog.exec() != QDialog::Accepted) return;
  const SettingsValues& chosen = dialog.Values();
  options.ShowSplash = chosen.showSplash;
  options.RestoreLast = chosen.restoreLast;
  options.ColorMode = static_cast<ColorMode>(chosen.colorMode);
  frame.SetZoom(chosen.zoom);
  frame.ColorModeChanged();
  app.SaveAppState(&frame);
}

}  // namespace velquist
