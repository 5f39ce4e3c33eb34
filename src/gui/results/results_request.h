// The frame's results request, shared by Export and Print: the results script run in the
// active tab's page, its answer taken on the window's own event queue (never inside the
// engine's callback), the messages when the answer holds no rows to use, and the hand-over
// of the rows to the command that asked.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "results/result_set.h"
#include "results/results_reply.h"

class QWidget;

namespace velquist {

class CWebHost;

// What a request needs of its window.
struct ResultsRequestOwner {
  QWidget* window = nullptr;  // owns the message boxes
  std::function<CWebHost&()> activeHost;
  std::function<void(const QString&)> showStatus;
  std::function<void()> restoreStatus;  // the window's normal status text again
};

using ResultsHandler = std::function<void(const ResultSet&)>;

class CResultsRequest : public QObject {
  Q_OBJECT
 public:
  CResultsRequest(ResultsRequestOwner owner, QObject* parent);

  // The command that receives the rows of a request of kind.
  void SetHandler(ResultsRequest kind, ResultsHandler handler);
  // Asks the active page for its results, unless a request is pending already.
  void Request(ResultsRequest kind);
  ResultsRequest Pending() const { return m_pending; }

 signals:
  // A reply has been handled to its end (message shown, rows handed on, or dropped).
  void replyHandled();

 protected:
  void customEvent(QEvent* event) override;

 private:
  void OnReply(bool runFailed, const std::string& text);

  ResultsRequestOwner m_owner;
  ResultsRequest m_pending = ResultsRequest::None;
  ResultsHandler m_exportHandler;
  ResultsHandler m_printHandler;
};

}  // namespace velquist
