// Velquist: the stock and ETF screeners of one site in a window of their own.
#include <QApplication>
#include <string>
#include <vector>

#include "gui/app/screener_app.h"
#include "gui/print/report_scheme.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/portal_scheme_probe.h"
#include "web/engine_switches.h"

int main(int argc, char* argv[]) {
  // Qt WebEngine shares its OpenGL context with the widgets; this must precede the
  // application object.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  velquist::RegisterReportScheme();
  // The pages' preferred colour scheme reaches the browser engine only as a switch at
  // its start; in the System mode it is the desktop's preference, asked of the settings
  // portal here because Qt's own D-Bus connection needs the application object.
  const int colorMode = velquist::StoredColorMode();
  const velquist::DesktopScheme desktop =
      velquist::StartupDesktopScheme(colorMode, velquist::SessionBusAddress());
  std::vector<std::string> words = velquist::WithConfinedEngine(velquist::WithStartupColorScheme(
      std::vector<std::string>(argv, argv + argc), colorMode, desktop));
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  int count = static_cast<int>(pointers.size());
  pointers.push_back(nullptr);
  QApplication application(count, pointers.data());
  QApplication::setApplicationName(QStringLiteral("Velquist"));
  QApplication::setOrganizationName(QStringLiteral("Orvane Software"));
  // The desktop entry's name (the Wayland application id); on X11 the window class is
  // the application name, "Velquist", the entry's StartupWMClass.
  QApplication::setDesktopFileName(QStringLiteral("com.orvanesoftware.Velquist"));

  // The command line as given, without the switch added above; the engine's switches on it
  // are no text of the user's and do not suppress the splash.
  QStringList given;
  for (int i = 0; i < argc; ++i) given << QString::fromLocal8Bit(argv[i]);
  velquist::CScreenerApp app(velquist::ProgramArguments(given));
  if (!app.InitInstance()) return 0;
  return QApplication::exec();
}
