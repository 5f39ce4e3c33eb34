#include "gui/app/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

#include "support/gui_test_main.h"

using namespace velquist;

namespace {

QString UniqueName(const char* what) {
  return QStringLiteral("VelquistTest.%1.%2")
      .arg(QLatin1String(what))
      .arg(QCoreApplication::applicationPid());
}

QString LockPathOf(const QString& name) {
  return QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void firstClaimHoldsTheLock() {
    const QString name = UniqueName("first");
    SingleInstance first(name, [] { return true; });
    QVERIFY(first.Claim());
    QLockFile probe(LockPathOf(name));
    QVERIFY(!probe.tryLock(0));
  }

  void startWhileTheFirstHasNoSocketYetIsRefused() {
    // The first program holds the lock but is not listening yet: the second must not take
    // the name over, however long it waits.
    const QString name = UniqueName("early");
    QLockFile held(LockPathOf(name));
    QVERIFY(held.tryLock(0));
    SingleInstance second(name, [] { return true; });
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!second.Claim());
    // It kept asking for about two seconds before giving up.
    QVERIFY(timer.elapsed() >= 1500);
    QLocalServer probe;
    QVERIFY(probe.listen(name));
  }

  void leftoverSocketOfADeadProgramIsTakenOver() {
    const QString name = UniqueName("leftover");
    // A socket file nobody listens on, as a program that died leaves it.
    {
      QLocalServer dead;
      QVERIFY(dead.listen(name));
      const QString path = dead.fullServerName();
      dead.close();
      QFile stale(path);
      QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    SingleInstance first(name, [] { return true; });
    QVERIFY(first.Claim());
    QLockFile probe(LockPathOf(name));
    QVERIFY(!probe.tryLock(0));
  }

  void lockLeftByADeadProgramIsTakenOver() {
    const QString name = UniqueName("deadlock");
    // The lock file of a program that crashed: its process is gone, the file stays.
    {
      QProcess dead;
      dead.start(QStringLiteral("true"));
      QVERIFY(dead.waitForStarted());
      const qint64 pid = dead.processId();
      QVERIFY(pid > 0);
      QVERIFY(dead.waitForFinished());
      QFile file(LockPathOf(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray::number(pid) + "\nvelquist\n" + QSysInfo::machineHostName().toUtf8() +
                 "\n");
    }
    SingleInstance next(name, [] { return true; });
    QElapsedTimer timer;
    timer.start();
    QVERIFY(next.Claim());
    QVERIFY(timer.elapsed() < 1000);  // taken at once, not after asking for two seconds
  }

  void lockIsFreedWithTheInstance() {
    const QString name = UniqueName("freed");
    {
      SingleInstance first(name, [] { return true; });
      QVERIFY(first.Claim());
    }
    SingleInstance next(name, [] { return true; });
    QVERIFY(next.Claim());
  }
};

VELQUIST_GUI_TEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
