// Velquist: the stock and ETF screeners of one site in a window of their own.
#include <QApplication>

#include "gui/app/gl_driver.h"
#include "gui/app/program_command_line.h"
#include "gui/app/screener_app.h"
#include "gui/print/report_scheme.h"
#include "web/engine_switches.h"

int main(int argc, char* argv[]) {
  // Qt WebEngine shares its OpenGL context with the widgets; this must precede the
  // application object.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  velquist::RegisterReportScheme();
  // Kept for the whole run: the start-up adds the pages' colour scheme to the browser
  // engine's switches once it has loaded the options. The engine always runs confined to
  // the site.
  velquist::ProgramCommandLine commandLine(
      velquist::WithConfinedEngine(std::vector<std::string>(argv, argv + argc)));
  QApplication application(commandLine.Argc(), commandLine.Argv());
  velquist::KeepGlDriverLoaded();
  QApplication::setApplicationName(QStringLiteral("Velquist"));
  QApplication::setOrganizationName(QStringLiteral("Orvane Software"));
  // The desktop entry's name (the Wayland application id); on X11 the window class is
  // the application name, "Velquist", the entry's StartupWMClass.
  QApplication::setDesktopFileName(QStringLiteral("com.orvanesoftware.Velquist"));

  velquist::CScreenerApp app(commandLine.UserWords(), &commandLine);
  if (!app.InitInstance()) return 0;
  return QApplication::exec();
}
