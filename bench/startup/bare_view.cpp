// The yardstick of the start-up benchmark: the least a program needs to show a page in
// Qt WebEngine. Usage: bare_view <url> [<profile folder>] [--webEngineArgs switches...]
// With a profile folder the page runs on a profile stored there, as Velquist's does;
// without one on Qt's default profile, which keeps nothing on disk.
#include <QApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <algorithm>

int main(int argc, char* argv[]) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
  if (argc > 2 && argv[2][0] != '-') {
    profile = new QWebEngineProfile(QStringLiteral("bench"), &application);
    profile->setPersistentStoragePath(QString::fromLocal8Bit(argv[2]));
    profile->setCachePath(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/Cache"));
  }
  QWebEngineView view;
  auto* page = new QWebEnginePage(profile, &view);
  view.setPage(page);
  // The size Velquist's window takes at its first start, so that both draw as much.
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  view.resize(std::min(1360, work.width() * 85 / 100), std::min(900, work.height() * 85 / 100));
  view.load(QUrl(QString::fromLocal8Bit(argv[1])));
  view.show();
  return QApplication::exec();
}
