// The application object: decides whether this process may run, loads the saved screens
// and the options, and opens the main window. It owns the options and the saved screens
// for the whole run.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "app/app_state.h"

class QWidget;

namespace velquist {

class CMainFrame;
class OptionStore;
class ProgramCommandLine;
class SingleInstance;

class CScreenerApp : public QObject {
  Q_OBJECT
 public:
  // arguments: the user's command-line words (none of the browser engine's switches).
  // commandLine, when given, is the one the application object was made with: the
  // pages' colour scheme is added to its engine switches once the options are loaded.
  explicit CScreenerApp(QStringList arguments, ProgramCommandLine* commandLine = nullptr,
                        QObject* parent = nullptr);
  ~CScreenerApp() override;

  // Start-up; false means the process should end now (another instance runs, or the
  // browser engine is missing).
  bool InitInstance();

  AppOptions& Options() { return m_state.options; }
  const AppOptions& Options() const { return m_state.options; }
  ScreenStore& Screens() { return m_state.screens; }
  const ScreenStore& Screens() const { return m_state.screens; }
  CMainFrame* MainFrame() const { return m_frame.get(); }
  bool ShowSplashAtStart() const { return m_showSplashAtStart; }

  // Reads screens.json and then the stored options; a screens file that does not parse is
  // set aside and the user is told.
  void LoadAppState();
  // Writes the options and the screens file; tells the user what failed. True when the
  // screens file was written.
  bool SaveAppState(QWidget* parent);

  // The socket name of the single-instance guard; tests give each run its own.
  void SetInstanceName(QString name) { m_instanceName = std::move(name); }

 signals:
  // Another start of the program asked for the main window, which came to the front.
  void mainWindowRaised();

 private:
  bool WebEngineInstalled() const;
  void GivePagesTheirColorScheme();
  bool RaiseMainWindow();

  QStringList m_arguments;
  ProgramCommandLine* m_commandLine;
  QString m_instanceName;
  AppState m_state;
  std::unique_ptr<OptionStore> m_optionStore;
  bool m_showSplashAtStart = false;
  SingleInstance* m_instance = nullptr;
  std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace velquist
