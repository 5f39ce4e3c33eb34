#include "gui/app/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <atomic>
#include <thread>

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

  void busyInstanceRaisesItsWindowOnce() {
    // The running instance's event loop is held up for longer than one wait for an answer:
    // it must still raise its window once, not once for every time it was asked.
    const QString name = UniqueName("busy");
    int raises = 0;
    SingleInstance first(name, [&raises] { return ++raises > 0; });
    QVERIFY(first.Claim());
    std::atomic<int> secondClaimed = -1;
    std::thread secondStart([&] {
      SingleInstance second(name, [] { return true; });
      secondClaimed = second.Claim() ? 1 : 0;
    });
    QThread::msleep(1200);  // the busy event loop, not a wait for a result
    QTRY_VERIFY_WITH_TIMEOUT(secondClaimed >= 0, 10000);
    secondStart.join();
    QCOMPARE(secondClaimed.load(), 0);
    // A request of our own: once it is answered, everything sent before it has been read.
    std::atomic<bool> answered = false;
    std::thread probe([&] {
      QLocalSocket socket;
      socket.connectToServer(name);
      if (!socket.waitForConnected(5000)) return;
      socket.write("raise\n");
      while (!socket.canReadLine() && socket.waitForReadyRead(5000)) {
      }
      answered = socket.canReadLine();
    });
    QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
    probe.join();
    QCOMPARE(raises, 2);
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
