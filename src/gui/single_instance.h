// One running program per user: the first instance listens on a local socket; a later one
// asks it to bring its window to the front and then ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace velquist {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // raise is called in the first instance when another start asks for its window; it
  // returns false while there is no window yet.
  SingleInstance(QString name, std::function<bool()> raise, QObject* parent = nullptr);

  // True when this process is the first instance (and now listens). False when another
  // instance answers; before returning, it is asked for about two seconds to raise its
  // window until it has one.
  bool Claim();

  // The per-user socket name used by the program.
  static QString DefaultName();

 private:
  bool AskRunningInstance();
  void OnConnection();

  QString m_name;
  std::function<bool()> m_raise;
  QLocalServer* m_server = nullptr;
};

}  // namespace velquist
