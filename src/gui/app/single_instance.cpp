#include "gui/app/single_instance.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <algorithm>

namespace velquist {
namespace {

constexpr int kConnectMs = 500;
constexpr int kAttempts = 20;
constexpr int kRetryMs = 100;
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
const QByteArray kNoWindow = "nowindow\n";

int RemainingMs(const QDeadlineTimer& deadline) {
  return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1));
}

}  // namespace

SingleInstance::SingleInstance(QString name, std::function<bool()> raise, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_raise(std::move(raise)) {}

QString SingleInstance::DefaultName() {
  return QStringLiteral("OrvaneVelquist.SingleInstance.%1").arg(getuid());
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::LockPath() const {
  return QDir::tempPath() + QLatin1Char('/') + m_name + QStringLiteral(".lock");
}

bool SingleInstance::Claim() {
  // The lock, not the socket, decides who runs: two programs started together can both
  // find no one listening, but only one of them gets the lock. A lock left by a program
  // that died is taken over, since its process no longer exists.
  m_lock = std::make_unique<QLockFile>(LockPath());
  m_lock->setStaleLockTime(0);
  if (!m_lock->tryLock(0)) {
    if (m_lock->error() == QLockFile::LockFailedError) {
      AskRunningInstance();
      return false;
    }
    m_lock.reset();  // the lock cannot be made here: run unguarded rather than not at all
  }
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  // Whoever holds the lock owns the name; a socket still there was left by a program that
  // died.
  if (m_lock) QLocalServer::removeServer(m_name);
  if (!m_server->listen(m_name)) {
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) return true;
  }
  connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
  return true;
}

// Asks the running instance to raise its window, for about two seconds while it has no
// window or is not listening yet. Each request waits for its answer for the rest of that
// time: an instance too busy to answer at once still reads every request it was sent, and
// asking it again would raise its window twice.
void SingleInstance::AskRunningInstance() {
  const QDeadlineTimer deadline(kAttempts * kRetryMs);
  for (int attempt = 0; attempt < kAttempts && !deadline.hasExpired(); ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (socket.waitForConnected(kConnectMs)) {
      socket.write(kRaise);
      socket.waitForBytesWritten(kConnectMs);
      QByteArray answer;
      while (!answer.endsWith('\n') && socket.waitForReadyRead(RemainingMs(deadline))) {
        answer += socket.readAll();
      }
      if (answer != kNoWindow) return;
    }
    QThread::msleep(kRetryMs);
  }
}

void SingleInstance::OnConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() != kRaise) return;
      socket->write(m_raise() ? kRaised : kNoWindow);
      socket->flush();
    });
  }
}

}  // namespace velquist
