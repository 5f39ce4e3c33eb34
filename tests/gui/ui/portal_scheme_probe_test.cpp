// The desktop's colour preference is read from the settings portal at start-up, for the
// pages' colour scheme. These tests run a bus of their own with a stand-in portal (this
// same program started with --fake-portal) and ask it the way the program does at start;
// whole starts of the program (--page-scheme) show what the pages then prefer.
#include "gui/ui/portal_scheme_probe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "gui/app/program_command_line.h"
#include "gui/app/screener_app.h"
#include "gui/ui/main_frame.h"
#include "gui/web/web_host.h"
#include "support/gui_test_main.h"
#include "ui/chrome_color_mode.h"

using namespace velquist;

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// Answers Read for the appearance color-scheme with a number wrapped once or twice in a
// variant, or never answers at all.
class FakePortal : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
 public:
  FakePortal(uint value, int wraps, bool silent)
      : m_value(value), m_wraps(wraps), m_silent(silent) {}

 public slots:
  QDBusVariant Read(const QString& group, const QString& key) {
    if (m_silent) {
      setDelayedReply(true);
      return {};
    }
    if (group != QStringLiteral("org.freedesktop.appearance") ||
        key != QStringLiteral("color-scheme")) {
      sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such setting"));
      return {};
    }
    QVariant value = QVariant::fromValue(m_value);
    if (m_wraps == 2) value = QVariant::fromValue(QDBusVariant(value));
    return QDBusVariant(value);
  }

 private:
  uint m_value;
  int m_wraps;
  bool m_silent;
};

int RunFakePortal(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 5) return 2;
  // Arguments: --fake-portal <bus address> <value> <wraps|silent>
  QDBusConnection bus = QDBusConnection::connectToBus(args[2], QStringLiteral("fake-portal"));
  const bool silent = args[4] == QStringLiteral("silent");
  FakePortal portal(args[3].toUInt(), silent ? 1 : args[4].toInt(), silent);
  if (!bus.registerObject(kPortalPath, &portal, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(kPortalService)) {
    return 3;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

// Starts the program the way main() does, with the colour mode stored as the arguments
// say, and reports what a page of the main window prefers. The site's host is not
// resolved, so the page is the offline page; the scheme is the engine's, whatever the page.
// Arguments: --page-scheme <colour mode in the options store or -> <in screens.json or ->
int RunPageScheme(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string storeMode = argv[2];
  const std::string fileMode = argv[3];
  if (storeMode != "-") {
    const std::string path = OptionsFilePath();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    RegFileOptionStore store(path);
    AppOptions options;
    options.ColorMode = static_cast<ColorMode>(std::atoi(storeMode.c_str()));
    if (!SaveOptions(store, options)) return 5;
  }
  if (fileMode != "-") {
    const char* names[] = {"system", "light", "dark"};
    const std::string text = std::string("{\"colorMode\": \"") +
                             names[std::atoi(fileMode.c_str())] + "\", \"screens\": []}";
    if (!WriteFileAtomic(ScreensFilePath(DataFolder()), text)) return 6;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  ProgramCommandLine commandLine(argc, argv);
  commandLine.AddEngineSwitches({QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND")});
  QApplication application(commandLine.Argc(), commandLine.Argv());
  velquist::KeepGlDriverLoaded();
  CScreenerApp app(commandLine.UserWords(), &commandLine);
  app.SetInstanceName(
      QStringLiteral("velquist-page-scheme-%1").arg(QCoreApplication::applicationPid()));
  if (!app.InitInstance()) return 3;
  QWebEnginePage* page = app.MainFrame()->ActiveHost().View()->page();
  QObject::connect(page, &QWebEnginePage::loadFinished, [page](bool) {
    page->runJavaScript(QStringLiteral("matchMedia('(prefers-color-scheme: dark)').matches"),
                        [](const QVariant& dark) {
                          std::printf("%s\n", dark.toBool() ? "dark" : "light");
                          std::fflush(stdout);
                          QCoreApplication::exit(0);
                        });
  });
  return QApplication::exec();
}

}  // namespace

class PortalSchemeProbeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(m_socketDir.isValid());
    // A bus with no service files: a missing portal stays missing instead of being started.
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                              "Configuration 1.0//EN\" "
                              "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">"
                              "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                              "<policy context=\"default\"><allow send_destination=\"*\"/><allow "
                              "receive_sender=\"*\"/>"
                              "<allow own=\"*\"/></policy></busconfig>")
                   .arg(m_socketDir.path())
                   .toUtf8());
    file.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    QVERIFY(m_bus.waitForStarted(5000));
    QTRY_VERIFY2_WITH_TIMEOUT(m_bus.canReadLine(), m_bus.readAllStandardError().constData(), 5000);
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(m_address.startsWith(QStringLiteral("unix:")));
  }

  void cleanupTestCase() {
    m_bus.terminate();
    m_bus.waitForFinished(5000);
  }

  void readsThePortalsAnswer_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("wraps");
    QTest::addColumn<int>("expected");
    QTest::newRow("dark") << "1"
                          << "1" << static_cast<int>(DesktopScheme::Dark);
    QTest::newRow("light") << "2"
                           << "1" << static_cast<int>(DesktopScheme::Light);
    QTest::newRow("dark, older portal") << "1"
                                        << "2" << static_cast<int>(DesktopScheme::Dark);
    QTest::newRow("light, older portal") << "2"
                                         << "2" << static_cast<int>(DesktopScheme::Light);
    QTest::newRow("no preference") << "0"
                                   << "1" << static_cast<int>(DesktopScheme::Unknown);
    QTest::newRow("unknown value") << "7"
                                   << "1" << static_cast<int>(DesktopScheme::Unknown);
  }

  void readsThePortalsAnswer() {
    QFETCH(QString, value);
    QFETCH(QString, wraps);
    QFETCH(int, expected);
    QProcess portal;
    StartPortal(portal, value, wraps);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(static_cast<int>(ProbePortalScheme(m_address.toStdString(), 2000)), expected);
    StopPortal(portal);
  }

  void noPortalOnTheBusIsUnknown() {
    QCOMPARE(ProbePortalScheme(m_address.toStdString(), 2000), DesktopScheme::Unknown);
  }

  void aPortalThatDoesNotAnswerIsUnknownAfterTheTimeout() {
    QProcess portal;
    StartPortal(portal, QStringLiteral("1"), QStringLiteral("silent"));
    if (QTest::currentTestFailed()) return;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ProbePortalScheme(m_address.toStdString(), 300), DesktopScheme::Unknown);
    // Bounded by the timeout, not by the bus's default of many seconds.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    StopPortal(portal);
  }

  void aBusThatDoesNotAnswerIsUnknownAfterTheTimeout() {
    // The kernel accepts the connection; nothing ever answers the greeting.
    // A short folder of its own: socket paths are limited to about a hundred bytes.
    QTemporaryDir shortDir(QStringLiteral("/tmp/vq-bus-XXXXXX"));
    QVERIFY(shortDir.isValid());
    QLocalServer silentBus;
    const QString path = shortDir.filePath(QStringLiteral("bus"));
    QVERIFY2(silentBus.listen(path), qPrintable(silentBus.errorString()));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(StartupDesktopScheme(kColorModeSystem, "unix:path=" + path.toStdString()),
             DesktopScheme::Unknown);
    // The start stops waiting; the stuck question is left behind on its own thread.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
  }

  // The pages start with the scheme of the options the start-up loads: screens.json, then
  // the options store over it; System asks the desktop.
  void pagesStartWithTheLoadedOptionsScheme_data() {
    QTest::addColumn<QString>("storeMode");
    QTest::addColumn<QString>("fileMode");
    QTest::addColumn<QString>("portalValue");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("nothing stored, dark desktop") << "-" << "-" << "1" << "dark";
    QTest::newRow("nothing stored, light desktop") << "-" << "-" << "2" << "light";
    QTest::newRow("nothing stored, no portal") << "-" << "-" << "" << "light";
    QTest::newRow("system stored, dark desktop") << "0" << "-" << "1" << "dark";
    QTest::newRow("light stored, dark desktop") << "1" << "-" << "1" << "light";
    QTest::newRow("dark stored, light desktop") << "2" << "-" << "2" << "dark";
    QTest::newRow("dark in screens.json only") << "-" << "2" << "2" << "dark";
    QTest::newRow("store overrides screens.json") << "1" << "2" << "1" << "light";
    // clang-format on
  }

  void pagesStartWithTheLoadedOptionsScheme() {
    QFETCH(QString, storeMode);
    QFETCH(QString, fileMode);
    QFETCH(QString, portalValue);
    QFETCH(QString, expected);
    QProcess portal;
    if (!portalValue.isEmpty()) {
      StartPortal(portal, portalValue, QStringLiteral("2"));
      if (QTest::currentTestFailed()) return;
    }
    // A start of its own: its own settings, data and cache folders, this test's bus.
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
      environment.insert(QString::fromLatin1(name), home.filePath(QString::fromLatin1(name)));
    }
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--page-scheme"), storeMode, fileMode});
    QVERIFY(program.waitForStarted(5000));
    QVERIFY(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(program.exitCode() == 0, qPrintable(err));
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()).trimmed(), expected);
    if (!portalValue.isEmpty()) StopPortal(portal);
  }

  void noBusIsUnknown() {
    QCOMPARE(ProbePortalScheme(std::string(), 500), DesktopScheme::Unknown);
    const QString missing = m_dir.filePath(QStringLiteral("no-such-socket"));
    QCOMPARE(ProbePortalScheme("unix:path=" + missing.toStdString(), 500), DesktopScheme::Unknown);
    QCOMPARE(ProbePortalScheme("not an address", 500), DesktopScheme::Unknown);
  }

  void sessionBusAddressComesFromTheEnvironmentOnly() {
    const QByteArray savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    QCOMPARE(QString::fromStdString(SessionBusAddress()), m_address);
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    // A runtime folder without a bus socket gives no address; nothing is launched.
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
    QCOMPARE(SessionBusAddress(), std::string());
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(SessionBusAddress(), std::string());
    qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
  }

 private:
  void StartPortal(QProcess& portal, const QString& value, const QString& wraps) {
    portal.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--fake-portal"), m_address, value, wraps});
    QVERIFY(portal.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(portal.canReadLine(), 10000);
    QCOMPARE(portal.readLine().trimmed(), QByteArray("ready"));
  }

  static void StopPortal(QProcess& portal) {
    portal.terminate();
    portal.waitForFinished(5000);
  }

  QTemporaryDir m_dir;
  // Socket paths are limited to about a hundred bytes; the test's own folder may be deeper.
  QTemporaryDir m_socketDir{QStringLiteral("/tmp/velquist-bus-XXXXXX")};
  QProcess m_bus;
  QString m_address;
};

int main(int argc, char** argv) {
  if (argc > 1 && qstrcmp(argv[1], "--fake-portal") == 0) return RunFakePortal(argc, argv);
  if (argc > 1 && qstrcmp(argv[1], "--page-scheme") == 0) return RunPageScheme(argc, argv);
  return velquist::test::RunGuiTest<PortalSchemeProbeTest>(argc, argv, QStringList());
}

#include "portal_scheme_probe_test.moc"
