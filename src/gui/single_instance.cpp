#include "single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace velquist {
namespace {

constexpr int kConnectMs = 500;
constexpr int kAttempts = 20;
constexpr int kRetryMs = 100;
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
const QByteArray kNoWindow = "nowindow\n";

}  // namespace

SingleInstance::SingleInstance(QString name, std::function<bool()> raise, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_raise(std::move(raise)) {}

QString SingleInstance::DefaultName() {
  return QStringLiteral("OrvaneVelquist.SingleInstance.%1").arg(getuid());
}

bool SingleInstance::Claim() {
  if (AskRunningInstance()) return false;
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(m_name)) {
    // No instance answered, so the socket is left over from a program that died.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) return true;  // run unguarded rather than not at all
  }
  connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
  return true;
}

// True when another instance is running; it has then been asked to raise its window.
bool SingleInstance::AskRunningInstance() {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs)) return attempt > 0;
    socket.write(kRaise);
    socket.waitForBytesWritten(kConnectMs);
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kConnectMs)) {
      answer += socket.readAll();
    }
    if (answer == kRaised || answer.isEmpty()) return true;
    // The instance exists but has no window yet: ask again shortly.
    QThread::msleep(kRetryMs);
  }
  return true;
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
