// One running program per user: the first instance holds a lock file and listens on a
// local socket; a later one asks it to bring its window to the front and then ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace velquist {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // raise is called in the first instance when another start asks for its window; it
  // returns false while there is no window yet.
  SingleInstance(QString name, std::function<bool()> raise, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is the first instance (it then holds the per-user lock and
  // listens). False when another instance holds the lock; before returning, that one is
  // asked for about two seconds to raise its window until it has one.
  bool Claim();

  // The per-user socket name used by the program.
  static QString DefaultName();

 private:
  QString LockPath() const;
  void AskRunningInstance();
  void OnConnection();

  QString m_name;
  std::function<bool()> m_raise;
  std::unique_ptr<QLockFile> m_lock;
  QLocalServer* m_server = nullptr;
};

}  // namespace velquist
