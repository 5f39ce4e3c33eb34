// The yardstick of the start-up benchmark: the least a program needs to show a page in
// Qt WebEngine. Usage: bare_view <url> [--webEngineArgs switches...]
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  QWebEngineView view;
  view.resize(1360, 900);
  view.load(QUrl(QString::fromLocal8Bit(argv[1])));
  view.show();
  return QApplication::exec();
}
