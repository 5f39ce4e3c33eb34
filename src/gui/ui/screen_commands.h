// The saved-screens commands of the main window: Save Screen, Open Saved Screen (and
// Manage Saved Screens, the same), Import Screens and Export Screens.
#pragma once

#include <QObject>

class QWidget;

namespace velquist {

class CMainFrame;
class CScreenerApp;

class CScreenCommands : public QObject {
  Q_OBJECT
 public:
  // Gives the frame its handlers for the four commands.
  CScreenCommands(CMainFrame& frame, CScreenerApp& app);

  // Stores the active tab's screen under a name the user gives.
  void SaveScreen();
  // The saved-screens dialog; Open shows the chosen screen in its tab.
  void OpenSavedScreen();
  // Adds the screens of a file the user picks; the count added, or -1 when cancelled or
  // the file holds no screens.
  int Import(QWidget* owner);
  // Writes every saved screen to a file the user picks.
  void Export(QWidget* owner);

 private:
  void Save(QWidget* owner);

  CMainFrame& m_frame;
  CScreenerApp& m_app;
};

}  // namespace velquist
