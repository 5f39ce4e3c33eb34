// Velquist: the stock and ETF screeners of one site in a window of their own.
#include <QApplication>

#include "screener_app.h"

int main(int argc, char* argv[]) {
  // Qt WebEngine shares its OpenGL context with the widgets; this must precede the
  // application object.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velquist"));
  QApplication::setOrganizationName(QStringLiteral("Orvane Software"));
  QApplication::setDesktopFileName(QStringLiteral("OrvaneSoftware.Velquist.1"));

  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  velquist::CScreenerApp app(arguments);
  if (!app.InitInstance()) return 0;
  return QApplication::exec();
}
