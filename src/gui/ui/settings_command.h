// The Settings command: the dialog with the current options; after OK the zoom and the
// colour mode apply at once, the start-up options at the next start, and all are saved.
#pragma once

namespace velquist {

class CMainFrame;
class CScreenerApp;

void RunSettingsCommand(CMainFrame& frame, CScreenerApp& app);

}  // namespace velquist
